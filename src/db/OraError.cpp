#include "OraError.h"

namespace db {

OraError::OraError(int code, const QString& message)
    : std::runtime_error(message.toStdString()), mCode(code), mMessage(message), mWhat(message.toStdString())
{
}

void OraError::setMessage(const QString& message)
{
    mMessage = message;
    mWhat = message.toStdString();
}

QString OraError::formatMessage(int code, const QString& text)
{
    if (text.startsWith(QLatin1String("ORA-")))
        return text;
    return QStringLiteral("ORA-%1: %2").arg(code, 5, 10, QLatin1Char('0')).arg(text);
}

} // namespace db

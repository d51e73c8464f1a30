#include "ErrorText.h"

#include "OraError.h"

QString ErrorText(const std::exception& error)
{
    if (const auto* ora = dynamic_cast<const db::OraError*>(&error))
        return ora->message();
    return QString::fromUtf8(error.what());
}

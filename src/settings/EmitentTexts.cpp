#include "EmitentTexts.h"

#include "FormEnvironment.h"

namespace emitenttext {

namespace {

bool russianInterface()
{
    const int id = framework::currentLanguageId();
    // Windows primary language ids: 25 Russian, 34 Ukrainian, 35 Belarusian; 0 when unset.
    return id == 25 || id == 34 || id == 35 || id == 0;
}

} // namespace

QString text(const char* russian, const char* english)
{
    return QString::fromUtf8(russianInterface() ? russian : english);
}

QString tooLong(const QString& what, int maxLength)
{
    QString name = what.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return text("%1: не более %2 символов.", "%1: at most %2 characters.").arg(name).arg(maxLength);
}

QString badAddress(const QString& address)
{
    return text("«%1» не является адресом эл. почты.", "\"%1\" is not an e-mail address.").arg(address);
}

QString badVat()
{
    return text("НДС должен быть числом от 0 до 100, не более двух знаков после запятой.",
                "VAT must be a number from 0 to 100 with at most two decimals.");
}

QString writeFailed(const QString& error)
{
    return text("Изменения не сохранены: %1", "The changes were not saved: %1").arg(error);
}

} // namespace emitenttext

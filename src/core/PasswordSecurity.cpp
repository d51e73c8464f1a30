#include "PasswordSecurity.h"

#include "Catalogue.h"

namespace PasswordSecurity {

QString MessageForCode(const QString& code)
{
    struct Row
    {
        const char* code;
        const char16_t* key;
    };
    static const Row rows[] = {
        {"1", u"vrstrPasswordToSmall"},  {"2", u"vrstrCharsMandatory"},   {"3", u"vrstrCapitalsMandatory"},
        {"4", u"vrstrNumbersMandatory"}, {"5", u"vrstrSymbolsMandatory"},
    };
    if (code == QLatin1String("0"))
        return {};
    for (const Row& r : rows)
        if (code == QLatin1String(r.code))
            return lang::tr(r.key);
    return lang::tr(u"vrstrNotAlowedSymbols") + QStringLiteral(": ") + code;
}

bool CheckEnabled(const QString& advPassSecur)
{
    return advPassSecur == QLatin1String("1");
}

} // namespace PasswordSecurity

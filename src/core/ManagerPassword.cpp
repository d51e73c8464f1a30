#include "ManagerPassword.h"

#include "Catalogue.h"
#include "Cp1251.h"

namespace ManagerPassword {

Problem Check(const QString& password)
{
    if (password.isEmpty())
        return Problem::Empty;
    // A NUL is in the code page but no database text can hold it.
    for (QChar c : password)
        if (c.unicode() == 0 || !lang::isCp1251(c.unicode()))
            return Problem::NotSingleByte;
    return Problem::None;
}

QString ProblemText(Problem problem)
{
    switch (problem) {
    case Problem::Empty:
        return lang::tr(u"vrstrPasswordCannotBeEmpty");
    case Problem::NotSingleByte:
        return lang::tr(u"vrstrNotAlowedSymbols");
    case Problem::None:
        break;
    }
    return {};
}

} // namespace ManagerPassword

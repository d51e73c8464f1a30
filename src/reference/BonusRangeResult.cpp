#include "BonusRangeResult.h"

#include "Catalogue.h"

QString BonusRangeResultMessage(int resultCode)
{
    switch (resultCode) {
    case 1:
        return lang::tr(u"rstrWrongRange");
    case 2:
        return lang::tr(u"rstrRangeCrossing");
    case 3:
        return lang::tr(u"rstrError");
    default:
        return {};
    }
}

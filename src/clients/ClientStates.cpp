#include "ClientStates.h"

#include "Catalogue.h"

QStringList ClientStateTexts()
{
    return {lang::tr(u"rstrCreated"), lang::tr(u"rstrInvited"), lang::tr(u"rstrNotSubsc"),
            lang::tr(u"rstrSubscribe"), lang::tr(u"rstrBlocked")};
}

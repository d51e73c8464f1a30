#include "ClientPermissions.h"

#include "Catalogue.h"

namespace ClientPermissions {

const Row& row(Permission p)
{
    static const Row rows[Count] = {
        {"chkDRRequest", u"rstrAllowCreateDR", nullptr, "ALLOW_CREATE_DR", "CAN_DR_ON_WEB"},
        {"chkDDRequest", u"vrstrDDRequest", nullptr, "ALLOW_CREATE_DD", "CAN_DD_ON_WEB"},
        {"chkOILRequest", u"rstrAllowCreateOIL", nullptr, "ALLOW_CREATE_OIL", "CAN_OIL_ON_WEB"},
        {"chkChOnlParamsRequest", u"vrstrAllowChOnlParams", nullptr, "ALLOW_CH_ONL_PARAMS",
         "CAN_CH_ONL_PARAMS"},
        {"chkAllowChangeHolder", u"vrstrChangeHolderEnabled", nullptr, "ALLOW_CHANGE_HOLDER",
         "CAN_CHANGE_HOLDER"},
        {"chkAllowLostCard", u"vrstrLostCardEnabled", nullptr, "ALLOW_LOST_CARD", "CAN_LOST_CARD"},
        {"chkAllowUnblockCard", u"vrstrAllowUnblockCard", nullptr, "ALLOW_UNBLOCK_CARD",
         "ALLOW_UNBLOCK_CARD"},
        {"chkAllowUseAPI", u"vrstrAllowUseAPI", nullptr, "ALLOW_USE_API", "ALLOW_API"},
        // A fixed caption that the catalogue holds word for word: from there, to follow the language.
        {"chkAllowSMS", u"vrstrAllowSMS", nullptr, "ALLOW_SUBSCRIBE_ON_SMS", nullptr},
        {"chkUpdateEmail", u"vrstrUpdateEmail", nullptr, "WBC_UPDATE_EMAIL", nullptr},
        {"chbTestClient", u"rstrTestClient", nullptr, "TEST_CLIENT", nullptr},
    };
    return rows[p];
}

QString caption(Permission p)
{
    const Row& r = row(p);
    return r.caption ? lang::tr(r.caption) : QString::fromUtf8(r.fixedCaption);
}

bool visibleFor(Permission p, bool lnr, bool bonus)
{
    switch (p) {
    case CreateDR:
        return !lnr;
    case CreateDD:
    case ChOnlParams:
    case CreateOIL:
    case ChangeHolder:
    case SubscribeSMS:
        return !lnr && !bonus;
    default:
        return true;
    }
}

QString descriptionParam(const QString& text)
{
    if (text.isEmpty())
        return {};
    QString out;
    for (const QString& line : text.split(QLatin1Char('\n')))
        out += line + QStringLiteral("\r\n");
    return out;
}

int storedLength(const QString& param)
{
    int end = int(param.size());
    while (end > 0 && (param.at(end - 1) == QLatin1Char('\r') || param.at(end - 1) == QLatin1Char('\n')))
        --end;
    return end;
}

bool hasAnyChoice(const GroupChoice& choice)
{
    if (choice.stateOn || choice.descriptionOn)
        return true;
    for (Box b : choice.boxes)
        if (b != Box::Grey)
            return true;
    return false;
}

QVariantList groupParams(const GroupChoice& choice, const Settings& settings, const GroupClient& client)
{
    const bool restricted = client.lnr || client.bonus;
    auto flag = [&](Permission p, bool allowed) -> QVariant {
        const Box b = choice.boxes[p];
        if (b == Box::Grey || !allowed)
            return QVariant();
        return b == Box::Ticked ? 1 : 0;
    };
    const bool on[Count] = {
        settings.enabled[CreateDR] && !client.lnr,
        settings.enabled[CreateDD] && !restricted,
        settings.enabled[CreateOIL] && !restricted,
        settings.enabled[ChOnlParams] && !restricted,
        settings.enabled[ChangeHolder] && !restricted,
        settings.enabled[LostCard],
        settings.enabled[UnblockCard],
        settings.enabled[UseAPI],
        true,
        !client.email.trimmed().isEmpty(),
        true,
    };
    QVariant description;
    if (choice.descriptionOn)
        description = choice.description.isEmpty() ? QStringLiteral("EmptyString")
                                                   : descriptionParam(choice.description);
    return {client.id,
            choice.stateOn ? QVariant(choice.statePosition + 1) : QVariant(),
            description,
            flag(CreateDR, on[CreateDR]),
            flag(CreateOIL, on[CreateOIL]),
            flag(UpdateEmail, on[UpdateEmail]),
            flag(CreateDD, on[CreateDD]),
            flag(ChangeHolder, on[ChangeHolder]),
            flag(LostCard, on[LostCard]),
            flag(UnblockCard, on[UnblockCard]),
            flag(ChOnlParams, on[ChOnlParams]),
            flag(TestClient, on[TestClient]),
            flag(SubscribeSMS, on[SubscribeSMS]),
            flag(UseAPI, on[UseAPI])};
}

} // namespace ClientPermissions

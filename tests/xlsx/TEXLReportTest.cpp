// The engine's workbooks are read back by openpyxl and a package check in Python
// (tests/xlsx/read_workbook.py), not by the engine's own reader.
#include "TEXLReport.h"

#include "ReportMemTable.h"
#include "XlsxText.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <functional>
#include <gtest/gtest.h>

using namespace xlsx;

namespace {

const QString kTemplate = QStringLiteral(TEV_REPORT_TEMPLATE);
const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kReader = QStringLiteral(TEV_SOURCE_DIR "/tests/xlsx/read_workbook.py");

QString runPython(const QStringList& arguments)
{
    QProcess p;
    p.start(kPython, arguments);
    p.waitForFinished(120000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The workbook as openpyxl sees it; the package check must find nothing wrong.
QJsonObject readWorkbook(const QString& path)
{
    const QJsonObject book = QJsonDocument::fromJson(runPython({kReader, path}).toUtf8()).object();
    EXPECT_EQ(book.value("package_errors").toArray(), QJsonArray()) << path.toStdString();
    return book;
}

QJsonObject cell(const QJsonObject& book, const char* ref)
{
    return book.value("cells").toObject().value(QLatin1String(ref)).toObject();
}

QStringList merges(const QJsonObject& book)
{
    QStringList out;
    for (const QJsonValue& v : book.value("merges").toArray())
        out.append(v.toString());
    return out;
}

void setCommonValues(TEXLReport& report)
{
    report.setValue("Caption", QStringLiteral("Количество посещений за период"));
    report.setValue("Period", QStringLiteral("с 01.01.2024 0:00:00 по 31.01.2024 23:59:59"));
    report.setValue("EmitentName", QStringLiteral("\"Портал\""));
    report.setValue("Executer", QStringLiteral("Исполнитель: "));
    report.setValue("DateTime", QStringLiteral("Дата/время: 01.02.2024 9:00:00"));
    for (const char* name : {"TotalByEmitent", "TotalByReport", "Emitent", "NameOfClient", "DateLastVisit",
                             "CountVisitsByClient", "CountClients", "Name", "Login", "Holder", "Active"})
        report.setValue(QLatin1String(name), QLatin1String(name));
}

// Emitent 1001 with two clients (5 and 7 visits), emitent 1002 with one (3).
void fillVisits(ReportMemTable& table)
{
    table.addColumn("EMITENT", ColumnType::Integer);
    table.addColumn("CLIENT_NAME", ColumnType::Text);
    table.addColumn("LAST_VISIT_DATE", ColumnType::DateTime);
    table.addColumn("COUNT_VISITS", ColumnType::Integer);
    table.addRow({1001, QStringLiteral("ООО Ромашка"), QDateTime(QDate(2024, 1, 5), QTime(10, 30)), 5});
    table.addRow({1001, QStringLiteral("Client B"), QDate(2024, 1, 6), 7});
    table.addRow({1002, QStringLiteral("Client C"), QDateTime(QDate(2024, 1, 7), QTime(18, 0)), 3});
}

void setVisitsBands(TEXLReport& report)
{
    // Added out of order on purpose: the report keeps them ordered by type.
    report.addBand(TEXLBandType::Summary, "A14:F18");
    report.addBand(TEXLBandType::MasterData, "A11:F11");
    report.addBand(TEXLBandType::GroupFooter, "A13:F13", "EMITENT");
    report.addBand(TEXLBandType::Title, "A1:F7");
    report.addBand(TEXLBandType::GroupHeader, "A9:F9", "EMITENT");
}

class ReportTest : public testing::Test
{
protected:
    QString output(const QString& name = QStringLiteral("report.xlsx")) const { return mDir.filePath(name); }
    QTemporaryDir mDir;
};

TEST(TEXLReportBands, KeptOrderedByTypeAndRemovedByPosition)
{
    TEXLReport report;
    setVisitsBands(report);
    report.addBand(TEXLBandType::GroupHeader, "A10:F10", "CLIENT_NAME");
    QStringList ranges;
    for (int i = 0; i < report.bandCount(); ++i)
        ranges.append(report.band(i).range);
    EXPECT_EQ(ranges, QStringList({"A1:F7", "A9:F9", "A10:F10", "A11:F11", "A13:F13", "A14:F18"}));
    EXPECT_EQ(report.band(2).groupColumn, QStringLiteral("CLIENT_NAME"));
    report.removeBand(2);
    EXPECT_EQ(report.bandCount(), 5);
    EXPECT_EQ(report.band(2).type, TEXLBandType::MasterData);
    EXPECT_THROW(report.removeBand(5), TEXLReportError);
}

TEST(TEXLReportValues, NamesIgnoreCaseAndSettingAgainReplaces)
{
    TEXLReport report;
    report.setValue("Caption", "one");
    report.setValue("CAPTION", "two");
    EXPECT_EQ(report.value("caption"), QStringLiteral("two"));
    EXPECT_TRUE(report.hasValue("Caption"));
    EXPECT_FALSE(report.hasValue("Period"));
}

// The built template and the same template after openpyxl has saved it again (shared strings
// instead of inline ones, its own XML layout) fill alike.
class GroupedVisitsTest : public ReportTest, public testing::WithParamInterface<bool>
{
};

TEST_P(GroupedVisitsTest, GroupTotalsRightAndReportTotalNotDoubled)
{
    QString templateFile = kTemplate;
    if (GetParam()) {
        templateFile = output(QStringLiteral("resaved.xlsx"));
        runPython(
            {QStringLiteral("-c"),
             QStringLiteral("import openpyxl, sys; openpyxl.load_workbook(sys.argv[1]).save(sys.argv[2])"),
             kTemplate, templateFile});
    }
    ReportMemTable table;
    fillVisits(table);
    TEXLReport report;
    report.setTemplateFile(templateFile);
    report.setSheetName("TEVCountVisit");
    report.setTable(&table);
    setCommonValues(report);
    setVisitsBands(report);
    report.build(output());
    const QJsonObject book = readWorkbook(output());

    EXPECT_EQ(book.value("sheets").toArray(), QJsonArray({"TEVCountVisit"}));
    EXPECT_EQ(cell(book, "A1").value("value").toString(), QStringLiteral("Количество посещений за период"));
    EXPECT_EQ(cell(book, "B7").value("value").toString(), QStringLiteral("NameOfClient"));
    EXPECT_EQ(book.value("print_titles").toString(), QStringLiteral("$7:$7"));

    // Rows: title 1-7, group 1001 (header 8, rows 9-10, footer 11), group 1002 (12, 13, 14), summary 15-19.
    EXPECT_EQ(cell(book, "A8").value("value").toString(), QStringLiteral("Emitent: 1001"));
    EXPECT_EQ(cell(book, "A12").value("value").toString(), QStringLiteral("Emitent: 1002"));
    const QJsonObject number = cell(book, "A9");
    EXPECT_EQ(number.value("type").toString(), QStringLiteral("n"));
    EXPECT_EQ(number.value("value").toInt(), 1001);
    EXPECT_EQ(number.value("format").toString(), QStringLiteral("0"));
    EXPECT_EQ(cell(book, "B9").value("value").toString(), QStringLiteral("ООО Ромашка"));
    const QJsonObject date = cell(book, "E9");
    EXPECT_EQ(date.value("type").toString(), QStringLiteral("d"));
    EXPECT_EQ(date.value("value").toString(), QStringLiteral("2024-01-05T10:30:00"));
    EXPECT_EQ(date.value("format").toString(), QStringLiteral("dd\\.mm\\.yyyy\\ hh:mm"));
    EXPECT_EQ(cell(book, "E10").value("value").toString(), QStringLiteral("2024-01-06T00:00:00"));
    const QJsonObject visits = cell(book, "F10");
    EXPECT_EQ(visits.value("type").toString(), QStringLiteral("n"));
    EXPECT_EQ(visits.value("value").toInt(), 7);
    EXPECT_EQ(visits.value("format").toString(), QStringLiteral("#,##0"));

    struct Total
    {
        const char* cell;
        const char* formula;
        int value;
    };
    for (const Total& t : {Total{"F11", "=SUBTOTAL(9,F9:F10)", 12}, Total{"F14", "=SUBTOTAL(9,F13:F13)", 3},
                           Total{"F15", "=SUBTOTAL(9,F9:F13)", 15}}) {
        const QJsonObject c = cell(book, t.cell);
        EXPECT_EQ(c.value("type").toString(), QStringLiteral("f")) << t.cell;
        EXPECT_EQ(c.value("value").toString(), QLatin1String(t.formula)) << t.cell;
        EXPECT_EQ(c.value("cached").toInt(), t.value) << t.cell;
        EXPECT_EQ(c.value("recomputed").toInt(), t.value) << t.cell;
        EXPECT_EQ(c.value("format").toString(), QStringLiteral("#,##0")) << t.cell;
    }
    EXPECT_EQ(cell(book, "A11").value("value").toString(), QStringLiteral("TotalByEmitent 1001"));
    EXPECT_EQ(cell(book, "A15").value("value").toString(), QStringLiteral("TotalByReport"));
    EXPECT_EQ(cell(book, "A17").value("value").toString(), QStringLiteral("Исполнитель: "));

    const QStringList m = merges(book);
    for (const char* expected : {"A1:F1", "B7:D7", "A8:F8", "B9:D9", "B10:D10", "A11:E11", "A12:F12",
                                 "B13:D13", "A14:E14", "A15:E15", "A17:F17"})
        EXPECT_TRUE(m.contains(QLatin1String(expected))) << expected;
    EXPECT_EQ(m.size(), 14);
    EXPECT_EQ(book.value("widths").toObject().value("B").toDouble(), 18);
}

INSTANTIATE_TEST_SUITE_P(Templates, GroupedVisitsTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "ResavedByOpenpyxl" : "AsBuilt";
                         });

TEST_F(ReportTest, TextsComeBackAsTheyWere)
{
    struct Case
    {
        const char* name;
        QString text;
    };
    const std::vector<Case> cases = {
        {"Markup", QStringLiteral("A & B <c> \"d\" 'e'")},
        {"ControlCharacters", QStringLiteral("a\x01"
                                             "b\x0b"
                                             "c\x1f"
                                             "d")},
        {"LiteralEscape", QStringLiteral("_x0041_")},
        {"LeadingBlanks", QStringLiteral("   three blanks, trailing one ")},
        {"LinesAndTabs", QStringLiteral("one\ntwo\tthree")},
        {"Cyrillic", QStringLiteral("Ёлка и «кавычки»")},
        {"OutsideTheBasicPlane", QString::fromUtf8("smile \xF0\x9F\x98\x80")},
        {"LongestCellText", QString(kMaxCellText, QLatin1Char('x'))},
    };
    ReportMemTable table;
    table.addColumn("EMITENT", ColumnType::Text);
    table.addColumn("CLIENTS_COUNT", ColumnType::Integer);
    for (const Case& c : cases)
        table.addRow({c.text, 1});
    TEXLReport report;
    report.setTemplateFile(kTemplate);
    report.setSheetName("TEVCountVisitByEmitent");
    report.setTable(&table);
    setCommonValues(report);
    report.addBand(TEXLBandType::Title, "A1:D7");
    report.addBand(TEXLBandType::MasterData, "A9:D9");
    report.addBand(TEXLBandType::Summary, "A11:D15");
    report.build(output());
    const QJsonObject book = readWorkbook(output());
    for (size_t i = 0; i < cases.size(); ++i) {
        const QByteArray ref = "A" + QByteArray::number(8 + int(i));
        const QJsonObject c = cell(book, ref.constData());
        EXPECT_EQ(c.value("type").toString(), QStringLiteral("s")) << cases[i].name;
        EXPECT_EQ(c.value("text").toString(), cases[i].text) << cases[i].name;
    }
    const QJsonObject total = cell(book, "D16");
    EXPECT_EQ(total.value("value").toString(), QStringLiteral("=SUBTOTAL(9,D8:D15)"));
    EXPECT_EQ(total.value("cached").toInt(), int(cases.size()));
}

TEST_F(ReportTest, NoRowsGiveTitleAndSummaryWithZeroTotals)
{
    ReportMemTable table;
    fillVisits(table);
    table.clearRows();
    TEXLReport report;
    report.setTemplateFile(kTemplate);
    report.setSheetName("TEVCountVisit");
    report.setTable(&table);
    setCommonValues(report);
    setVisitsBands(report);
    report.build(output());
    const QJsonObject book = readWorkbook(output());
    EXPECT_EQ(cell(book, "A8").value("value").toString(), QStringLiteral("TotalByReport"));
    EXPECT_EQ(cell(book, "F8").value("type").toString(), QStringLiteral("n"));
    EXPECT_EQ(cell(book, "F8").value("value").toInt(), 0);
    EXPECT_EQ(book.value("max_row").toInt(), 10);
}

// Grouped: TEVLogins with the client as group header. Simple: TEVLoginsSimple, the group header
// band removed before building. Either way the active flag (band column 5) reads "Да"/"Нет".
class LoginsTest : public ReportTest, public testing::WithParamInterface<bool>
{
};

TEST_P(LoginsTest, ActiveFlagReplacedAndGroupsOnlyWhenGrouped)
{
    const bool grouped = GetParam();
    ReportMemTable table;
    table.addColumn("CLIENT_NAME", ColumnType::Text);
    table.addColumn("LOGIN", ColumnType::Text);
    table.addColumn("ACTIVE_LOGIN", ColumnType::Integer);
    table.addColumn("CARD_HOLDER_NAME", ColumnType::Text);
    table.addColumn("STATEHOLDERNAME", ColumnType::Text);
    table.addRow({"Alpha", "alpha1", 1, "Holder 1", "active"});
    table.addRow({"Alpha", "alpha2", 0, QVariant(), "blocked"});
    table.addRow({"Beta", "beta1", 2, "Holder 3", "active"});
    TEXLReport report;
    report.setTemplateFile(kTemplate);
    report.setSheetName(grouped ? "TEVLogins" : "TEVLoginsSimple");
    report.setTable(&table);
    setCommonValues(report);
    report.addBand(TEXLBandType::Title, "A1:G4");
    const int header = report.addBand(TEXLBandType::GroupHeader, "A5:G5", "CLIENT_NAME");
    report.addBand(TEXLBandType::MasterData, "A6:G6");
    report.addBand(TEXLBandType::Summary, "A7:G9");
    report.setBeforeBuild([&](TEXLReport& r) {
        if (!grouped)
            r.removeBand(header);
    });
    std::vector<int> columns;
    report.setCellValueHandler([&](const TEXLBand& band, int column, QVariant& value) {
        if (band.type != TEXLBandType::MasterData || column != 5)
            return;
        columns.push_back(column);
        if (value == QVariant(0LL))
            value = QStringLiteral("Нет");
        else if (value == QVariant(1LL))
            value = QStringLiteral("Да");
    });
    report.build(output());
    EXPECT_EQ(columns.size(), 3u);
    const QJsonObject book = readWorkbook(output());
    EXPECT_EQ(book.value("print_titles").toString(), QStringLiteral("$4:$4"));

    // Grouped: title 1-4, Alpha 5-7, Beta 8-9, summary 10-12; simple: title 1-4, rows 5-7, summary 8-10.
    const char* const simpleRows[] = {"E5", "E6", "E7"};
    const char* const groupedRows[] = {"E6", "E7", "E9"};
    const char* const* flags = grouped ? groupedRows : simpleRows;
    EXPECT_EQ(cell(book, flags[0]).value("value").toString(), QStringLiteral("Да"));
    EXPECT_EQ(cell(book, flags[1]).value("value").toString(), QStringLiteral("Нет"));
    EXPECT_EQ(cell(book, flags[2]).value("type").toString(), QStringLiteral("n"));
    EXPECT_EQ(cell(book, flags[2]).value("value").toInt(), 2);
    if (grouped) {
        EXPECT_EQ(cell(book, "A5").value("value").toString(), QStringLiteral("Name: Alpha"));
        EXPECT_EQ(cell(book, "A8").value("value").toString(), QStringLiteral("Name: Beta"));
        EXPECT_EQ(cell(book, "B9").value("value").toString(), QStringLiteral("beta1"));
        EXPECT_TRUE(merges(book).contains("A8:G8"));
        EXPECT_EQ(book.value("max_row").toInt(), 11);
    } else {
        EXPECT_EQ(cell(book, "A5").value("value").toString(), QStringLiteral("Alpha"));
        EXPECT_EQ(cell(book, "A7").value("value").toString(), QStringLiteral("Beta"));
        EXPECT_EQ(book.value("max_row").toInt(), 9);
    }
}

INSTANTIATE_TEST_SUITE_P(Logins, LoginsTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Grouped" : "Simple";
                         });

TEST_F(ReportTest, RussianLocaleStillWritesNumbersInTheCLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // The C library's own number format too, where the system has that locale.
    const bool cLocale = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
    ReportMemTable table;
    table.addColumn("EMITENT", ColumnType::Text);
    table.addColumn("CLIENTS_COUNT", ColumnType::Float);
    table.addRow({"a", 1234.5});
    table.addRow({"b", QStringLiteral("0.25")});
    table.addRow({"c", 1e-7});
    TEXLReport report;
    report.setTemplateFile(kTemplate);
    report.setSheetName("TEVCountVisitByEmitent");
    report.setTable(&table);
    setCommonValues(report);
    report.addBand(TEXLBandType::Title, "A1:D7");
    report.addBand(TEXLBandType::MasterData, "A9:D9");
    report.addBand(TEXLBandType::Summary, "A11:D15");
    report.build(output());
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(before);
    if (!cLocale)
        std::cerr << "ru_RU.UTF-8 is not installed: only Qt's default locale was Russian\n";

    const QJsonObject book = readWorkbook(output());
    const double expected[] = {1234.5, 0.25, 1e-7};
    for (int i = 0; i < 3; ++i) {
        const QByteArray ref = "D" + QByteArray::number(8 + i);
        EXPECT_EQ(cell(book, ref.constData()).value("type").toString(), QStringLiteral("n"))
            << ref.constData();
        EXPECT_DOUBLE_EQ(cell(book, ref.constData()).value("value").toDouble(), expected[i])
            << ref.constData();
    }
    EXPECT_DOUBLE_EQ(cell(book, "D11").value("cached").toDouble(), 1234.7500001);
}

// A table far too long for a sheet, without holding its rows.
class EndlessTable : public ReportTable
{
public:
    int columnCount() const override { return 2; }
    QString columnName(int column) const override { return column ? "CLIENTS_COUNT" : "EMITENT"; }
    ColumnType columnType(int column) const override
    {
        return column ? ColumnType::Integer : ColumnType::Text;
    }
    int rowCount() const override { return kMaxRows - 7 - 5 + 1; }
    QVariant value(int row, int column) const override { return column ? QVariant(row) : QVariant("e"); }
};

struct ErrorCase
{
    const char* name;
    std::function<void(TEXLReport&, ReportMemTable&)> setUp;
    const char* message;
};

class ReportErrorTest : public ReportTest, public testing::WithParamInterface<ErrorCase>
{
};

TEST_P(ReportErrorTest, RefusedClearlyAndTheOldFileKept)
{
    ReportMemTable table;
    fillVisits(table);
    TEXLReport report;
    report.setTemplateFile(kTemplate);
    report.setSheetName("TEVCountVisit");
    report.setTable(&table);
    setCommonValues(report);
    setVisitsBands(report);
    GetParam().setUp(report, table);
    {
        QFile old(output());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the previous report");
    }
    try {
        report.build(output());
        FAIL() << "built";
    } catch (const TEXLReportError& e) {
        EXPECT_TRUE(e.message().contains(QLatin1String(GetParam().message))) << e.message().toStdString();
    }
    QFile old(output());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "the previous report");
    EXPECT_EQ(QDir(mDir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"report.xlsx"}));
}

const EndlessTable kEndless;

INSTANTIATE_TEST_SUITE_P(
    Errors, ReportErrorTest,
    testing::Values(
        ErrorCase{"TextOver32767Characters",
                  [](TEXLReport&, ReportMemTable& t) { t.setValue(1, 1, QString(40000, QLatin1Char('y'))); },
                  "holds at most 32767"},
        ErrorCase{"MoreRowsThanASheet",
                  [](TEXLReport& r, ReportMemTable&) {
                      r.setSheetName("TEVCountVisitByEmitent");
                      r.clearBands();
                      r.addBand(TEXLBandType::Title, "A1:D7");
                      r.addBand(TEXLBandType::MasterData, "A9:D9");
                      r.addBand(TEXLBandType::Summary, "A11:D15");
                      r.setTable(&kEndless);
                  },
                  "needs 1048577 rows, more than the 1048576"},
        ErrorCase{"UnknownSheet", [](TEXLReport& r, ReportMemTable&) { r.setSheetName("Nope"); },
                  "has no sheet \"Nope\""},
        ErrorCase{"MissingTemplate",
                  [](TEXLReport& r, ReportMemTable&) { r.setTemplateFile("/nonexistent/TEVReports.xlsx"); },
                  "does not exist"},
        ErrorCase{"NotAWorkbook", [](TEXLReport& r, ReportMemTable&) { r.setTemplateFile(kReader); },
                  "Cannot open the workbook"},
        ErrorCase{"UnknownColumn",
                  [](TEXLReport&, ReportMemTable& t) {
                      t = ReportMemTable();
                      t.addColumn("EMITENT", ColumnType::Integer);
                  },
                  "no column \"CLIENT_NAME\""},
        ErrorCase{"UnknownName", [](TEXLReport& r, ReportMemTable&) { r.clearValues(); },
                  "no value named \"Caption\""},
        ErrorCase{"FooterWithoutHeader", [](TEXLReport& r, ReportMemTable&) { r.removeBand(1); },
                  "has no group header grouped by \"EMITENT\""},
        ErrorCase{"NoMasterData", [](TEXLReport& r, ReportMemTable&) { r.removeBand(2); },
                  "no master-data band"},
        ErrorCase{"BadRange",
                  [](TEXLReport& r, ReportMemTable&) { r.addBand(TEXLBandType::Summary, "A14-F18"); },
                  "is not a cell range"},
        ErrorCase{"OverlappingBands",
                  [](TEXLReport& r, ReportMemTable&) {
                      r.addBand(TEXLBandType::GroupHeader, "A10:F11", "CLIENT_NAME");
                  },
                  "shares template rows"}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

} // namespace

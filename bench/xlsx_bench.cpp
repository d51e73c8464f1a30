// The report engine filling 100,000 rows of a six-cell band and writing the workbook, against
// openpyxl's write-only mode writing the same cells, in the same run.
#include "ReportMemTable.h"
#include "TEXLReport.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRows = 100000;
const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kScript = QStringLiteral(TEV_SOURCE_DIR "/bench/xlsx_openpyxl.py");

QString python(const QStringList& arguments)
{
    QProcess p;
    p.start(kPython, QStringList{kScript} + arguments);
    if (!p.waitForFinished(600000) || p.exitCode() != 0) {
        std::fprintf(stderr, "xlsx_bench: %s failed: %s\n", qPrintable(kScript),
                     p.readAllStandardError().constData());
        std::exit(1);
    }
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString templateFile = dir.filePath("bench-template.xlsx");
    python({"template", templateFile});

    xlsx::ReportMemTable table;
    table.addColumn("NO", xlsx::ColumnType::Integer);
    table.addColumn("CLIENT", xlsx::ColumnType::Text);
    table.addColumn("VISIT", xlsx::ColumnType::DateTime);
    table.addColumn("VISITS", xlsx::ColumnType::Integer);
    table.addColumn("AMOUNT", xlsx::ColumnType::Float);
    table.addColumn("LOGIN", xlsx::ColumnType::Text);
    table.reserveRows(kRows);
    const QDateTime base(QDate(2024, 1, 1), QTime(8, 0));
    for (int i = 0; i < kRows; ++i)
        table.addRow({qlonglong(i), QStringLiteral("Client %1").arg(i), base.addSecs(60LL * i),
                      qlonglong(i % 97), i * 1.25, QStringLiteral("login%1").arg(i % 1000)});

    std::vector<double> engine;
    std::vector<double> openpyxl;
    for (int run = 0; run < 3; ++run) {
        xlsx::TEXLReport report;
        report.setTemplateFile(templateFile);
        report.setSheetName("Bench");
        report.setTable(&table);
        report.addBand(xlsx::TEXLBandType::Title, "A1:F1");
        report.addBand(xlsx::TEXLBandType::MasterData, "A2:F2");
        QElapsedTimer timer;
        timer.start();
        report.build(dir.filePath("engine.xlsx"));
        engine.push_back(double(timer.nsecsElapsed()) / 1e9);
        openpyxl.push_back(
            python({"write", QString::number(kRows), dir.filePath("openpyxl.xlsx")}).toDouble());
    }
    std::fprintf(stderr, "xlsx_bench: engine %.3f s, openpyxl write-only %.3f s (medians of 3)\n",
                 median(engine), median(openpyxl));
    std::printf("report_fill_vs_openpyxl: %.3f (target <= 0.5)\n", median(engine) / median(openpyxl));
    return 0;
}

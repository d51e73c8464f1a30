// Report templates copied from other machines: any file as the template of a report either
// builds a workbook or fails with TEXLReportError, and never leaves a half-written result.
//
// An input that starts like a zip file ("PK") is the template file itself. Any other input is
// the XML of the report's sheet, packed with the rest of the shipped template, so that the
// mutations reach the sheet reader instead of stopping at the zip's checksums.

#include "FuzzSupport.h"
#include "ReportMemTable.h"
#include "TEXLReport.h"
#include "ZipWriter.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

// The shipped template's parts (name -> bytes); the report's sheet is xl/worksheets/sheet1.xml.
const QList<QPair<QString, QByteArray>>& templateParts()
{
    static const QList<QPair<QString, QByteArray>> parts = [] {
        QList<QPair<QString, QByteArray>> list;
        const QDir root(QStringLiteral(TEV_TEMPLATE_PARTS));
        QDirIterator it(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            QFile f(file);
            FUZZ_CHECK(f.open(QIODevice::ReadOnly));
            list.append({root.relativeFilePath(file), f.readAll()});
        }
        FUZZ_CHECK(!list.isEmpty());
        return list;
    }();
    return parts;
}

void writeTemplate(const QString& path, const QByteArray& input)
{
    if (input.startsWith("PK")) {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(f.write(input) == input.size());
        return;
    }
    QFile::remove(path);
    xlsx::ZipWriter zip(path);
    for (const auto& [name, data] : templateParts())
        zip.add(name, name == QStringLiteral("xl/worksheets/sheet1.xml") ? input : data, 1);
    zip.close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = fuzz::scratchFolder();
    const QString templatePath = folder + QStringLiteral("/template.xlsx");
    const QString outputPath = folder + QStringLiteral("/report.xlsx");
    writeTemplate(templatePath, fuzz::bytes(data, size));
    QFile::remove(outputPath);

    xlsx::ReportMemTable table;
    table.addColumn(QStringLiteral("EMITENT"), xlsx::ColumnType::Integer);
    table.addColumn(QStringLiteral("CLIENT_NAME"), xlsx::ColumnType::Text);
    table.addColumn(QStringLiteral("LAST_VISIT_DATE"), xlsx::ColumnType::DateTime);
    table.addColumn(QStringLiteral("COUNT_VISITS"), xlsx::ColumnType::Integer);
    table.addRow({1001, QStringLiteral("ООО Ромашка"), QDateTime(QDate(2024, 1, 5), QTime(10, 30)), 5});
    table.addRow({1001, QStringLiteral("Client B"), QDate(2024, 1, 6), 7});
    table.addRow({1002, QStringLiteral("Client C"), QVariant(), 3});

    xlsx::TEXLReport report;
    report.setTemplateFile(templatePath);
    report.setSheetName(QStringLiteral("TEVCountVisit"));
    report.setTable(&table);
    report.setValue(QStringLiteral("Caption"), QStringLiteral("Количество посещений"));
    report.setValue(QStringLiteral("Period"), QStringLiteral("январь"));
    report.addBand(xlsx::TEXLBandType::Title, QStringLiteral("A1:F7"));
    report.addBand(xlsx::TEXLBandType::GroupHeader, QStringLiteral("A9:F9"), QStringLiteral("EMITENT"));
    report.addBand(xlsx::TEXLBandType::MasterData, QStringLiteral("A11:F11"));
    report.addBand(xlsx::TEXLBandType::GroupFooter, QStringLiteral("A13:F13"), QStringLiteral("EMITENT"));
    report.addBand(xlsx::TEXLBandType::Summary, QStringLiteral("A14:F18"));
    try {
        report.build(outputPath);
    } catch (const xlsx::TEXLReportError&) {
        // Nothing left behind: no result, no temporary file.
        FUZZ_CHECK(QDir(folder).entryList(QDir::Files | QDir::Hidden) ==
                   QStringList(QStringLiteral("template.xlsx")));
        return 0;
    }
    FUZZ_CHECK(QFileInfo(outputPath).size() > 0);
    return 0;
}

#include "TEXLReport.h"

#include "SharedStrings.h"
#include "SheetFiller.h"
#include "TemplateSheet.h"
#include "WorkbookTemplate.h"
#include "ZipReader.h"
#include "ZipWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>

namespace xlsx {

TEXLReport::TEXLReport() = default;

void TEXLReport::setValue(const QString& name, const QString& value)
{
    mValues.insert(name.toLower(), qMakePair(name, value));
}

QString TEXLReport::value(const QString& name) const
{
    return mValues.value(name.toLower()).second;
}

bool TEXLReport::hasValue(const QString& name) const
{
    return mValues.contains(name.toLower());
}

int TEXLReport::addBand(TEXLBandType type, const QString& range, const QString& groupColumn)
{
    const auto at = std::upper_bound(mBands.begin(), mBands.end(), type,
                                     [](TEXLBandType t, const TEXLBand& b) { return int(t) < int(b.type); });
    const auto inserted = mBands.insert(at, TEXLBand{type, range, groupColumn});
    return int(inserted - mBands.begin());
}

void TEXLReport::removeBand(int index)
{
    if (index < 0 || index >= bandCount())
        throw TEXLReportError(QStringLiteral("There is no band at position %1 (the report has %2)")
                                  .arg(index)
                                  .arg(bandCount()));
    mBands.erase(mBands.begin() + index);
}

namespace {

// A name in the result's folder that nothing else uses, for writing before the rename.
QString temporaryNameFor(const QString& outputPath)
{
    const QFileInfo info(outputPath);
    for (;;) {
        const QString name =
            info.dir().filePath(QStringLiteral(".%1.%2.tmp")
                                    .arg(info.fileName())
                                    .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (!QFileInfo::exists(name))
            return name;
    }
}

} // namespace

void TEXLReport::build(const QString& outputPath)
{
    if (mBeforeBuild)
        mBeforeBuild(*this);
    if (mTemplateFile.isEmpty())
        throw TEXLReportError(QStringLiteral("The report has no template file"));
    if (!QFileInfo::exists(mTemplateFile))
        throw TEXLReportError(QStringLiteral("The template \"%1\" does not exist").arg(mTemplateFile));
    if (outputPath.isEmpty())
        throw TEXLReportError(QStringLiteral("The report has no file to be written to"));

    ZipReader zip(mTemplateFile);
    WorkbookTemplate workbook(zip, mTemplateFile);
    workbook.selectSheet(mSheetName);
    const TemplateSheet sheet(workbook.sheetXml(), workbook.sharedStrings(), workbook.sheetPart());

    SharedStrings strings;
    SheetFiller filler(sheet, mBands, mTable, mValues, mCellValue, strings);
    filler.fill();
    const QByteArray sheetXml = sheet.assemble(filler.sheetData(), filler.mergeCells());

    const QString temporary = temporaryNameFor(outputPath);
    try {
        ZipWriter out(temporary);
        workbook.write(out, sheetXml, strings.xml(), filler.firstTitleRow(), filler.lastTitleRow());
        out.close();
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    // rename() replaces an existing report in one step.
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(outputPath).constData()) !=
        0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temporary);
        throw TEXLReportError(QStringLiteral("Cannot write the report \"%1\": %2").arg(outputPath, reason));
    }
}

} // namespace xlsx

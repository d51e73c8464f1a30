#pragma once

// The report template engine: fills one sheet of an xlsx template with a row table and named values
// and writes the result as a new workbook. How template cells refer to columns and names is
// described in resources/ReportTemplates/README.md.
#include "ReportTable.h"
#include "TEXLBand.h"
#include "TEXLReportError.h"

#include <QMap>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

namespace xlsx {

class TEXLReport
{
public:
    // Called first by build(): the last moment to change values, bands or the table.
    using BeforeBuildHandler = std::function<void(TEXLReport& report)>;
    // Called for each cell a band writes from a reference ({=COLUMN}, {Name}, text with references);
    // column counts from 1 at the band's first column. The handler may replace the value, also by
    // one of another type (a number by a text).
    using CellValueHandler = std::function<void(const TEXLBand& band, int column, QVariant& value)>;

    TEXLReport();

    void setTemplateFile(const QString& path) { mTemplateFile = path; }
    const QString& templateFile() const { return mTemplateFile; }
    void setSheetName(const QString& name) { mSheetName = name; }
    const QString& sheetName() const { return mSheetName; }

    // Not owned; it must live until build() returns. No table reads as a table without rows.
    void setTable(const ReportTable* table) { mTable = table; }
    const ReportTable* table() const { return mTable; }

    // Named values; names ignore letter case, and setting one that exists replaces its value.
    void setValue(const QString& name, const QString& value);
    QString value(const QString& name) const;
    bool hasValue(const QString& name) const;
    void clearValues() { mValues.clear(); }

    // Bands stay ordered by type; a band goes after those of its type already there. Returns its
    // position. The range is checked by build().
    int addBand(TEXLBandType type, const QString& range, const QString& groupColumn = QString());
    void removeBand(int index);
    int bandCount() const { return int(mBands.size()); }
    const TEXLBand& band(int index) const { return mBands.at(size_t(index)); }
    void clearBands() { mBands.clear(); }

    void setBeforeBuild(BeforeBuildHandler handler) { mBeforeBuild = std::move(handler); }
    void setCellValueHandler(CellValueHandler handler) { mCellValue = std::move(handler); }

    // Copies the template with only the report's sheet, filled, to outputPath: written under a
    // temporary name in the same folder and renamed over outputPath at the end, so a failed build
    // leaves an existing file as it was. Throws TEXLReportError.
    void build(const QString& outputPath);

private:
    QString mTemplateFile;
    QString mSheetName;
    const ReportTable* mTable = nullptr;
    QMap<QString, QPair<QString, QString>> mValues; // lower-case name -> (name, value)
    std::vector<TEXLBand> mBands;
    BeforeBuildHandler mBeforeBuild;
    CellValueHandler mCellValue;
};

} // namespace xlsx

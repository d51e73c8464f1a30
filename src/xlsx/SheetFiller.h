#pragma once

#include "SharedStrings.h"
#include "TEXLReport.h"
#include "TemplateSheet.h"

#include <QByteArray>
#include <vector>

namespace xlsx {

// Lays the bands out row after row and writes the result's cells and merges. Throws
// TEXLReportError for a band, reference or value the sheet cannot hold.
class SheetFiller
{
public:
    using NamedValues = QMap<QString, QPair<QString, QString>>;

    SheetFiller(const TemplateSheet& sheet, const std::vector<TEXLBand>& bands, const ReportTable* table,
                const NamedValues& values, const TEXLReport::CellValueHandler& onCellValue,
                SharedStrings& strings);
    ~SheetFiller();

    void fill();
    QByteArray sheetData() const;
    QByteArray mergeCells() const;
    // The template rows of the title band (0 when there is none).
    int firstTitleRow() const { return mFirstTitleRow; }
    int lastTitleRow() const { return mLastTitleRow; }

private:
    struct Cell;
    struct Band;
    struct Scope;

    void planBands();
    Cell compileCell(const Band& band, const TemplateCell& cell, int templateRow);
    void compileTotals();
    void checkRowCount(const std::vector<int>& breakLevel) const;
    int reserveChunk();
    void render(const Band& band, int startRow, int tableRow, const Scope* scope, QByteArray& out,
                bool accumulate);
    void writeValue(QByteArray& out, const Cell& cell, int row, QVariant value);
    QVariant columnValue(int tableRow, int column) const;
    QString textOf(const QVariant& value) const;

    const TemplateSheet& mSheet;
    const std::vector<TEXLBand>& mBandList;
    const ReportTable* mTable;
    const NamedValues& mValues;
    const TEXLReport::CellValueHandler& mOnCellValue;
    SharedStrings& mStrings;

    std::vector<Band> mBands;
    const Band* mTitle = nullptr;
    const Band* mMaster = nullptr;
    const Band* mSummary = nullptr;
    std::vector<const Band*> mHeaders; // per group level
    std::vector<const Band*> mFooters; // per group level, null when none
    std::vector<int> mGroupColumns;
    std::vector<int> mTotalSheetColumn; // per total slot: the sheet column master data writes it to
    std::vector<int> mTotalRowOffset;   // per total slot: the row within the master band
    std::vector<int> mTotalTableColumn; // per total slot
    std::vector<Scope> mScopes;         // the report, then the open groups
    std::vector<QByteArray> mChunks;
    QByteArray mMerges;
    int mMergeCount = 0;
    int mFirstTitleRow = 0;
    int mLastTitleRow = 0;
};

} // namespace xlsx

#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <map>
#include <utility>
#include <vector>

namespace xlsx {

// A text of the template's shared-string table: plain, and its XML when it has formatted runs.
struct TemplateString
{
    QString text;
    QByteArray rich;
};

struct TemplateCell
{
    int column = 0;
    QByteArray style;   // the s attribute, empty when none
    QByteArray type;    // the t attribute
    QByteArray value;   // <v> as written
    QByteArray formula; // the whole <f> element
    bool isText = false;
    QString text;
    QByteArray rich;
};

struct TemplateRow
{
    int row = 0;
    QByteArray attributes; // everything but r and spans, each with its leading blank
    std::vector<TemplateCell> cells;
};

struct CellRange
{
    int firstColumn = 0;
    int firstRow = 0;
    int lastColumn = 0;
    int lastRow = 0;
};

// The report's sheet of the template: its rows and merges, and the elements around the cells that
// the result keeps (views, column widths, page set-up). Whatever refers to template cells or to the
// sheet's own relationships (drawings, hyperlinks, conditional formats, validations, page breaks) is
// left out.
class TemplateSheet
{
public:
    // Throws TEXLReportError when the XML cannot be read.
    TemplateSheet(const QByteArray& xml, const std::vector<TemplateString>& sharedStrings,
                  const QString& partName);

    const std::map<int, TemplateRow>& rows() const { return mRows; }
    const std::vector<CellRange>& merges() const { return mMerges; }
    // The result sheet: the kept elements with new cells and merges in their places.
    QByteArray assemble(const QByteArray& sheetData, const QByteArray& mergeCells) const;

private:
    void readSheetData(QXmlStreamReader& reader, const std::vector<TemplateString>& sharedStrings);

    QString mPartName;
    QByteArray mHead;
    std::vector<std::pair<int, QByteArray>> mTail; // schema position, element
    QByteArray mRootName;
    std::map<int, TemplateRow> mRows;
    std::vector<CellRange> mMerges;
};

} // namespace xlsx

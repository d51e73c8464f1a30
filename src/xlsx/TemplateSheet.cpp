#include "TemplateSheet.h"

#include "TEXLReportError.h"
#include "XlsxText.h"
#include "XmlCopy.h"

#include <QHash>
#include <memory>

namespace xlsx {

namespace {

// Children of <worksheet> in the order the schema requires them.
const char* const kElementOrder[] = {"sheetPr",
                                     "dimension",
                                     "sheetViews",
                                     "sheetFormatPr",
                                     "cols",
                                     "sheetData",
                                     "sheetCalcPr",
                                     "sheetProtection",
                                     "protectedRanges",
                                     "scenarios",
                                     "autoFilter",
                                     "sortState",
                                     "dataConsolidate",
                                     "customSheetViews",
                                     "mergeCells",
                                     "phoneticPr",
                                     "conditionalFormatting",
                                     "dataValidations",
                                     "hyperlinks",
                                     "printOptions",
                                     "pageMargins",
                                     "pageSetup",
                                     "headerFooter",
                                     "rowBreaks",
                                     "colBreaks",
                                     "customProperties",
                                     "cellWatches",
                                     "ignoredErrors",
                                     "smartTags",
                                     "drawing",
                                     "legacyDrawing",
                                     "legacyDrawingHF",
                                     "drawingHF",
                                     "picture",
                                     "oleObjects",
                                     "controls",
                                     "webPublishItems",
                                     "tableParts",
                                     "extLst"};
constexpr int kSheetDataPosition = 5;
constexpr int kMergeCellsPosition = 14;

// Elements that stay valid however the rows move.
bool isKept(QStringView name)
{
    static const char* const kept[] = {"sheetPr",     "sheetViews",      "sheetFormatPr", "cols",
                                       "sheetCalcPr", "sheetProtection", "phoneticPr",    "printOptions",
                                       "pageMargins", "pageSetup",       "headerFooter"};
    for (const char* k : kept)
        if (name == QLatin1String(k))
            return true;
    return false;
}

int orderOf(QStringView name)
{
    for (int i = 0; i < int(std::size(kElementOrder)); ++i)
        if (name == QLatin1String(kElementOrder[i]))
            return i;
    return -1;
}

// The relationship ids (r:id) point into the sheet's relationships, which the result does not keep.
bool isRelationshipId(QStringView qualifiedName)
{
    return qualifiedName.contains(u':') && localName(qualifiedName) == u"id";
}

} // namespace

TemplateSheet::TemplateSheet(const QByteArray& xml, const std::vector<TemplateString>& sharedStrings,
                             const QString& partName)
    : mPartName(partName)
{
    std::unique_ptr<QXmlStreamReader> reader(newReader(xml));
    bool rootSeen = false;
    while (!reader->atEnd()) {
        if (reader->readNext() != QXmlStreamReader::StartElement)
            continue;
        if (!rootSeen) {
            rootSeen = true;
            if (reader->qualifiedName().contains(u':'))
                throw TEXLReportError(
                    QStringLiteral(
                        "The sheet \"%1\" of the template writes its elements with a namespace prefix, "
                        "which is not supported; save the template again with a spreadsheet program")
                        .arg(partName));
            mRootName = reader->qualifiedName().toUtf8();
            appendStartTag(mHead, *reader);
            continue;
        }
        const QStringView name = reader->qualifiedName();
        const int order = orderOf(name);
        if (name == u"sheetData") {
            readSheetData(*reader, sharedStrings);
        } else if (name == u"mergeCells") {
            while (reader->readNextStartElement()) {
                int c0, r0, c1, r1;
                if (reader->qualifiedName() == u"mergeCell" &&
                    parseRange(reader->attributes().value(QLatin1String("ref")), &c0, &r0, &c1, &r1))
                    mMerges.push_back({c0, r0, c1, r1});
                reader->skipCurrentElement();
            }
        } else if (isKept(name)) {
            QByteArray element;
            copyElement(*reader, element, isRelationshipId);
            if (order < kSheetDataPosition)
                mHead.append(element);
            else
                mTail.emplace_back(order, element);
        } else {
            reader->skipCurrentElement();
        }
    }
    if (reader->hasError())
        throw TEXLReportError(QStringLiteral("The sheet \"%1\" of the template cannot be read: %2 (line %3)")
                                  .arg(partName, reader->errorString())
                                  .arg(reader->lineNumber()));
    if (!rootSeen)
        throw TEXLReportError(QStringLiteral("The sheet \"%1\" of the template is empty").arg(partName));
}

void TemplateSheet::readSheetData(QXmlStreamReader& reader, const std::vector<TemplateString>& sharedStrings)
{
    int lastRow = 0;
    while (reader.readNextStartElement()) {
        if (reader.qualifiedName() != u"row") {
            reader.skipCurrentElement();
            continue;
        }
        TemplateRow row;
        row.row = lastRow + 1;
        for (const QXmlStreamAttribute& a : reader.attributes()) {
            if (a.qualifiedName() == u"r") {
                row.row = a.value().toInt();
            } else if (a.qualifiedName() != u"spans") {
                row.attributes.append(' ');
                row.attributes.append(a.qualifiedName().toUtf8());
                row.attributes.append("=\"");
                appendPlainText(row.attributes, a.value(), true);
                row.attributes.append('"');
            }
        }
        lastRow = row.row;
        int lastColumn = 0;
        while (reader.readNextStartElement()) {
            if (reader.qualifiedName() != u"c") {
                reader.skipCurrentElement();
                continue;
            }
            TemplateCell cell;
            cell.column = lastColumn + 1;
            for (const QXmlStreamAttribute& a : reader.attributes()) {
                if (a.qualifiedName() == u"r") {
                    int col, r;
                    if (parseCellRef(a.value(), &col, &r))
                        cell.column = col;
                } else if (a.qualifiedName() == u"s") {
                    cell.style = a.value().toUtf8();
                } else if (a.qualifiedName() == u"t") {
                    cell.type = a.value().toUtf8();
                }
            }
            lastColumn = cell.column;
            while (reader.readNextStartElement()) {
                const QStringView name = reader.qualifiedName();
                if (name == u"v") {
                    cell.value = reader.readElementText().toUtf8();
                } else if (name == u"f") {
                    copyElement(reader, cell.formula);
                } else if (name == u"is") {
                    cell.isText = true;
                    cell.text = readStringItem(reader, &cell.rich);
                } else {
                    reader.skipCurrentElement();
                }
            }
            if (cell.type == "s") {
                bool ok = false;
                const long long index = cell.value.toLongLong(&ok);
                if (!ok || index < 0 || index >= (long long)sharedStrings.size())
                    throw TEXLReportError(
                        QStringLiteral("The sheet \"%1\" of the template refers to shared string %2, "
                                       "which the workbook does not have")
                            .arg(mPartName, QString::fromUtf8(cell.value)));
                cell.isText = true;
                cell.text = sharedStrings[size_t(index)].text;
                cell.rich = sharedStrings[size_t(index)].rich;
            } else if (cell.type == "inlineStr") {
                cell.isText = true;
            }
            row.cells.push_back(std::move(cell));
        }
        mRows[row.row] = std::move(row);
    }
}

QByteArray TemplateSheet::assemble(const QByteArray& sheetData, const QByteArray& mergeCells) const
{
    qsizetype total = mHead.size() + sheetData.size() + mergeCells.size() + 64;
    for (const auto& [order, element] : mTail)
        total += element.size();
    QByteArray out;
    out.reserve(total);
    out.append("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n");
    out.append(mHead);
    out.append(sheetData);
    bool mergesWritten = false;
    for (const auto& [order, element] : mTail) {
        if (!mergesWritten && order > kMergeCellsPosition) {
            out.append(mergeCells);
            mergesWritten = true;
        }
        out.append(element);
    }
    if (!mergesWritten)
        out.append(mergeCells);
    out.append("</");
    out.append(mRootName);
    out.append('>');
    return out;
}

} // namespace xlsx

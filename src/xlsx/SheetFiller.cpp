#include "SheetFiller.h"

#include "XlsxText.h"
#include "XmlCopy.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace xlsx {

namespace {

QString bandTypeName(TEXLBandType type)
{
    switch (type) {
    case TEXLBandType::Title:
        return QStringLiteral("title");
    case TEXLBandType::GroupHeader:
        return QStringLiteral("group header");
    case TEXLBandType::MasterData:
        return QStringLiteral("master-data");
    case TEXLBandType::GroupFooter:
        return QStringLiteral("group footer");
    case TEXLBandType::Summary:
        return QStringLiteral("summary");
    }
    return QString();
}

QString describe(const TEXLBand& band)
{
    return QStringLiteral("The %1 band %2").arg(bandTypeName(band.type), band.range);
}

QString address(int column, int row)
{
    return QString::fromLatin1(columnLetters(column)) + QString::number(row);
}

// SUBTOTAL's function numbers.
struct TotalFunction
{
    const char* name;
    int code;
};
const TotalFunction kTotals[] = {{"SUM", 9},     {"COUNT", 2}, {"COUNTA", 3},
                                 {"AVERAGE", 1}, {"MIN", 5},   {"MAX", 4}};

struct Piece
{
    bool reference = false;
    QString text; // the literal text, or what stands between the braces
};

// "{name}" references with "{{" and "}}" for literal braces; a brace without its partner is text.
std::vector<Piece> splitTemplateText(const QString& text)
{
    std::vector<Piece> pieces;
    QString literal;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'{' && i + 1 < n && text[i + 1] == u'{') {
            literal += u'{';
            ++i;
        } else if (c == u'}' && i + 1 < n && text[i + 1] == u'}') {
            literal += u'}';
            ++i;
        } else if (c == u'{') {
            const qsizetype close = text.indexOf(u'}', i + 1);
            const qsizetype nested = text.indexOf(u'{', i + 1);
            if (close < 0 || (nested >= 0 && nested < close) || close == i + 1) {
                literal += c;
                continue;
            }
            if (!literal.isEmpty())
                pieces.push_back({false, literal});
            literal.clear();
            pieces.push_back({true, text.mid(i + 1, close - i - 1).trimmed()});
            i = close;
        } else {
            literal += c;
        }
    }
    if (!literal.isEmpty())
        pieces.push_back({false, literal});
    return pieces;
}

bool isNumber(const QVariant& v, double* number)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        *number = v.toDouble();
        return std::isfinite(*number);
    case QMetaType::QDateTime:
        return excelSerial(v.toDateTime(), number);
    case QMetaType::QDate:
        return excelSerial(v.toDate().startOfDay(), number);
    default:
        return false;
    }
}

} // namespace

struct SheetFiller::Cell
{
    enum Kind
    {
        Blank,
        Constant,
        Column,
        Named,
        Text,
        Total
    };
    Kind kind = Blank;
    int column = 0;
    int bandColumn = 0;
    QByteArray letters;
    QByteArray style;    // ` s="N"` or empty
    QByteArray constant; // what follows the style up to the end of the element
    int tableColumn = -1;
    QString named;
    std::vector<std::pair<int, QString>> pieces; // table column or -1 with literal text
    int totalCode = 0;
    int totalSlot = -1;
    int feedsSlot = -1; // master data: the total slot this cell's values count for
};

struct SheetFiller::Band
{
    const TEXLBand* band = nullptr;
    int firstColumn = 0;
    int firstRow = 0;
    int lastColumn = 0;
    int lastRow = 0;
    int groupColumn = -1;
    struct Row
    {
        bool present = false;
        QByteArray attributes;
        std::vector<Cell> cells;
    };
    std::vector<Row> rows;
    std::vector<CellRange> merges; // rows relative to the band
    int height() const { return lastRow - firstRow + 1; }
};

struct SheetFiller::Scope
{
    struct Accumulator
    {
        double sum = 0;
        long long numbers = 0;
        long long filled = 0;
        double min = std::numeric_limits<double>::infinity();
        double max = -std::numeric_limits<double>::infinity();
    };
    int firstTableRow = -1;
    int lastTableRow = -1;
    int firstMasterRow = 0;
    int lastMasterRow = 0;
    int headerChunk = -1;
    int headerRow = 0;
    std::vector<Accumulator> totals;
};

SheetFiller::SheetFiller(const TemplateSheet& sheet, const std::vector<TEXLBand>& bands,
                         const ReportTable* table, const NamedValues& values,
                         const TEXLReport::CellValueHandler& onCellValue, SharedStrings& strings)
    : mSheet(sheet), mBandList(bands), mTable(table), mValues(values), mOnCellValue(onCellValue),
      mStrings(strings)
{
}

SheetFiller::~SheetFiller() = default;

void SheetFiller::planBands()
{
    mBands.reserve(mBandList.size());
    for (const TEXLBand& b : mBandList) {
        Band band;
        band.band = &b;
        if (!parseRange(b.range, &band.firstColumn, &band.firstRow, &band.lastColumn, &band.lastRow))
            throw TEXLReportError(describe(b) + QStringLiteral(" is not a cell range such as A1:F7"));
        for (const Band& other : mBands)
            if (band.firstRow <= other.lastRow && other.firstRow <= band.lastRow)
                throw TEXLReportError(describe(b) + QStringLiteral(" shares template rows with ") +
                                      describe(*other.band).mid(4));
        if (b.type == TEXLBandType::GroupHeader || b.type == TEXLBandType::GroupFooter) {
            band.groupColumn = mTable ? mTable->columnIndex(b.groupColumn) : -1;
            if (band.groupColumn < 0)
                throw TEXLReportError(describe(b) +
                                      QStringLiteral(" groups by \"%1\", which the report's rows do not have")
                                          .arg(b.groupColumn));
        }
        mBands.push_back(std::move(band));
    }
    for (const Band& band : mBands) {
        const TEXLBand& b = *band.band;
        switch (b.type) {
        case TEXLBandType::Title:
            if (mTitle)
                throw TEXLReportError(QStringLiteral("The report has more than one title band"));
            mTitle = &band;
            break;
        case TEXLBandType::MasterData:
            if (mMaster)
                throw TEXLReportError(QStringLiteral("The report has more than one master-data band"));
            mMaster = &band;
            break;
        case TEXLBandType::Summary:
            if (mSummary)
                throw TEXLReportError(QStringLiteral("The report has more than one summary band"));
            mSummary = &band;
            break;
        case TEXLBandType::GroupHeader:
            for (int column : mGroupColumns)
                if (column == band.groupColumn)
                    throw TEXLReportError(
                        describe(b) +
                        QStringLiteral(": the rows are already grouped by \"%1\"").arg(b.groupColumn));
            mGroupColumns.push_back(band.groupColumn);
            mHeaders.push_back(&band);
            mFooters.push_back(nullptr);
            break;
        case TEXLBandType::GroupFooter:
            break;
        }
    }
    if (!mMaster)
        throw TEXLReportError(QStringLiteral("The report has no master-data band"));
    for (const Band& band : mBands) {
        if (band.band->type != TEXLBandType::GroupFooter)
            continue;
        bool matched = false;
        for (size_t level = 0; level < mGroupColumns.size(); ++level) {
            if (mGroupColumns[level] == band.groupColumn && !mFooters[level]) {
                mFooters[level] = &band;
                matched = true;
                break;
            }
        }
        if (!matched)
            throw TEXLReportError(
                describe(*band.band) +
                QStringLiteral(" has no group header grouped by \"%1\"").arg(band.band->groupColumn));
    }
    if (mTitle) {
        mFirstTitleRow = mTitle->firstRow;
        mLastTitleRow = mTitle->lastRow;
    }

    // The master band first: the totals elsewhere refer to its cells.
    std::vector<Band*> order;
    for (Band& band : mBands)
        if (&band == mMaster)
            order.insert(order.begin(), &band);
        else
            order.push_back(&band);
    for (Band* band : order) {
        band->rows.resize(size_t(band->height()));
        for (int off = 0; off < band->height(); ++off) {
            const auto it = mSheet.rows().find(band->firstRow + off);
            if (it == mSheet.rows().end())
                continue;
            Band::Row& row = band->rows[size_t(off)];
            row.present = true;
            row.attributes = it->second.attributes;
            for (const TemplateCell& cell : it->second.cells)
                if (cell.column >= band->firstColumn && cell.column <= band->lastColumn)
                    row.cells.push_back(compileCell(*band, cell, band->firstRow + off));
        }
        for (const CellRange& m : mSheet.merges())
            if (m.firstRow >= band->firstRow && m.lastRow <= band->lastRow &&
                m.firstColumn >= band->firstColumn && m.lastColumn <= band->lastColumn)
                band->merges.push_back(
                    {m.firstColumn, m.firstRow - band->firstRow, m.lastColumn, m.lastRow - band->firstRow});
    }
}

SheetFiller::Cell SheetFiller::compileCell(const Band& band, const TemplateCell& source, int templateRow)
{
    Cell cell;
    const QString where = address(source.column, templateRow);
    cell.column = source.column;
    cell.bandColumn = source.column - band.firstColumn + 1;
    cell.letters = columnLetters(source.column);
    if (!source.style.isEmpty() && source.style != "0")
        cell.style = " s=\"" + source.style + '"';
    if (!source.isText) {
        if (!source.formula.isEmpty()) {
            cell.kind = Cell::Constant;
            cell.constant = (source.type == "str" ? QByteArray(" t=\"str\">") : QByteArray(">")) +
                            source.formula + "</c>";
        } else if (!source.value.isEmpty()) {
            cell.kind = Cell::Constant;
            if (!source.type.isEmpty() && source.type != "n")
                cell.constant = " t=\"" + source.type + '"';
            cell.constant += "><v>";
            appendPlainText(cell.constant, QString::fromUtf8(source.value));
            cell.constant += "</v></c>";
        }
    } else {
        const std::vector<Piece> pieces = splitTemplateText(source.text);
        bool hasReference = false;
        for (const Piece& p : pieces)
            hasReference = hasReference || p.reference;
        if (!hasReference) {
            if (!source.text.isEmpty()) {
                cell.kind = Cell::Constant;
                const int index =
                    source.rich.isEmpty() ? mStrings.add(source.text) : mStrings.addRaw(source.rich);
                cell.constant = " t=\"s\"><v>";
                appendInteger(cell.constant, index);
                cell.constant += "</v></c>";
            }
        } else {
            static const QRegularExpression totalForm(
                QStringLiteral("^=\\s*([A-Za-z]+)\\s*\\(\\s*(.+?)\\s*\\)$"));
            const auto columnOf = [&](const QString& name) {
                const int column = mTable ? mTable->columnIndex(name) : -1;
                if (column < 0)
                    throw TEXLReportError(
                        QStringLiteral("Template cell %1 (%2 band): the report's rows have no column \"%3\"")
                            .arg(where, bandTypeName(band.band->type), name));
                return column;
            };
            const auto namedValue = [&](const QString& name) {
                const auto it = mValues.constFind(name.toLower());
                if (it == mValues.constEnd())
                    throw TEXLReportError(
                        QStringLiteral("Template cell %1 (%2 band): the report has no value named \"%3\"")
                            .arg(where, bandTypeName(band.band->type), name));
                return it.value().second;
            };
            if (pieces.size() == 1) {
                const QString ref = pieces[0].text;
                const auto m = totalForm.match(ref);
                if (m.hasMatch()) {
                    const QString function = m.captured(1).toUpper();
                    for (const TotalFunction& f : kTotals)
                        if (function == QLatin1String(f.name))
                            cell.totalCode = f.code;
                    if (!cell.totalCode)
                        throw TEXLReportError(
                            QStringLiteral("Template cell %1: \"%2\" is not a total (use SUM, COUNT, "
                                           "COUNTA, AVERAGE, MIN or MAX)")
                                .arg(where, function));
                    if (band.band->type == TEXLBandType::MasterData)
                        throw TEXLReportError(
                            QStringLiteral("Template cell %1: a total cannot stand in the master-data band")
                                .arg(where));
                    cell.kind = Cell::Total;
                    cell.tableColumn = columnOf(m.captured(2));
                    for (size_t slot = 0; slot < mTotalTableColumn.size(); ++slot)
                        if (mTotalTableColumn[slot] == cell.tableColumn)
                            cell.totalSlot = int(slot);
                    if (cell.totalSlot < 0) {
                        cell.totalSlot = int(mTotalTableColumn.size());
                        mTotalTableColumn.push_back(cell.tableColumn);
                        mTotalSheetColumn.push_back(0);
                        mTotalRowOffset.push_back(0);
                    }
                } else if (ref.startsWith(u'=')) {
                    cell.kind = Cell::Column;
                    cell.tableColumn = columnOf(ref.mid(1).trimmed());
                } else {
                    cell.kind = Cell::Named;
                    cell.named = namedValue(ref);
                }
            } else {
                cell.kind = Cell::Text;
                for (const Piece& p : pieces) {
                    if (!p.reference)
                        cell.pieces.emplace_back(-1, p.text);
                    else if (p.text.startsWith(u'='))
                        cell.pieces.emplace_back(columnOf(p.text.mid(1).trimmed()), QString());
                    else
                        cell.pieces.emplace_back(-1, namedValue(p.text));
                }
            }
        }
    }
    return cell;
}

void SheetFiller::compileTotals()
{
    Band& master = mBands[size_t(mMaster - mBands.data())];
    for (size_t slot = 0; slot < mTotalTableColumn.size(); ++slot) {
        bool found = false;
        for (size_t off = 0; off < master.rows.size() && !found; ++off) {
            for (Cell& c : master.rows[off].cells) {
                if (c.kind == Cell::Column && c.tableColumn == mTotalTableColumn[slot]) {
                    c.feedsSlot = int(slot);
                    mTotalSheetColumn[slot] = c.column;
                    mTotalRowOffset[slot] = int(off);
                    found = true;
                    break;
                }
            }
        }
        if (!found)
            throw TEXLReportError(
                QStringLiteral("A total of \"%1\" needs a cell of the master-data band that shows {=%1}")
                    .arg(mTable->columnName(mTotalTableColumn[slot])));
    }
}

void SheetFiller::checkRowCount(const std::vector<int>& breakLevel) const
{
    const long long rows = mTable ? mTable->rowCount() : 0;
    long long total =
        (mTitle ? mTitle->height() : 0) + (mSummary ? mSummary->height() : 0) + rows * mMaster->height();
    for (size_t level = 0; level < mHeaders.size() && rows > 0; ++level) {
        long long groups = 1;
        for (size_t r = 1; r < breakLevel.size(); ++r)
            if (breakLevel[r] <= int(level))
                ++groups;
        total += groups * (mHeaders[level]->height() + (mFooters[level] ? mFooters[level]->height() : 0));
    }
    if (total > kMaxRows)
        throw TEXLReportError(QStringLiteral("The report needs %1 rows, more than the %2 rows a sheet holds; "
                                             "choose a shorter period or fewer rows")
                                  .arg(total)
                                  .arg(kMaxRows));
}

int SheetFiller::reserveChunk()
{
    mChunks.emplace_back();
    const int index = int(mChunks.size()) - 1;
    mChunks.emplace_back();
    return index;
}

QVariant SheetFiller::columnValue(int tableRow, int column) const
{
    if (tableRow < 0 || !mTable)
        return QVariant();
    QVariant v = mTable->value(tableRow, column);
    if (v.isNull())
        return QVariant();
    bool ok = false;
    switch (mTable->columnType(column)) {
    case ColumnType::Text:
        if (v.typeId() != QMetaType::QString)
            v = QVariant(v.toString());
        break;
    case ColumnType::Integer:
        if (v.typeId() != QMetaType::LongLong) {
            const long long i = v.toLongLong(&ok);
            if (ok)
                v = QVariant(i);
        }
        break;
    case ColumnType::Float:
        if (v.typeId() != QMetaType::Double) {
            const double d = v.toDouble(&ok);
            if (ok)
                v = QVariant(d);
        }
        break;
    case ColumnType::DateTime:
        if (v.typeId() == QMetaType::QDate) {
            v = QVariant(v.toDate().startOfDay());
        } else if (v.typeId() == QMetaType::QString) {
            const QDateTime dt = QDateTime::fromString(v.toString(), Qt::ISODate);
            if (dt.isValid())
                v = QVariant(dt);
        }
        break;
    }
    return v;
}

QString SheetFiller::textOf(const QVariant& value) const
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QString();
    case QMetaType::QDateTime:
        return QLocale().toString(value.toDateTime(), QLocale::ShortFormat);
    case QMetaType::QDate:
        return QLocale().toString(value.toDate(), QLocale::ShortFormat);
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.isNull() ? QString() : value.toString();
    }
}

namespace {

void openCell(QByteArray& out, const QByteArray& letters, int row, const QByteArray& style)
{
    out.append("<c r=\"", 6);
    out.append(letters);
    appendInteger(out, row);
    out.append('"');
    out.append(style);
}

} // namespace

void SheetFiller::writeValue(QByteArray& out, const Cell& cell, int row, QVariant value)
{
    double number = 0;
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        break;
    case QMetaType::Bool:
        openCell(out, cell.letters, row, cell.style);
        out.append(value.toBool() ? " t=\"b\"><v>1</v></c>" : " t=\"b\"><v>0</v></c>");
        return;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UInt:
        openCell(out, cell.letters, row, cell.style);
        out.append("><v>", 4);
        appendInteger(out, value.toLongLong());
        out.append("</v></c>", 8);
        return;
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        number = value.toDouble();
        openCell(out, cell.letters, row, cell.style);
        if (!std::isfinite(number)) {
            out.append(" t=\"e\"><v>#NUM!</v></c>");
        } else {
            out.append("><v>", 4);
            appendDouble(out, number);
            out.append("</v></c>", 8);
        }
        return;
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const QDateTime dt =
            value.typeId() == QMetaType::QDate ? value.toDate().startOfDay() : value.toDateTime();
        if (excelSerial(dt, &number)) {
            openCell(out, cell.letters, row, cell.style);
            out.append("><v>", 4);
            appendDouble(out, number);
            out.append("</v></c>", 8);
            return;
        }
        // Before 1900 a sheet has no serial for it: it goes as text.
        value = dt.isValid() ? QVariant(dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))) : QVariant();
        break;
    }
    default:
        break;
    }
    const QString text = value.isNull() ? QString() : value.toString();
    if (text.isEmpty()) {
        if (!cell.style.isEmpty()) {
            openCell(out, cell.letters, row, cell.style);
            out.append("/>", 2);
        }
        return;
    }
    if (text.size() > kMaxCellText)
        throw TEXLReportError(
            QStringLiteral("Cell %1 of the report would hold a text of %2 characters; a cell holds "
                           "at most %3")
                .arg(address(cell.column, row))
                .arg(text.size())
                .arg(kMaxCellText));
    openCell(out, cell.letters, row, cell.style);
    out.append(" t=\"s\"><v>", 10);
    appendInteger(out, mStrings.add(text));
    mStrings.countUse();
    out.append("</v></c>", 8);
}

void SheetFiller::render(const Band& band, int startRow, int tableRow, const Scope* scope, QByteArray& out,
                         bool accumulate)
{
    for (int off = 0; off < band.height(); ++off) {
        const Band::Row& row = band.rows[size_t(off)];
        if (!row.present)
            continue;
        const int r = startRow + off;
        out.append("<row r=\"", 8);
        appendInteger(out, r);
        out.append('"');
        out.append(row.attributes);
        if (row.cells.empty()) {
            out.append("/>", 2);
            continue;
        }
        out.append('>');
        for (const Cell& cell : row.cells) {
            QVariant value;
            switch (cell.kind) {
            case Cell::Blank:
                if (!cell.style.isEmpty()) {
                    openCell(out, cell.letters, r, cell.style);
                    out.append("/>", 2);
                }
                continue;
            case Cell::Constant:
                openCell(out, cell.letters, r, cell.style);
                out.append(cell.constant);
                continue;
            case Cell::Total: {
                const Scope::Accumulator& a = scope->totals[size_t(cell.totalSlot)];
                openCell(out, cell.letters, r, cell.style);
                if (scope->firstMasterRow == 0) {
                    out.append("><v>0</v></c>");
                    continue;
                }
                const QByteArray column = columnLetters(mTotalSheetColumn[size_t(cell.totalSlot)]);
                const int offset = mTotalRowOffset[size_t(cell.totalSlot)];
                double cached = 0;
                bool error = false;
                switch (cell.totalCode) {
                case 9:
                    cached = a.sum;
                    break;
                case 2:
                    cached = double(a.numbers);
                    break;
                case 3:
                    cached = double(a.filled);
                    break;
                case 1:
                    error = a.numbers == 0;
                    cached = error ? 0 : a.sum / double(a.numbers);
                    break;
                case 5:
                    cached = a.numbers ? a.min : 0;
                    break;
                case 4:
                    cached = a.numbers ? a.max : 0;
                    break;
                }
                out.append(error ? " t=\"e\"><f>SUBTOTAL(" : "><f>SUBTOTAL(");
                appendInteger(out, cell.totalCode);
                out.append(',');
                out.append(column);
                appendInteger(out, scope->firstMasterRow + offset);
                out.append(':');
                out.append(column);
                appendInteger(out, scope->lastMasterRow + offset);
                out.append(")</f><v>");
                if (error)
                    out.append("#DIV/0!");
                else
                    appendDouble(out, cached);
                out.append("</v></c>");
                continue;
            }
            case Cell::Column:
                value = columnValue(tableRow, cell.tableColumn);
                break;
            case Cell::Named:
                value = cell.named;
                break;
            case Cell::Text: {
                QString text;
                for (const auto& [column, literal] : cell.pieces)
                    text += column < 0 ? literal : textOf(columnValue(tableRow, column));
                value = text;
                break;
            }
            }
            if (mOnCellValue)
                mOnCellValue(*band.band, cell.bandColumn, value);
            if (accumulate && cell.feedsSlot >= 0) {
                double number = 0;
                const bool numeric = isNumber(value, &number);
                const bool filled =
                    !value.isNull() && !(value.typeId() == QMetaType::QString && value.toString().isEmpty());
                for (Scope& s : mScopes) {
                    Scope::Accumulator& a = s.totals[size_t(cell.feedsSlot)];
                    if (numeric) {
                        a.sum += number;
                        ++a.numbers;
                        a.min = std::min(a.min, number);
                        a.max = std::max(a.max, number);
                    }
                    if (filled)
                        ++a.filled;
                }
            }
            writeValue(out, cell, r, std::move(value));
        }
        out.append("</row>", 6);
    }
    for (const CellRange& m : band.merges) {
        mMerges.append("<mergeCell ref=\"");
        mMerges.append(columnLetters(m.firstColumn));
        appendInteger(mMerges, startRow + m.firstRow);
        mMerges.append(':');
        mMerges.append(columnLetters(m.lastColumn));
        appendInteger(mMerges, startRow + m.lastRow);
        mMerges.append("\"/>");
        ++mMergeCount;
    }
}

void SheetFiller::fill()
{
    planBands();
    compileTotals();
    const int rows = mTable ? mTable->rowCount() : 0;
    const int levels = int(mGroupColumns.size());

    // The outermost group level whose key changes at each row (levels when none does).
    std::vector<int> breakLevel(size_t(std::max(rows, 0)), levels);
    if (levels > 0) {
        std::vector<QVariant> previous(static_cast<size_t>(levels));
        for (int r = 0; r < rows; ++r) {
            for (int level = 0; level < levels; ++level) {
                QVariant key = mTable->value(r, mGroupColumns[size_t(level)]);
                if (r > 0 && breakLevel[size_t(r)] == levels && !(key == previous[size_t(level)]))
                    breakLevel[size_t(r)] = level;
                previous[size_t(level)] = std::move(key);
            }
        }
    }
    checkRowCount(breakLevel);

    mChunks.clear();
    mChunks.emplace_back();
    const size_t slotCount = mTotalTableColumn.size();
    mScopes.clear();
    mScopes.push_back(Scope());
    mScopes[0].totals.resize(slotCount);
    mScopes[0].firstTableRow = rows > 0 ? 0 : -1;
    mScopes[0].lastTableRow = rows - 1;

    int row = 1;
    int titleChunk = -1;
    int titleRow = 0;
    if (mTitle) {
        // Written last: its totals are known only at the end.
        titleChunk = reserveChunk();
        titleRow = row;
        row += mTitle->height();
    }
    const auto openGroup = [&](int level, int tableRow) {
        Scope s;
        s.firstTableRow = tableRow;
        s.totals.resize(slotCount);
        s.headerChunk = reserveChunk();
        s.headerRow = row;
        row += mHeaders[size_t(level)]->height();
        mScopes.push_back(std::move(s));
    };
    const auto closeGroup = [&](int level, int lastTableRow) {
        Scope& s = mScopes.back();
        s.lastTableRow = lastTableRow;
        render(*mHeaders[size_t(level)], s.headerRow, s.firstTableRow, &s, mChunks[size_t(s.headerChunk)],
               false);
        if (const Band* footer = mFooters[size_t(level)]) {
            render(*footer, row, s.lastTableRow, &s, mChunks.back(), false);
            row += footer->height();
        }
        mScopes.pop_back();
    };
    for (int r = 0; r < rows; ++r) {
        const int from = r == 0 ? 0 : breakLevel[size_t(r)];
        if (r > 0)
            for (int level = levels - 1; level >= from; --level)
                closeGroup(level, r - 1);
        for (int level = from; level < levels; ++level)
            openGroup(level, r);
        for (Scope& s : mScopes) {
            if (s.firstMasterRow == 0)
                s.firstMasterRow = row;
            s.lastMasterRow = row;
        }
        render(*mMaster, row, r, nullptr, mChunks.back(), true);
        row += mMaster->height();
    }
    if (rows > 0)
        for (int level = levels - 1; level >= 0; --level)
            closeGroup(level, rows - 1);
    if (mSummary)
        render(*mSummary, row, rows - 1, &mScopes[0], mChunks.back(), false);
    if (mTitle)
        render(*mTitle, titleRow, rows > 0 ? 0 : -1, &mScopes[0], mChunks[size_t(titleChunk)], false);
}

QByteArray SheetFiller::sheetData() const
{
    qsizetype total = 32;
    for (const QByteArray& chunk : mChunks)
        total += chunk.size();
    QByteArray out;
    out.reserve(total);
    out.append("<sheetData>");
    for (const QByteArray& chunk : mChunks)
        out.append(chunk);
    out.append("</sheetData>");
    return out;
}

QByteArray SheetFiller::mergeCells() const
{
    if (mMergeCount == 0)
        return QByteArray();
    QByteArray out("<mergeCells count=\"");
    appendInteger(out, mMergeCount);
    out.append("\">");
    out.append(mMerges);
    out.append("</mergeCells>");
    return out;
}

} // namespace xlsx

#include "Dataset.h"

#include "DbError.h"
#include "PgResult.h"

#include <QDate>
#include <QDateTime>

namespace db {

namespace {

QByteArray encodeValue(DataType type, const QVariant& v)
{
    switch (type) {
    case DataType::Integer:
        return QByteArray::number(v.toLongLong());
    case DataType::Float:
        return QByteArray::number(v.toDouble(), 'g', 17);
    case DataType::Boolean:
        if (v.metaType().id() == QMetaType::QString) {
            const QString t = v.toString().trimmed().toLower();
            return t == u"t" || t == u"true" || t == u"1" || t == u"y" || t == u"yes" ? "t" : "f";
        }
        return v.toBool() ? "t" : "f";
    case DataType::Date:
        return v.toDate().toString(Qt::ISODate).toLatin1();
    case DataType::DateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toLatin1();
    case DataType::Blob:
        return "\\x" + v.toByteArray().toHex();
    default:
        return v.toString().toUtf8();
    }
}

// A null text counts as a null value (Qt 6 variants holding one are not null themselves).
bool isNullValue(const QVariant& v)
{
    return v.isNull() || (v.metaType().id() == QMetaType::QString && v.toString().isNull());
}

} // namespace

struct Dataset::Column
{
    DataType type = DataType::String;
    std::string bytes;
    std::vector<std::uint32_t> ends;
    std::vector<bool> nulls;
    // Edited or refreshed values replace the fetched text of their rows.
    std::vector<QVariant> overlay;
    std::vector<bool> overlaid;

    void reserve(int rows, std::size_t bytesHint)
    {
        ends.reserve(rows);
        nulls.reserve(rows);
        bytes.reserve(bytesHint);
    }
    void append(const char* data, int length, bool isNull)
    {
        if (!isNull)
            bytes.append(data, length);
        ends.push_back(std::uint32_t(bytes.size()));
        nulls.push_back(isNull);
        if (!overlaid.empty()) {
            overlaid.push_back(false);
            overlay.emplace_back();
        }
    }
    void appendValue(const QVariant& v)
    {
        if (isNullValue(v)) {
            append(nullptr, 0, true);
            return;
        }
        const QByteArray text = encodeValue(type, v);
        append(text.constData(), int(text.size()), false);
    }
    QVariant get(int row) const
    {
        if (row < 0 || row >= int(ends.size()))
            return {};
        if (!overlaid.empty() && overlaid[row])
            return overlay[row];
        if (nulls[row])
            return {};
        const std::uint32_t begin = row == 0 ? 0 : ends[row - 1];
        return decodeTextValue(type, bytes.data() + begin, int(ends[row] - begin));
    }
    void set(int row, const QVariant& v)
    {
        if (overlaid.empty()) {
            overlaid.assign(ends.size(), false);
            overlay.resize(ends.size());
        }
        overlaid[row] = true;
        overlay[row] = isNullValue(v) ? QVariant() : v;
    }
    std::size_t memory() const
    {
        return bytes.capacity() + ends.capacity() * sizeof(std::uint32_t) + nulls.capacity() / 8 +
               overlay.capacity() * sizeof(QVariant) + overlaid.capacity() / 8;
    }
};

Dataset::Dataset(QObject* parent) : QObject(parent) {}

Dataset::~Dataset() = default;

void Dataset::close()
{
    if (!mOpen)
        return;
    mOpen = false;
    mColumns.clear();
    mActive.clear();
    mIndexByName.clear();
    mRowCount = 0;
    mView.clear();
    mRemoved.clear();
    mUseView = false;
    mCurrent = -1;
    mEof = mBof = true;
    mEditing = false;
    mEditBuffer.clear();
    emit afterClose();
}

int Dataset::fieldIndex(const QString& name) const
{
    return mIndexByName.value(name.toUpper(), -1);
}

Field* Dataset::findField(const QString& name) const
{
    const int i = fieldIndex(name);
    return i < 0 ? nullptr : mActive[i];
}

Field& Dataset::fieldByName(const QString& name) const
{
    if (Field* f = findField(name))
        return *f;
    throw DbError(QStringLiteral("Field '%1' not found").arg(name).toStdString());
}

Field& Dataset::defineField(const QString& name)
{
    for (auto& f : mFieldStore)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return *f;
    mFieldStore.push_back(std::make_unique<Field>(name.toUpper(), DataType::Unknown));
    return *mFieldStore.back();
}

void Dataset::addCalculatedField(const QString& name, DataType type, CalcFunction function, int size,
                                 const QStringList& dependsOn)
{
    for (auto& def : mCalcDefs)
        if (def.name.compare(name, Qt::CaseInsensitive) == 0) {
            def = CalcDef{name.toUpper(), type, size, std::move(function), dependsOn};
            return;
        }
    mCalcDefs.push_back(CalcDef{name.toUpper(), type, size, std::move(function), dependsOn});
}

void Dataset::loadEmpty()
{
    loadResult(PgResult());
}

void Dataset::setupFields(const QList<FieldDef>& columns)
{
    close();
    auto addField = [this](const QString& name, DataType type, int size, bool calculated) {
        Field& f = defineField(name);
        f.mType = type;
        f.mSize = size;
        f.mCalculated = calculated;
        f.mIndex = int(mActive.size());
        mActive.push_back(&f);
        mIndexByName.insert(f.name().toUpper(), f.mIndex);
        auto column = std::make_unique<Column>();
        column->type = type;
        mColumns.push_back(std::move(column));
    };
    for (const FieldDef& def : columns)
        addField(def.name, def.type, def.size, false);
    for (const auto& def : mCalcDefs)
        if (fieldIndex(def.name) < 0)
            addField(def.name, def.type, def.size, true);
}

// Appends the calculated values of a physical row whose stored values are all in place.
void Dataset::fillCalculated(int physicalRow)
{
    for (int c = 0; c < fieldCount(); ++c) {
        if (!mActive[c]->isCalculated())
            continue;
        const CalcDef* def = nullptr;
        for (const auto& d : mCalcDefs)
            if (d.name == mActive[c]->name())
                def = &d;
        mColumns[c]->appendValue(def ? def->function(*this, physicalRow) : QVariant());
    }
}

void Dataset::loadResult(const PgResult& result)
{
    const int rows = result.rowCount();
    const int cols = result.columnCount();
    QList<FieldDef> defs;
    defs.reserve(cols);
    for (int c = 0; c < cols; ++c)
        defs.append(FieldDef{result.columnName(c), result.columnType(c), result.columnSize(c)});
    setupFields(defs);

    for (int c = 0; c < cols; ++c) {
        Column& column = *mColumns[c];
        std::size_t total = 0;
        for (int r = 0; r < rows; ++r)
            total += std::size_t(result.rawLength(r, c));
        column.reserve(rows, total);
        for (int r = 0; r < rows; ++r) {
            const bool isNull = result.isNullValue(r, c);
            column.append(result.rawValue(r, c), result.rawLength(r, c), isNull);
        }
    }
    mRowCount = rows;
    if (!mCalcDefs.empty()) {
        for (int c = cols; c < fieldCount(); ++c)
            mColumns[c]->reserve(rows, 0);
        for (int r = 0; r < rows; ++r)
            fillCalculated(r);
    }
    mOpen = true;
}

void Dataset::loadRows(const QList<FieldDef>& columns, const QList<QVariantList>& rows)
{
    setupFields(columns);
    const int cols = int(columns.size());
    const int count = int(rows.size());
    for (int c = 0; c < fieldCount(); ++c)
        mColumns[c]->reserve(count, 0);
    for (int c = 0; c < cols; ++c)
        for (const QVariantList& row : rows)
            mColumns[c]->appendValue(c < row.size() ? row[c] : QVariant());
    mRowCount = count;
    if (!mCalcDefs.empty())
        for (int r = 0; r < count; ++r)
            fillCalculated(r);
    mOpen = true;
}

int Dataset::appendOpenRow(const QVariantList& values)
{
    if (!mOpen)
        throw DbError("Dataset is not open");
    if (mEditing)
        post();
    const int phys = mRowCount;
    for (int c = 0; c < fieldCount(); ++c)
        if (!mActive[c]->isCalculated())
            mColumns[c]->appendValue(c < values.size() ? values[c] : QVariant());
    ++mRowCount;
    fillCalculated(phys);
    if (!mRemoved.empty())
        mRemoved.push_back(false);
    int row = phys;
    if (mUseView) {
        const bool filtering = mFiltered && !mFilterExpr.isEmpty();
        if (filtering && !rowMatches(phys)) {
            row = -1;
        } else {
            mView.push_back(phys);
            row = int(mView.size()) - 1;
        }
    }
    if (mCurrent < 0 && !isEmpty()) {
        mCurrent = 0;
        mBof = mEof = false;
    }
    emit rowsReset();
    return row;
}

void Dataset::finishOpen(int currentRow)
{
    if (mFiltered)
        mFilterExpr =
            FilterExpression::compile(mFilterText, [this](const QString& n) { return fieldIndex(n); });
    rebuildView();
    setCurrentInternal(isEmpty() ? -1 : qBound(0, currentRow, recordCount() - 1), false);
    mBof = true;
    mEof = isEmpty();
    emit afterOpen();
    emit afterScroll();
}

QVariant Dataset::physicalValue(int physicalRow, int column) const
{
    if (column < 0 || column >= int(mColumns.size()))
        return {};
    return mColumns[column]->get(physicalRow);
}

bool Dataset::isNullAt(int row, int column) const
{
    return value(row, column).isNull();
}

void Dataset::setCurrentInternal(int row, bool notify)
{
    if (mEditing)
        post();
    const int previous = mCurrent;
    mCurrent = isEmpty() ? -1 : qBound(0, row, recordCount() - 1);
    mEof = mBof = false;
    if (notify && previous != mCurrent)
        emit afterScroll();
}

void Dataset::setCurrentRow(int row)
{
    setCurrentInternal(row, true);
}

void Dataset::first()
{
    setCurrentInternal(0, true);
    mBof = true;
}

void Dataset::last()
{
    setCurrentInternal(recordCount() - 1, true);
    mEof = true;
}

void Dataset::next()
{
    if (mCurrent + 1 >= recordCount()) {
        if (mEditing)
            post();
        mEof = true;
        return;
    }
    setCurrentInternal(mCurrent + 1, true);
}

void Dataset::prior()
{
    if (mCurrent <= 0) {
        if (mEditing)
            post();
        mBof = true;
        return;
    }
    setCurrentInternal(mCurrent - 1, true);
}

QVariant Dataset::value(const QString& field) const
{
    const int column = fieldByName(field).index();
    if (mEditing) {
        auto it = mEditBuffer.constFind(column);
        if (it != mEditBuffer.constEnd())
            return *it;
    }
    if (mCurrent < 0)
        return {};
    return value(mCurrent, column);
}

QString Dataset::asString(const QString& field) const
{
    const Field& f = fieldByName(field);
    const QVariant v = value(field);
    if (f.dataType() == DataType::DateTime || f.dataType() == DataType::Date ||
        f.dataType() == DataType::Float)
        return f.displayText(v);
    return v.toString();
}

static bool keyEquals(const QVariant& actual, const QVariant& wanted, LocateOptions options)
{
    if (actual.isNull() || wanted.isNull())
        return actual.isNull() && wanted.isNull();
    const int wantedType = wanted.metaType().id();
    if (wantedType == QMetaType::QString || actual.metaType().id() == QMetaType::QString) {
        const QString a = actual.toString();
        const QString w = wanted.toString();
        const Qt::CaseSensitivity cs =
            options.testFlag(LocateOption::CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
        return options.testFlag(LocateOption::PartialKey) ? a.startsWith(w, cs) : a.compare(w, cs) == 0;
    }
    if (actual.metaType().id() == QMetaType::Double || wantedType == QMetaType::Double)
        return actual.toDouble() == wanted.toDouble();
    if (actual.metaType().id() == QMetaType::LongLong)
        return actual.toLongLong() == wanted.toLongLong();
    return actual == wanted;
}

bool Dataset::locate(const QString& keyFields, const QVariantList& values, LocateOptions options)
{
    const QStringList names = keyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (names.size() != values.size())
        throw DbError(QStringLiteral("Locate: %1 key fields, %2 values")
                          .arg(names.size())
                          .arg(values.size())
                          .toStdString());
    std::vector<int> columns;
    for (const QString& n : names)
        columns.push_back(fieldByName(n.trimmed()).index());
    for (int row = 0; row < recordCount(); ++row) {
        bool all = true;
        for (std::size_t k = 0; k < columns.size() && all; ++k)
            all = keyEquals(value(row, columns[k]), values[int(k)], options);
        if (all) {
            setCurrentInternal(row, true);
            return true;
        }
    }
    return false;
}

void Dataset::edit()
{
    if (!mOpen)
        throw DbError("Dataset is not open");
    if (!mLocalEdits)
        throw DbError("Dataset does not take edits");
    if (mCurrent < 0)
        throw DbError("Dataset is empty");
    mEditing = true;
}

void Dataset::setValue(const QString& field, const QVariant& value)
{
    const int column = fieldByName(field).index();
    if (!mEditing)
        edit();
    mEditBuffer.insert(column, value);
}

void Dataset::cancel()
{
    mEditing = false;
    mEditBuffer.clear();
}

void Dataset::storeOverlay(int physicalRow, int column, const QVariant& value)
{
    mColumns[column]->set(physicalRow, value);
}

void Dataset::computeCalculated(int physicalRow, int changedColumn)
{
    const QString changed = changedColumn < 0 ? QString() : mActive[changedColumn]->name();
    for (const auto& def : mCalcDefs) {
        if (!changed.isEmpty() && !def.dependsOn.isEmpty() &&
            !def.dependsOn.contains(changed, Qt::CaseInsensitive))
            continue;
        const int column = fieldIndex(def.name);
        if (column >= 0 && mActive[column]->isCalculated())
            storeOverlay(physicalRow, column, def.function(*this, physicalRow));
    }
}

void Dataset::post()
{
    if (!mEditing)
        return;
    mEditing = false;
    const int phys = physicalRow(mCurrent);
    int changed = -1;
    for (auto it = mEditBuffer.constBegin(); it != mEditBuffer.constEnd(); ++it) {
        storeOverlay(phys, it.key(), it.value());
        changed = mEditBuffer.size() == 1 ? it.key() : -1;
    }
    mEditBuffer.clear();
    if (!mCalcDefs.empty())
        computeCalculated(phys, changed);
    if (mFiltered && !mFilterExpr.isEmpty() && !rowMatches(phys)) {
        dropFromView(mCurrent);
        return;
    }
    emit rowChanged(mCurrent);
}

void Dataset::setValueAt(int row, int column, const QVariant& value)
{
    if (!mLocalEdits)
        throw DbError("Dataset does not take edits");
    if (row < 0 || row >= recordCount() || column < 0 || column >= fieldCount())
        throw DbError("Row or column out of range");
    const int saved = mCurrent;
    mCurrent = row;
    if (mEditing) {
        mEditBuffer.clear();
        mEditBuffer.insert(column, value);
        post();
    } else {
        // The same as edit, set and post without the edit buffer: tick columns write every row.
        const int phys = physicalRow(row);
        storeOverlay(phys, column, value);
        if (!mCalcDefs.empty())
            computeCalculated(phys, column);
        if (mFiltered && !mFilterExpr.isEmpty() && !rowMatches(phys))
            dropFromView(row);
        else
            emit rowChanged(row);
    }
    if (saved != row)
        mCurrent = qBound(-1, saved, recordCount() - 1);
}

int Dataset::removeRows(const std::function<bool(int row)>& drop)
{
    if (!mOpen)
        return 0;
    if (mEditing)
        post();
    const int count = recordCount();
    std::vector<int> kept;
    kept.reserve(count);
    int newCurrent = -1;
    for (int row = 0; row < count; ++row) {
        const int phys = physicalRow(row);
        if (!drop(row)) {
            if (newCurrent < 0 && row >= mCurrent)
                newCurrent = int(kept.size());
            kept.push_back(phys);
            continue;
        }
        if (mRemoved.empty())
            mRemoved.assign(mRowCount, false);
        mRemoved[phys] = true;
    }
    const int dropped = count - int(kept.size());
    if (dropped == 0)
        return 0;
    mView = std::move(kept);
    mUseView = true;
    if (newCurrent < 0)
        newCurrent = int(mView.size()) - 1;
    setCurrentInternal(newCurrent, false);
    emit rowsReset();
    emit afterScroll();
    return dropped;
}

void Dataset::removeRow(int row)
{
    const int phys = physicalRow(row);
    if (mRemoved.empty())
        mRemoved.assign(mRowCount, false);
    mRemoved[phys] = true;
    dropFromView(row);
}

void Dataset::dropFromView(int row)
{
    if (!mUseView) {
        mView.resize(mRowCount);
        for (int r = 0; r < mRowCount; ++r)
            mView[r] = r;
        mUseView = true;
    }
    mView.erase(mView.begin() + row);
    if (mCurrent >= recordCount())
        mCurrent = recordCount() - 1;
    emit rowsReset();
}

bool Dataset::rowMatches(int physicalRow) const
{
    return mFilterExpr.matches([this, physicalRow](int c) { return physicalValue(physicalRow, c); });
}

void Dataset::rebuildView()
{
    const bool filtering = mFiltered && !mFilterExpr.isEmpty();
    mView.clear();
    mUseView = filtering || !mRemoved.empty();
    if (!mUseView)
        return;
    mView.reserve(mRowCount);
    for (int r = 0; r < mRowCount; ++r)
        if ((mRemoved.empty() || !mRemoved[r]) && (!filtering || rowMatches(r)))
            mView.push_back(r);
}

void Dataset::setFilter(const QString& text)
{
    if (text == mFilterText)
        return;
    if (mEditing)
        post();
    FilterExpression compiled;
    if (mFiltered && mOpen)
        compiled = FilterExpression::compile(text, [this](const QString& n) { return fieldIndex(n); });
    mFilterText = text;
    mFilterExpr = compiled;
    if (mFiltered && mOpen) {
        rebuildView();
        setCurrentInternal(0, false);
        emit rowsReset();
        emit afterScroll();
    }
}

void Dataset::setFiltered(bool on)
{
    if (mEditing)
        post();
    if (on && mOpen)
        mFilterExpr =
            FilterExpression::compile(mFilterText, [this](const QString& n) { return fieldIndex(n); });
    else if (!on)
        mFilterExpr = FilterExpression();
    const bool changed = mFiltered != on;
    mFiltered = on;
    if (mOpen && (changed || on)) {
        rebuildView();
        setCurrentInternal(0, false);
        emit rowsReset();
        emit afterScroll();
    }
}

void Dataset::replaceRow(int physicalRow, const PgResult& result, int resultRow)
{
    for (int c = 0; c < result.columnCount(); ++c) {
        const int column = fieldIndex(result.columnName(c));
        if (column < 0 || mActive[column]->isCalculated())
            continue;
        QVariant v;
        if (!result.isNullValue(resultRow, c))
            v = decodeTextValue(mActive[column]->dataType(), result.rawValue(resultRow, c),
                                result.rawLength(resultRow, c));
        storeOverlay(physicalRow, column, v);
    }
    computeCalculated(physicalRow);
}

std::size_t Dataset::memoryUsage() const
{
    std::size_t total = mView.capacity() * sizeof(int) + mRemoved.capacity() / 8;
    for (const auto& c : mColumns)
        total += c->memory();
    return total;
}

} // namespace db

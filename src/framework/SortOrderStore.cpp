#include "SortOrderStore.h"

#include "Catalogue.h"
#include "Cp1251.h"
#include "FrameworkFiles.h"
#include "IniFile.h"
#include "MessageDialogs.h"
#include "Query.h"
#include "Session.h"

#include <optional>

namespace {

const char* const kDesignOrderProperty = "tevDesignOrder";

lang::IniFile store()
{
    return lang::IniFile(FrameworkFiles::sortOrderFile());
}

QString orderSection(const QString& scope)
{
    return scope.toUpper() + QLatin1Char('/') + FrameworkFiles::programFileName() + QLatin1String("/OrderBy");
}

QString switchSection(const QString& scope)
{
    QString upper = scope;
    for (QChar& c : upper)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    return upper + QLatin1String("_ORDERBY");
}

QString defKey(const QString& orderKey)
{
    return orderKey + QLatin1String("_def");
}

// The Windows console's program file; orders it saved are still found after the store file was
// copied over from there.
constexpr char kWindowsProgramFile[] = "DEDAdize.exe";

QString windowsOrderSection(const QString& scope)
{
    return scope.toUpper() + QLatin1Char('/') + QLatin1String(kWindowsProgramFile) +
           QLatin1String("/OrderBy");
}

// Our own section wins; an order taken over from the Windows section moves to ours once written.
void writeKey(const QString& scope, const QString& key, const QString& value)
{
    lang::IniFile ini = store();
    ini.writeString(orderSection(scope), key, value);
    if (ini.valueExists(windowsOrderSection(scope), key))
        ini.deleteKey(windowsOrderSection(scope), key);
}

void deleteKey(const QString& scope, const QString& key)
{
    lang::IniFile ini = store();
    ini.deleteKey(orderSection(scope), key);
    if (ini.valueExists(windowsOrderSection(scope), key))
        ini.deleteKey(windowsOrderSection(scope), key);
}

bool readKey(const QString& scope, const QString& key, QString& value)
{
    const lang::IniFile ini = store();
    QString section = orderSection(scope);
    if (!ini.valueExists(section, key))
        section = windowsOrderSection(scope);
    if (!ini.valueExists(section, key)) {
        value.clear();
        return false;
    }
    value = ini.readString(section, key);
    return true;
}

// The design text as the original's string list gave it: CR, LF or CR LF end a line, a break at the
// very end opens no further line, and every line is written back followed by CR LF.
QByteArray designTextBytes(const QString& sql)
{
    QString text;
    text.reserve(sql.size() + 16);
    const qsizetype n = sql.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        text += QStringView(sql).mid(start, i - start);
        text += QLatin1String("\r\n");
        if (c == u'\r' && i + 1 < n && sql[i + 1] == u'\n')
            ++i;
        start = ++i;
    }
    if (start < n) {
        text += QStringView(sql).mid(start);
        text += QLatin1String("\r\n");
    }
    return lang::toCp1251(text);
}

quint32 textChecksum(const QByteArray& bytes)
{
    quint32 sum = 0;
    const qsizetype n = bytes.size();
    for (qsizetype k = 0; k < n; ++k) {
        const auto byte = static_cast<unsigned char>(bytes[k]);
        const auto next = k + 1 < n ? static_cast<unsigned char>(bytes[k + 1]) : 0u;
        if (byte == 0 && next == 0)
            continue;
        sum ^= quint32(k + 1) + byte;
    }
    return sum;
}

// The items of an order text: split at commas and blanks, a quoted item kept whole.
QStringList orderItems(const QString& text)
{
    QStringList items;
    QString item;
    QChar quote;
    for (const QChar c : text) {
        if (quote.isNull()) {
            if (c == u',' || c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') {
                if (!item.isEmpty())
                    items.append(item);
                item.clear();
                continue;
            }
            if (c == u'\'' || c == u'"')
                quote = c;
        } else if (c == quote) {
            quote = QChar();
        }
        item += c;
    }
    if (!item.isEmpty())
        items.append(item);
    return items;
}

// Column names of the query. A closed query is described by the server without running it, as
// the original layer read its field definitions; nothing when the server cannot tell (no
// connection, a PL/SQL call, parameters it cannot type).
std::optional<QStringList> fieldNames(db::Query& query)
{
    QStringList names;
    if (query.isOpen()) {
        for (int i = 0; i < query.fieldCount(); ++i)
            names.append(query.field(i).name());
        return names;
    }
    db::Session* session = query.session();
    if (!session || !session->connected())
        return std::nullopt;
    try {
        for (const db::FieldDef& column : query.describe())
            names.append(column.name);
        return names;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The macros a re-sortable query ends in, or nothing for any other query.
bool orderMacros(db::Query& query, db::Macro*& order, db::Macro*& field)
{
    order = query.macros().find(QStringLiteral("ORDER"));
    field = query.macros().find(QStringLiteral("FIELD"));
    return order && field && order->value().left(5).compare(QLatin1String("ORDER"), Qt::CaseInsensitive) == 0;
}

void reportIncorrectField(const db::Query& query, const QString& item, const QString& format)
{
    const QString pattern =
        format.isEmpty() ? QStringLiteral("Некорректное поле \"%s\" для сортировки") : format;
    lang::ShowMsgBox(nullptr,
                     QStringLiteral("TBaseForm.NotFindFieldForOrder: ") +
                         lang::format(pattern, {query.objectName() + QLatin1Char('.') + item}),
                     1);
}

} // namespace

bool IsOrderBySaveOn(const QString& scope)
{
    return store().readBool(switchSection(scope), QStringLiteral("SAVE"), true);
}

bool ReadOrderBy(const QString& scope, const QString& orderKey, QString& value)
{
    return readKey(scope, orderKey, value);
}

void WriteOrderBy(const QString& scope, const QString& orderKey, const QString& value)
{
    writeKey(scope, orderKey, value);
}

void DeleteOrderBy(const QString& scope, const QString& orderKey)
{
    deleteKey(scope, orderKey);
}

bool ReadOrderByDef(const QString& scope, const QString& orderKey, QString& value)
{
    return readKey(scope, defKey(orderKey), value);
}

void WriteOrderByDef(const QString& scope, const QString& orderKey, const QString& value)
{
    WriteOrderBy(scope, defKey(orderKey), value);
}

void DeleteOrderByDef(const QString& scope, const QString& orderKey)
{
    DeleteOrderBy(scope, defKey(orderKey));
}

QString QueryOrderKey(const db::Query& query)
{
    const quint32 sum = textChecksum(designTextBytes(query.sql()));
    QString key;
    if (const QObject* owner = query.parent())
        key = owner->objectName() + QLatin1Char('.');
    return key + query.objectName() + QLatin1Char('.') +
           QString::number(sum, 16).toUpper().rightJustified(4, u'0');
}

void RestoreQueryOrder(const QString& scope, db::Query& query, const QString& incorrectFieldFormat)
{
    if (!IsOrderBySaveOn(scope))
        return;
    db::Macro* order = nullptr;
    db::Macro* field = nullptr;
    if (!orderMacros(query, order, field))
        return;
    const QString key = QueryOrderKey(query);
    // The design order is what the query had when first restored; a second restore (after a
    // reconnect) must not take the restored order for it, or the next save would forget it.
    QVariant design = query.property(kDesignOrderProperty);
    if (!design.isValid()) {
        design = field->value();
        query.setProperty(kDesignOrderProperty, design);
    }
    WriteOrderByDef(scope, key, design.toString());

    QString saved;
    if (!ReadOrderBy(scope, key, saved))
        return;
    const QStringList items = orderItems(saved);
    if (!items.isEmpty()) {
        if (const std::optional<QStringList> names = fieldNames(query)) {
            const QString list = names->join(QLatin1Char(','));
            for (const QString& item : items) {
                if (item.compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0)
                    continue;
                if (!list.contains(item, Qt::CaseInsensitive)) {
                    reportIncorrectField(query, item, incorrectFieldFormat);
                    DeleteOrderBy(scope, key);
                    return;
                }
            }
        }
    }

    const bool wasOpen = query.isOpen();
    if (wasOpen)
        query.close();
    order->setActive(!saved.isEmpty());
    field->setActive(!saved.isEmpty());
    field->setValue(saved);
    if (wasOpen)
        query.open();
}

void SaveQueryOrder(const QString& scope, db::Query& query)
{
    if (!IsOrderBySaveOn(scope))
        return;
    db::Macro* order = nullptr;
    db::Macro* field = nullptr;
    if (!orderMacros(query, order, field))
        return;
    const QString key = QueryOrderKey(query);
    QString design;
    if (!ReadOrderByDef(scope, key, design))
        return;
    if (design != field->value())
        WriteOrderBy(scope, key, field->value());
    else
        DeleteOrderBy(scope, key);
    DeleteOrderByDef(scope, key);
}

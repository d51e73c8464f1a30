#include "Query.h"

#include "DbError.h"
#include "MacroExpander.h"
#include "PgResult.h"
#include "Session.h"
#include "SqlAdapter.h"

namespace db {

Query::Query(QObject* parent) : Dataset(parent) {}

Query::Query(Session* session, QObject* parent) : Dataset(parent), mSession(session) {}

Session& Query::requireSession() const
{
    if (!mSession)
        throw DbError("Query has no session");
    return *mSession;
}

void Query::setSql(const QString& sql)
{
    if (isOpen())
        close();
    mSql = sql;
    mMacros.syncNames(macroNames(sql));
    const QString plain = expandMacros(sql, [](const QString&) { return std::optional<QString>(QString()); });
    mParams.syncNames(adaptOracleSql(plain).params);
}

void Query::setMacro(const QString& name, const QString& value, bool active)
{
    Macro& m = mMacros.byName(name);
    m.setValue(value);
    m.setActive(active);
}

void Query::setFilterSql(const QString& condition, const QVariantMap& values)
{
    mFilterSql = condition;
    mFilterValues = values;
}

QString Query::expandedSql() const
{
    return expandMacros(mSql, [this](const QString& name) -> std::optional<QString> {
        if (const Macro* m = mMacros.find(name))
            return m->expansion();
        return std::nullopt;
    });
}

static QString withFilter(const QString& sql, const QString& filter)
{
    if (filter.trimmed().isEmpty())
        return sql;
    return QStringLiteral("SELECT * FROM (") + sql + QStringLiteral("\n) tev_filtered WHERE ") + filter;
}

QString Query::finalSql() const
{
    return adaptOracleSql(withFilter(expandedSql(), mFilterSql)).text;
}

QList<BoundValue> Query::bindValues(const AdaptedSql& adapted,
                                    const std::function<const QVariant*(const QString&)>& extra) const
{
    QList<BoundValue> values;
    for (const QString& name : adapted.params) {
        if (extra)
            if (const QVariant* v = extra(name)) {
                values.append(BoundValue{*v, DataType::Unknown});
                continue;
            }
        const Param& p = mParams.byName(name);
        if (p.direction() == ParamDirection::Out || p.direction() == ParamDirection::CursorOut)
            values.append(BoundValue{QVariant(), p.direction() == ParamDirection::CursorOut ? DataType::Cursor
                                                                                            : p.dataType()});
        else
            values.append(BoundValue{p.value(), p.dataType()});
    }
    return values;
}

void Query::run(bool wantRows)
{
    Session& session = requireSession();
    const bool isSelect = wantRows;
    const QString expanded = expandedSql();
    AdaptedSql adapted = adaptOracleSql(isSelect ? withFilter(expanded, mFilterSql) : expanded);
    if (adapted.kind == AdaptedSql::Kind::ProcedureCall && !mFilterSql.trimmed().isEmpty())
        adapted = adaptOracleSql(expanded);

    auto extra = [this](const QString& name) -> const QVariant* {
        auto it = mFilterValues.constFind(name);
        if (it == mFilterValues.constEnd())
            for (auto i = mFilterValues.constBegin(); i != mFilterValues.constEnd(); ++i)
                if (i.key().compare(name, Qt::CaseInsensitive) == 0)
                    return &i.value();
        return it == mFilterValues.constEnd() ? nullptr : &it.value();
    };
    const QList<BoundValue> values = bindValues(adapted, extra);

    if (adapted.kind == AdaptedSql::Kind::ProcedureCall) {
        PgResult cursorRows;
        bool haveCursor = false;
        session.execute(adapted.text, values, [&](const PgResult& r) {
            // Out values come back as the call's result row, one column per output argument.
            int outOrdinal = 0;
            for (int i = 0; i < adapted.callArgs.size(); ++i) {
                const QString& bind = adapted.callArgs[i];
                if (bind.isEmpty())
                    continue;
                Param& p = mParams.byName(bind);
                if (!p.isOutput())
                    continue;
                int column = r.columnIndex(bind);
                if (column < 0)
                    column = outOrdinal < r.columnCount() ? outOrdinal : -1;
                ++outOrdinal;
                if (column < 0 || r.rowCount() == 0 || r.isNullValue(0, column)) {
                    p.clear();
                    continue;
                }
                const QString text = QString::fromUtf8(r.rawValue(0, column), r.rawLength(0, column));
                if (p.direction() == ParamDirection::CursorOut || r.columnType(column) == DataType::Cursor) {
                    QString portal = text;
                    portal.replace(QLatin1Char('"'), QLatin1String("\"\""));
                    const PgResult rows =
                        session.executeNested(QStringLiteral("FETCH ALL FROM \"%1\"").arg(portal));
                    session.executeNested(QStringLiteral("CLOSE \"%1\"").arg(portal));
                    p.setValue(text);
                    if (!haveCursor) {
                        cursorRows = rows;
                        haveCursor = true;
                    }
                } else {
                    p.setValue(decodeTextValue(p.dataType() == DataType::Unknown ? r.columnType(column)
                                                                                 : p.dataType(),
                                               r.rawValue(0, column), r.rawLength(0, column)));
                }
            }
        });
        if (wantRows) {
            if (haveCursor)
                loadResult(cursorRows);
            else
                loadEmpty();
        }
        return;
    }
    if (adapted.kind == AdaptedSql::Kind::AlterUserPassword) {
        session.alterRolePassword(adapted.role, adapted.password);
        if (wantRows)
            loadEmpty();
        return;
    }
    const PgResult result = session.execute(adapted.text, values);
    if (wantRows)
        loadResult(result);
}

QList<FieldDef> Query::describe()
{
    Session& session = requireSession();
    const AdaptedSql adapted = adaptOracleSql(expandedSql());
    if (adapted.kind != AdaptedSql::Kind::Statement)
        throw DbError(QStringLiteral("Query '%1': only a plain statement can be described")
                          .arg(objectName())
                          .toStdString());
    return session.describe(adapted.text, bindValues(adapted, {}));
}

void Query::open()
{
    if (isOpen())
        close();
    run(true);
    finishOpen(0);
}

void Query::refresh()
{
    const int row = currentRow();
    if (isOpen())
        close();
    run(true);
    finishOpen(row < 0 ? 0 : row);
}

void Query::execSql()
{
    run(false);
}

void Query::refreshRecord()
{
    if (!isOpen() || currentRow() < 0)
        return;
    Session& session = requireSession();
    const QString text =
        QStringLiteral("SELECT * FROM (") + expandedSql() + QStringLiteral("\n) tev_refresh ") + mRefreshSql;
    const AdaptedSql adapted = adaptOracleSql(text);
    // Parameters of the refresh text take the current row's values; the others keep the query's.
    const QStringList refreshNames = adaptOracleSql(mRefreshSql).params;
    QVariantList rowValues;
    for (const QString& n : refreshNames)
        rowValues << value(n);
    auto extra = [&](const QString& name) -> const QVariant* {
        for (int i = 0; i < refreshNames.size(); ++i)
            if (refreshNames[i].compare(name, Qt::CaseInsensitive) == 0)
                return &rowValues[i];
        return nullptr;
    };
    const PgResult result = session.execute(adapted.text, bindValues(adapted, extra));
    const int row = currentRow();
    if (result.rowCount() == 0) {
        removeRow(row);
        emit afterScroll();
        return;
    }
    replaceRow(physicalRow(row), result, 0);
    emit rowChanged(row);
}

} // namespace db

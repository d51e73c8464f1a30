#include "Routine.h"

#include "DbError.h"
#include "OraError.h"
#include "PgResult.h"
#include "Session.h"

namespace db {

DataType dataTypeForPgType(const QString& pgType)
{
    const QString t = pgType.toLower();
    if (t == QLatin1String("integer") || t == QLatin1String("bigint") || t == QLatin1String("smallint"))
        return DataType::Integer;
    if (t.startsWith(QLatin1String("numeric")) || t == QLatin1String("double precision") || t == QLatin1String("real"))
        return DataType::Float;
    if (t.startsWith(QLatin1String("timestamp")))
        return DataType::DateTime;
    if (t == QLatin1String("date"))
        return DataType::Date;
    if (t == QLatin1String("bytea"))
        return DataType::Blob;
    if (t == QLatin1String("refcursor"))
        return DataType::Cursor;
    if (t == QLatin1String("boolean"))
        return DataType::Boolean;
    return DataType::String;
}

void splitRoutineName(const QString& oracleName, QString& schema, QString& routine)
{
    const QStringList parts = oracleName.trimmed().toLower().split(QLatin1Char('.'));
    if (parts.size() == 3) {
        schema = parts[0];
        routine = parts[1] + QStringLiteral("__") + parts[2];
    } else if (parts.size() == 2) {
        schema = parts[0];
        routine = parts[1];
    } else {
        schema.clear();
        routine = parts.value(0);
    }
}

QList<RoutineInfo> lookupRoutine(Session& session, const QString& schema, const QString& routine)
{
    static const QString sql = QStringLiteral(
        "SELECT p.prokind, format_type(p.prorettype, NULL), "
        "(SELECT string_agg(format_type(t.typ, NULL), ',' ORDER BY t.ord) "
        "   FROM unnest(coalesce(p.proallargtypes, p.proargtypes::oid[])) WITH ORDINALITY AS t(typ, ord)), "
        "array_to_string(p.proargmodes, ','), array_to_string(p.proargnames, ',', '') "
        "FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace "
        "WHERE n.nspname = $1 AND p.proname = $2 ORDER BY p.pronargs");
    const PgResult r = session.execute(sql, {{schema, DataType::String}, {routine, DataType::String}});
    QList<RoutineInfo> result;
    for (int row = 0; row < r.rowCount(); ++row) {
        RoutineInfo info;
        info.qualifiedName = schema.isEmpty() ? routine : schema + QLatin1Char('.') + routine;
        info.isFunction = QString::fromLatin1(r.rawValue(row, 0)) == QLatin1String("f");
        info.resultType = QString::fromUtf8(r.rawValue(row, 1));
        const QStringList types = QString::fromUtf8(r.rawValue(row, 2)).split(QLatin1Char(','), Qt::SkipEmptyParts);
        const QStringList modes = QString::fromUtf8(r.rawValue(row, 3)).split(QLatin1Char(','), Qt::SkipEmptyParts);
        const QStringList names = QString::fromUtf8(r.rawValue(row, 4)).split(QLatin1Char(','));
        for (int i = 0; i < types.size(); ++i) {
            RoutineInfo::Arg arg;
            arg.pgType = types[i];
            arg.name = names.value(i).isEmpty() ? QStringLiteral("P%1").arg(i + 1) : names[i].toUpper();
            const QString mode = modes.value(i, QStringLiteral("i"));
            if (mode == QLatin1String("t") || mode == QLatin1String("v"))
                continue; // table columns and variadics are not used by the portal
            if (mode == QLatin1String("o") && info.isFunction)
                continue;
            if (dataTypeForPgType(arg.pgType) == DataType::Cursor && mode != QLatin1String("i"))
                arg.direction = ParamDirection::CursorOut;
            else if (mode == QLatin1String("o"))
                arg.direction = ParamDirection::Out;
            else if (mode == QLatin1String("b"))
                arg.direction = ParamDirection::InOut;
            info.args.append(arg);
        }
        result.append(info);
    }
    if (result.isEmpty()) {
        const QString name = schema.isEmpty() ? routine : schema + QLatin1Char('.') + routine;
        throw OraError(4043, OraError::formatMessage(4043, QStringLiteral("object %1 does not exist").arg(name)));
    }
    return result;
}

static QString quotedPortal(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

void callRoutine(Session& session, const RoutineInfo& routine, ParamList& params,
                 const std::function<void(const QString&, const PgResult&)>& onCursor)
{
    QStringList placeholders;
    QList<BoundValue> values;
    for (int i = 0; i < routine.args.size(); ++i) {
        const auto& arg = routine.args[i];
        const Param* p = params.find(arg.name);
        if (!p && i < params.count())
            p = &params.at(i);
        QVariant v = p ? p->value() : QVariant();
        DataType type = dataTypeForPgType(arg.pgType);
        if (arg.direction == ParamDirection::Out || arg.direction == ParamDirection::CursorOut)
            v = QVariant();
        values.append(BoundValue{v, type});
        placeholders << QStringLiteral("$%1::%2").arg(values.size()).arg(arg.pgType);
    }
    const QString call = routine.isFunction
                             ? QStringLiteral("SELECT %1(%2) AS result").arg(routine.qualifiedName, placeholders.join(", "))
                             : QStringLiteral("CALL %1(%2)").arg(routine.qualifiedName, placeholders.join(", "));
    session.execute(call, values, [&](const PgResult& r) {
        if (routine.isFunction) {
            Param& result = params.add(Param(QStringLiteral("RESULT"), dataTypeForPgType(routine.resultType),
                                             ParamDirection::Out));
            const DataType type = dataTypeForPgType(routine.resultType);
            result.setValue(r.rowCount() && !r.isNullValue(0, 0)
                                ? decodeTextValue(type, r.rawValue(0, 0), r.rawLength(0, 0))
                                : QVariant());
            return;
        }
        for (const auto& arg : routine.args) {
            if (arg.direction == ParamDirection::In)
                continue;
            const int column = r.columnIndex(arg.name);
            Param* p = params.find(arg.name);
            if (!p)
                p = &params.add(Param(arg.name, dataTypeForPgType(arg.pgType), arg.direction));
            if (column < 0 || r.rowCount() == 0 || r.isNullValue(0, column)) {
                p->clear();
                continue;
            }
            const QString text = QString::fromUtf8(r.rawValue(0, column), r.rawLength(0, column));
            if (arg.direction == ParamDirection::CursorOut) {
                p->setValue(text);
                const PgResult rows = session.executeNested(QStringLiteral("FETCH ALL FROM ") + quotedPortal(text));
                session.executeNested(QStringLiteral("CLOSE ") + quotedPortal(text));
                if (onCursor)
                    onCursor(arg.name, rows);
            } else {
                p->setValue(decodeTextValue(dataTypeForPgType(arg.pgType), r.rawValue(0, column),
                                            r.rawLength(0, column)));
            }
        }
    });
}

} // namespace db

#pragma once

#include "Dataset.h"
#include "Macro.h"
#include "Param.h"
#include "Session.h"

#include <QPointer>

namespace db {

struct AdaptedSql;

// A SQL text with `:name` parameters and `&macro`s, run on a session; a SELECT or a one-call
// PL/SQL block whose cursor output gives the rows.
class Query : public Dataset
{
    Q_OBJECT

public:
    explicit Query(QObject* parent = nullptr);
    explicit Query(Session* session, QObject* parent = nullptr);

    Session* session() const { return mSession; }
    void setSession(Session* session) { mSession = session; }

    const QString& sql() const { return mSql; }
    // Parameters and macros are taken from the text; those that stay keep their values.
    void setSql(const QString& sql);

    ParamList& params() { return mParams; }
    Param& paramByName(const QString& name) { return mParams.byName(name); }
    void setParam(const QString& name, const QVariant& value) { mParams.byName(name).setValue(value); }
    MacroList& macros() { return mMacros; }
    Macro& macroByName(const QString& name) { return mMacros.byName(name); }
    void setMacro(const QString& name, const QString& value, bool active = true);

    // Text that selects one row again, e.g. "WHERE ID = :ID"; its parameters take the current
    // row's field values of the same name.
    const QString& refreshSql() const { return mRefreshSql; }
    void setRefreshSql(const QString& sql) { mRefreshSql = sql; }

    // Server-side condition added to the text (the filter dialog's output); its parameters are
    // bound from `values` by name.
    const QString& filterSql() const { return mFilterSql; }
    void setFilterSql(const QString& condition, const QVariantMap& values = {});

    void open() override;
    // Reopens and returns to the same row number.
    void refresh();
    // Reads the current row again through refreshSql; a row that no longer exists leaves the list.
    void refreshRecord();
    // Runs a statement that returns no rows (or a PL/SQL block), setting output parameters.
    void execSql();

    // The columns the query gives with its current macros, asked of the server without running
    // it (nothing is fetched). Throws DbError for a PL/SQL call, whose rows come from a cursor.
    QList<FieldDef> describe();

    // The PostgreSQL text the current macros and filter give.
    QString finalSql() const;

private:
    QString expandedSql() const;
    QList<struct BoundValue> bindValues(const AdaptedSql& adapted,
                                        const std::function<const QVariant*(const QString&)>& extra) const;
    void run(bool wantRows);
    Session& requireSession() const;

    QPointer<Session> mSession;
    QString mSql;
    ParamList mParams;
    MacroList mMacros;
    QString mRefreshSql;
    QString mFilterSql;
    QVariantMap mFilterValues;
};

} // namespace db

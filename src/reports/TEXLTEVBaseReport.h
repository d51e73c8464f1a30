#pragma once

#include "DatasetReportTable.h"
#include "Session.h"
#include "TEXLReport.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

namespace db {
class Dataset;
class Package;
class StoredProc;
} // namespace db

// Common base of the report modules: reads the report's rows from the portal and hands them with
// the named values to the template engine, which writes a new workbook.
//
// A derived module creates its queries, stored procedures and package as children and calls
// bindComponents() at the end of its constructor: that gives them the session and the schema.
class TEXLTEVBaseReport : public QObject
{
    Q_OBJECT

public:
    TEXLTEVBaseReport(QObject* owner, const QString& shema, db::Session* session);
    ~TEXLTEVBaseReport() override;

    const QString& shema() const { return mShema; }
    db::Session* session() const { return mSession; }

    QDateTime periodBegin() const { return mBegin; }
    QDateTime periodEnd() const { return mEnd; }
    void setPeriodBegin(const QDateTime& begin) { mBegin = begin; }
    void setPeriodEnd(const QDateTime& end) { mEnd = end; }

    const QString& caption() const { return mCaption; }
    void setCaption(const QString& caption) { mCaption = caption; }

    // The workbook to write; empty: a new file in the reports folder, chosen by build().
    const QString& outputFile() const { return mOutputFile; }
    void setOutputFile(const QString& path) { mOutputFile = path; }
    void setTemplateFile(const QString& path);

    xlsx::TEXLReport* engine() const { return mEngine.get(); }
    const DatasetReportTable* rows() const { return mRows.get(); }
    bool noData() const { return mNoData; }

    // Prepare, fill, and write the workbook when there are rows. Returns whether there were;
    // outputFile() then names the workbook. Errors of the database (db::OraError, db::DbError) and
    // of the engine (xlsx::TEXLReportError) pass on.
    virtual bool build();

    // Sets a named value of the engine (replacing one of the same name).
    void setValue(const QString& name, const QString& value);

    // The owner part of "OWNER.PACKAGE.NAME" replaced by the schema; a name without "." throws
    // std::runtime_error ("TEXLTEVBaseReport.SetSchemaName: Symbol "." is not found in "NAME"").
    static QString SetSchemaName(const QString& name, const QString& shema);

protected:
    // Reads the rows.
    virtual void fill();
    // Sets the module's own named values and then the common ones, makes the row table and gives
    // the default procedure its period.
    virtual void prepare();
    // The module's stored procedure, or none.
    virtual db::StoredProc* defaultStoredProc() const { return nullptr; }
    // The module's named values (before the common ones).
    virtual void setOwnValues() {}
    // The columns of the row table.
    virtual QList<DatasetReportTable::Column> rowColumns() const = 0;
    // The dataset the rows come from after fill().
    virtual db::Dataset* rowSource() const;

    void bindComponents();
    void setEngine(std::unique_ptr<xlsx::TEXLReport> engine) { mEngine = std::move(engine); }
    // The portal owner's name in double quotes.
    QString emitentName();

private:
    QPointer<db::Session> mSession;
    QString mShema;
    QDateTime mBegin;
    QDateTime mEnd;
    QString mCaption;
    QString mOutputFile;
    std::unique_ptr<DatasetReportTable> mRows;
    std::unique_ptr<xlsx::TEXLReport> mEngine;
    db::Package* mPackage = nullptr;
    bool mNoData = false;
};

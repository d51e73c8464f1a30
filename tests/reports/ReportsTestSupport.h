#pragma once

// What the report tests share: a widget application, a private application folder holding the
// template, a private reports folder, a recording file opener, and workbooks read back by openpyxl
// (tests/xlsx/read_workbook.py), never by the engine's own reader.

#include "FileOpener.h"
#include "PgFixture.h"
#include "Session.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Runs SQL as the superuser on the fixture's database; returns the first value.
inline QString admin(const QString& sql)
{
    return PgFixture::instance().adminQuery(sql);
}

// TEV_APP_DIR with ReportTemplates/TEVReports.xlsx, and TEV_REPORTS_DIR, both private.
class ReportFolders
{
public:
    ReportFolders()
    {
        qputenv("TEV_APP_DIR", app.path().toLocal8Bit());
        qputenv("TEV_REPORTS_DIR", reportsPath().toLocal8Bit());
        QDir(app.path()).mkpath(QStringLiteral("ReportTemplates"));
        QFile::copy(QStringLiteral(TEV_REPORT_TEMPLATE),
                    app.filePath(QStringLiteral("ReportTemplates/TEVReports.xlsx")));
    }
    ~ReportFolders()
    {
        qunsetenv("TEV_APP_DIR");
        qunsetenv("TEV_REPORTS_DIR");
    }
    QString reportsPath() const { return out.filePath(QStringLiteral("reports")); }
    QStringList reportFiles() const { return QDir(reportsPath()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir app;
    QTemporaryDir out;
};

// Records the files the console asks the desktop to open, and answers as told.
class RecordingOpener : public framework::FileOpener
{
public:
    RecordingOpener() : mPrevious(framework::setFileOpener(this)) {}
    ~RecordingOpener() override { framework::setFileOpener(mPrevious); }
    bool open(const QString& path) override
    {
        opened << path;
        return result;
    }
    QStringList opened;
    bool result = true;

private:
    framework::FileOpener* mPrevious;
};

// A workbook as openpyxl reads it: cells by row and column letter, merges, sheet names.
struct Workbook
{
    QJsonObject json;
    QMap<int, QMap<QString, QJsonObject>> rows;

    QStringList sheets() const
    {
        QStringList out;
        for (const QJsonValue& v : json.value("sheets").toArray())
            out << v.toString();
        return out;
    }
    QJsonObject cell(int row, const QString& column) const { return rows.value(row).value(column); }
    QString text(int row, const QString& column) const { return cell(row, column).value("value").toString(); }
    // Rows whose cell in `column` has the openpyxl type (n, s, d, f).
    QList<int> rowsWithType(const QString& column, const QString& type) const
    {
        QList<int> out;
        for (auto it = rows.begin(); it != rows.end(); ++it)
            if (it.value().value(column).value("type").toString() == type)
                out << it.key();
        return out;
    }
};

inline Workbook readWorkbook(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(TEV_SOURCE_DIR "/tests/xlsx/read_workbook.py"), path});
    p.waitForFinished(120000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    Workbook book;
    book.json = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    EXPECT_EQ(book.json.value("package_errors").toArray(), QJsonArray()) << path.toStdString();
    const QJsonObject cells = book.json.value("cells").toObject();
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        const QString ref = it.key();
        qsizetype digits = 0;
        while (digits < ref.size() && ref[digits].isLetter())
            ++digits;
        book.rows[ref.mid(digits).toInt()][ref.left(digits)] = it.value().toObject();
    }
    return book;
}

#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QAction;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QPrintPreviewWidget;

namespace db {
class Dataset;
}

namespace gridtools {

// The rows of one dataset as the report shows them: the marked, visible columns as display text.
struct ReportSection
{
    QString title;
    QStringList headers;
    QList<bool> rightAligned;
    QList<QStringList> rows;
};

struct ReportTable
{
    QString title;
    QList<ReportSection> sections;
};

// A print preview of a dataset's marked columns (and of the detail dataset's rows when one is
// given) that prints and exports to PDF and CSV.
class GridReport : public QDialog
{
    Q_OBJECT

public:
    GridReport(const db::Dataset& dataset, const db::Dataset* detail, const QString& title, int langId,
               QWidget* parent = nullptr);
    ~GridReport() override;

    const ReportTable& table() const { return mTable; }

    static ReportTable build(const db::Dataset& dataset, const db::Dataset* detail, const QString& title);
    // Semicolon-separated, quoted where needed, a header line per section and an empty line
    // between sections; written as UTF-8 with a byte-order mark so spreadsheets read Cyrillic.
    static QString toCsv(const ReportTable& table);

    // Return false (and say why through the message presenter) when the file cannot be written.
    bool exportCsv(const QString& path);
    bool exportPdf(const QString& path);
    // Paints the pages on a printer or a PDF writer.
    void render(QPagedPaintDevice& device) const;

    QAction* printAction() const { return mPrint; }
    QAction* pdfAction() const { return mPdf; }
    QAction* csvAction() const { return mCsv; }

private:
    void print();
    void askAndExport(bool pdf);
    void paintPages(QPainter& painter, QPagedPaintDevice& device) const;

    ReportTable mTable;
    int mLangId;
    QPrinter* mPrinter = nullptr;
    QPrintPreviewWidget* mPreview = nullptr;
    QAction* mPrint = nullptr;
    QAction* mPdf = nullptr;
    QAction* mCsv = nullptr;
};

} // namespace gridtools

#include "GridReport.h"

#include "Catalogue.h"
#include "Clock.h"
#include "Dataset.h"
#include "ModalRunner.h"
#include "GridFields.h"
#include "GridToolsText.h"
#include "MessageDialogs.h"

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QToolBar>
#include <QVBoxLayout>

namespace gridtools {

namespace {

ReportSection sectionOf(const db::Dataset& dataset, const QString& title)
{
    ReportSection section;
    section.title = title;
    if (!dataset.isOpen())
        return section;
    const QList<int> fields = reportFields(dataset);
    for (int i : fields) {
        const db::Field& f = dataset.field(i);
        section.headers << f.displayLabel().trimmed();
        section.rightAligned << (f.dataType() == db::DataType::Integer ||
                                 f.dataType() == db::DataType::Float);
    }
    const int rows = dataset.recordCount();
    section.rows.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QStringList line;
        line.reserve(fields.size());
        for (int i : fields)
            line << dataset.field(i).displayText(dataset.value(r, i));
        section.rows.append(line);
    }
    return section;
}

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

GridReport::GridReport(const db::Dataset& dataset, const db::Dataset* detail, const QString& title,
                       int langId, QWidget* parent)
    : QDialog(parent), mTable(build(dataset, detail, title)), mLangId(langId)
{
    setWindowTitle(title.trimmed().isEmpty() ? lang::tr(u"rstrReport")
                                             : lang::tr(u"rstrReport") + QStringLiteral(": ") + title);
    resize(900, 700);
    mPrinter = new QPrinter(QPrinter::HighResolution);
    mPrinter->setPageOrientation(QPageLayout::Landscape);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* tools = new QToolBar(this);
    layout->addWidget(tools);
    mPreview = new QPrintPreviewWidget(mPrinter, this);
    layout->addWidget(mPreview, 1);

    mPrint = tools->addAction(QIcon::fromTheme(QStringLiteral("document-print")),
                              gtText(langId, "Печать", "Print"));
    mPdf = tools->addAction(QIcon::fromTheme(QStringLiteral("application-pdf")),
                            gtText(langId, "Сохранить в PDF", "Save as PDF"));
    mCsv = tools->addAction(QIcon::fromTheme(QStringLiteral("text-csv")),
                            gtText(langId, "Сохранить в CSV", "Save as CSV"));
    tools->addSeparator();
    QAction* zoomIn =
        tools->addAction(QIcon::fromTheme(QStringLiteral("zoom-in")), gtText(langId, "Крупнее", "Zoom in"));
    QAction* zoomOut =
        tools->addAction(QIcon::fromTheme(QStringLiteral("zoom-out")), gtText(langId, "Мельче", "Zoom out"));
    QAction* portrait = tools->addAction(gtText(langId, "Книжная", "Portrait"));
    QAction* landscape = tools->addAction(gtText(langId, "Альбомная", "Landscape"));
    tools->addSeparator();
    QAction* close =
        tools->addAction(QIcon::fromTheme(QStringLiteral("window-close")), lang::tr(u"rstrClose"));

    connect(mPrint, &QAction::triggered, this, &GridReport::print);
    connect(mPdf, &QAction::triggered, this, [this] { askAndExport(true); });
    connect(mCsv, &QAction::triggered, this, [this] { askAndExport(false); });
    connect(zoomIn, &QAction::triggered, mPreview, [this] { mPreview->zoomIn(); });
    connect(zoomOut, &QAction::triggered, mPreview, [this] { mPreview->zoomOut(); });
    connect(portrait, &QAction::triggered, mPreview, &QPrintPreviewWidget::setPortraitOrientation);
    connect(landscape, &QAction::triggered, mPreview, &QPrintPreviewWidget::setLandscapeOrientation);
    connect(close, &QAction::triggered, this, &QDialog::reject);
    connect(mPreview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { render(*printer); });
}

GridReport::~GridReport()
{
    delete mPreview;
    delete mPrinter;
}

ReportTable GridReport::build(const db::Dataset& dataset, const db::Dataset* detail, const QString& title)
{
    ReportTable table;
    table.title = title;
    table.sections << sectionOf(dataset, QString());
    if (detail && detail != &dataset && detail->isOpen())
        table.sections << sectionOf(*detail, detail->objectName());
    return table;
}

QString GridReport::toCsv(const ReportTable& table)
{
    QString out;
    for (int s = 0; s < table.sections.size(); ++s) {
        const ReportSection& section = table.sections[s];
        if (s > 0)
            out += QStringLiteral("\r\n");
        QStringList header;
        for (const QString& h : section.headers)
            header << csvField(h);
        out += header.join(QLatin1Char(';')) + QStringLiteral("\r\n");
        for (const QStringList& row : section.rows) {
            QStringList line;
            line.reserve(row.size());
            for (const QString& v : row)
                line << csvField(v);
            out += line.join(QLatin1Char(';')) + QStringLiteral("\r\n");
        }
    }
    return out;
}

bool GridReport::exportCsv(const QString& path)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write("\xEF\xBB\xBF");
        file.write(toCsv(mTable).toUtf8());
        if (file.commit())
            return true;
    }
    lang::ShowMsgBox(
        this,
        gtText(mLangId, "Не удалось записать файл \"%1\": %2", "Cannot write the file \"%1\": %2")
            .arg(path, file.errorString()),
        1);
    return false;
}

bool GridReport::exportPdf(const QString& path)
{
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    pdf.setPageLayout(mPrinter->pageLayout());
    pdf.setDocName(mTable.title);
    render(pdf);
    QFile written(path);
    if (written.exists() && written.size() > 0)
        return true;
    lang::ShowMsgBox(
        this, gtText(mLangId, "Не удалось записать файл \"%1\"", "Cannot write the file \"%1\"").arg(path),
        1);
    return false;
}

void GridReport::print()
{
    QPrintDialog dialog(mPrinter, this);
    if (framework::modalRunner().exec(dialog) == QDialog::Accepted)
        render(*mPrinter);
}

void GridReport::askAndExport(bool pdf)
{
    QString suggested = mTable.title.trimmed().isEmpty() ? QStringLiteral("report") : mTable.title.trimmed();
    suggested.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    const QString path =
        framework::modalRunner().saveFileName(this, pdf ? mPdf->text() : mCsv->text(),
                                    suggested + (pdf ? QStringLiteral(".pdf") : QStringLiteral(".csv")),
                                    pdf ? QStringLiteral("PDF (*.pdf)") : QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (pdf)
        exportPdf(path);
    else
        exportCsv(path);
}

void GridReport::render(QPagedPaintDevice& device) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return;
    paintPages(painter, device);
    painter.end();
}

void GridReport::paintPages(QPainter& painter, QPagedPaintDevice& device) const
{
    const QRect page(0, 0, device.width(), device.height());
    QFont body(QStringLiteral("Sans Serif"), 8);
    QFont bold = body;
    bold.setBold(true);
    QFont heading = body;
    heading.setPointSize(12);
    heading.setBold(true);
    painter.setFont(body);
    const int lineHeight = painter.fontMetrics().height() * 13 / 10;
    const int pad = painter.fontMetrics().horizontalAdvance(QLatin1Char(' '));
    int pageNo = 1;
    int y = 0;

    auto footer = [&] {
        painter.setFont(body);
        painter.drawText(QRect(0, page.bottom() - lineHeight, page.width(), lineHeight),
                         Qt::AlignRight | Qt::AlignVCenter,
                         gtText(mLangId, "Стр. %1", "Page %1").arg(pageNo));
    };
    auto newPage = [&] {
        footer();
        device.newPage();
        ++pageNo;
        y = 0;
    };

    painter.setFont(heading);
    const int headingHeight = painter.fontMetrics().height() * 3 / 2;
    painter.drawText(QRect(0, y, page.width(), headingHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     mTable.title);
    y += headingHeight;
    painter.setFont(body);
    painter.drawText(QRect(0, y, page.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     framework::now().toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    y += lineHeight * 3 / 2;
    const int bottom = page.bottom() - lineHeight * 2;

    for (const ReportSection& section : mTable.sections) {
        const int columns = int(section.headers.size());
        if (columns == 0)
            continue;
        // Widths from the headers and the first rows, squeezed to the page when too wide.
        QList<int> widths(columns, 0);
        painter.setFont(bold);
        for (int c = 0; c < columns; ++c)
            widths[c] = painter.fontMetrics().horizontalAdvance(section.headers[c]) + 3 * pad;
        painter.setFont(body);
        const int sample = qMin(int(section.rows.size()), 200);
        for (int r = 0; r < sample; ++r)
            for (int c = 0; c < columns && c < section.rows[r].size(); ++c)
                widths[c] =
                    qMax(widths[c], painter.fontMetrics().horizontalAdvance(section.rows[r][c]) + 3 * pad);
        int total = 0;
        for (int w : widths)
            total += w;
        if (total > page.width())
            for (int& w : widths)
                w = qMax(pad * 4, int(qint64(w) * page.width() / total));

        auto drawHeader = [&] {
            painter.setFont(bold);
            int x = 0;
            for (int c = 0; c < columns; ++c) {
                const QRect cell(x, y, widths[c], lineHeight);
                painter.fillRect(cell, QColor(0xE0, 0xE0, 0xE0));
                painter.drawRect(cell);
                painter.drawText(cell.adjusted(pad, 0, -pad, 0), Qt::AlignLeft | Qt::AlignVCenter,
                                 painter.fontMetrics().elidedText(section.headers[c], Qt::ElideRight,
                                                                  widths[c] - 2 * pad));
                x += widths[c];
            }
            painter.setFont(body);
            y += lineHeight;
        };

        if (y + lineHeight * 3 > bottom)
            newPage();
        if (!section.title.isEmpty()) {
            painter.setFont(bold);
            painter.drawText(QRect(0, y, page.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                             section.title);
            y += lineHeight;
        }
        drawHeader();
        for (const QStringList& row : section.rows) {
            if (y + lineHeight > bottom) {
                newPage();
                drawHeader();
            }
            int x = 0;
            for (int c = 0; c < columns; ++c) {
                const QRect cell(x, y, widths[c], lineHeight);
                painter.drawRect(cell);
                const QString text = c < row.size() ? row[c] : QString();
                const Qt::Alignment align =
                    (section.rightAligned.value(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
                painter.drawText(cell.adjusted(pad, 0, -pad, 0), align,
                                 painter.fontMetrics().elidedText(text, Qt::ElideRight, widths[c] - 2 * pad));
                x += widths[c];
            }
            y += lineHeight;
        }
        y += lineHeight;
    }
    footer();
}

} // namespace gridtools

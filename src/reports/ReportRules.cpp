#include "ReportRules.h"

#include "AppFolder.h"
#include "Catalogue.h"
#include "DateRangeSelector.h"
#include "DbHelpers.h"
#include "TComBaseForm.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace reports {

int loginStateFilter(int choice)
{
    switch (choice) {
    case 1:
        return 4;
    case 2:
        return 2;
    default:
        return -1;
    }
}

QVariant activeLoginText(const QVariant& value)
{
    if (value.isNull())
        return value;
    bool ok = false;
    const qlonglong flag = value.toLongLong(&ok);
    if (ok && flag == 1)
        return lang::tr(u"rstrYes");
    if (ok && flag == 0)
        return lang::tr(u"rstrNo");
    return value;
}

std::pair<QDateTime, QDateTime> defaultPeriod(const QDate& today)
{
    return DateRangeSelector::wholeUnit(today.addMonths(-1), DateRangeSelector::Month);
}

QString reportMomentText(const QDateTime& moment, const QLocale& locale)
{
    return locale.toString(moment,
                           TComBaseForm::localeEditorFormat(QStringLiteral("dd.MM.yyyy HH:mm:ss"), locale));
}

QString noDataText(const QStringList& titles)
{
    QStringList lines;
    for (const QString& title : titles)
        lines.append(lang::tr(u"rstrNoDataFound") + QStringLiteral(":\r\n\t") + title);
    return lines.join(QStringLiteral("\r\n"));
}

QString notOpenedText(const QString& path, const QLocale& locale)
{
    return LocaleText(QStringLiteral("Отчет сохранен в файл \"%1\", но ни одна программа не открыла его."),
                      QStringLiteral("The report was saved to \"%1\", but no program opened it."), locale)
        .arg(QDir::toNativeSeparators(path));
}

QString reportFileName(const QString& title, const QDateTime& moment)
{
    QString name;
    for (QChar c : title.simplified()) {
        const bool bad = c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c);
        name += bad ? QLatin1Char('_') : c;
    }
    // Long titles would make unwieldy names; the moment keeps them apart.
    name = name.left(80).trimmed();
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    if (name.isEmpty())
        name = QStringLiteral("report");
    return name + QLatin1Char(' ') + moment.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) +
           QStringLiteral(".xlsx");
}

QString newReportPath(const QString& folder, const QString& title, const QDateTime& moment)
{
    QDir().mkpath(folder);
    const QString name = reportFileName(title, moment);
    const QString stem = name.chopped(5);
    QString path = QDir(folder).filePath(name);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(QStringLiteral("%1 (%2).xlsx").arg(stem).arg(n));
    return path;
}

QString reportsFolder()
{
    const QString overridden = qEnvironmentVariable("TEV_REPORTS_DIR");
    if (!overridden.isEmpty())
        return overridden;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return QDir(documents).filePath(QStringLiteral("TEV reports"));
}

QString reportTemplatePath()
{
    const QString folder = lang::fileInFolder(lang::applicationFolder(), QStringLiteral("ReportTemplates"));
    return lang::fileInFolder(folder, QStringLiteral("TEVReports.xlsx"));
}

} // namespace reports

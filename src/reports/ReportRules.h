#pragma once

// The rules of the administrator reports that do not need a database or a window.
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>

namespace reports {

// The choice of the login report's state filter ("Все", "с подпиской", "выслано приглашение") as
// the view's client_state: -1 (every state), 4, 2. Any other choice counts as "Все".
int loginStateFilter(int choice);

// The active flag of a login as the report shows it: 1 "Да", 0 "Нет", anything else unchanged.
QVariant activeLoginText(const QVariant& value);

// The whole calendar month before the one holding `today`: its first moment to its last.
std::pair<QDateTime, QDateTime> defaultPeriod(const QDate& today);

// A moment as the period and date-time lines of a report show it: the locale's short date, a blank
// and its long time (without a time zone).
QString reportMomentText(const QDateTime& moment, const QLocale& locale = QLocale());

// The lines of the list of reports that found no rows: one per title, each
// "Нет данных для отчета:" CR LF TAB title, joined by CR LF.
QString noDataText(const QStringList& titles);

// Said when no program took a finished workbook: where it is, in the user's locale's language.
QString notOpenedText(const QString& path, const QLocale& locale = QLocale());

// A file name for a report: its title with the characters file systems or desktops stumble on
// replaced by "_", and the moment it was made ("Логины клиентов 2024-01-31 09-05-07.xlsx").
QString reportFileName(const QString& title, const QDateTime& moment);

// A new file in `folder` for the report: reportFileName, with " (2)", " (3)", ... before the
// extension while a file of that name exists. Creates the folder when it is missing.
QString newReportPath(const QString& folder, const QString& title, const QDateTime& moment);

// Where the console puts the workbooks it makes for the signed-in user: $TEV_REPORTS_DIR when
// set, else "TEV reports" in the user's documents folder.
QString reportsFolder();

// The template workbook: ReportTemplates/TEVReports.xlsx of the application folder.
QString reportTemplatePath();

} // namespace reports

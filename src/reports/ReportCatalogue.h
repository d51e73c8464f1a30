#pragma once

#include <QDateTime>
#include <QString>
#include <memory>

class TEXLTEVBaseReport;
namespace db {
class Session;
}

// The administrator reports in list order; the position is the report's number.
namespace reports {

enum ReportNumber
{
    CountVisits = 0,
    CountClientsWorkInWeb = 1,
    LoginClients = 2
};

struct ReportEntry
{
    const char16_t* titleKey;
    bool hasPeriod;
};

constexpr int kReportCount = 3;
const ReportEntry& reportEntry(int number);
QString reportTitle(int number);

// What a run of one report needs beyond the session.
struct ReportRequest
{
    int number = CountVisits;
    QDateTime begin;
    QDateTime end;
    int clientState = -1;
    bool groupByClient = false;
};

// The report module of the request, made for one run, with its parameters set.
std::unique_ptr<TEXLTEVBaseReport> createReport(const ReportRequest& request, const QString& shema,
                                                db::Session* session);

} // namespace reports

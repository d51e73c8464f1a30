#include "ReportCatalogue.h"

#include "Catalogue.h"
#include "TEXLTEVClientVisitsReport.h"
#include "TEXLTEVCountClientsWorkInWeb.h"
#include "TEXLTEVLoginClients.h"

#include <stdexcept>

namespace reports {

namespace {

constexpr ReportEntry kEntries[kReportCount] = {
    {u"rstrCountVisits", true},
    {u"rstrCountClientsWorkInWeb", true},
    {u"rstrLoginClients", false},
};

} // namespace

const ReportEntry& reportEntry(int number)
{
    if (number < 0 || number >= kReportCount)
        throw std::out_of_range("no such report");
    return kEntries[number];
}

QString reportTitle(int number)
{
    return lang::tr(reportEntry(number).titleKey);
}

std::unique_ptr<TEXLTEVBaseReport> createReport(const ReportRequest& request, const QString& shema,
                                                db::Session* session)
{
    std::unique_ptr<TEXLTEVBaseReport> report;
    switch (request.number) {
    case CountVisits:
        report = std::make_unique<TEXLTEVClientVisitsReport>(nullptr, shema, session);
        break;
    case CountClientsWorkInWeb:
        report = std::make_unique<TEXLTEVCountClientsWorkInWeb>(nullptr, shema, session);
        break;
    case LoginClients: {
        auto logins = std::make_unique<TEXLTEVLoginClients>(nullptr, shema, session, request.groupByClient);
        logins->setClientState(request.clientState);
        report = std::move(logins);
        break;
    }
    default:
        throw std::out_of_range("no such report");
    }
    report->setPeriodBegin(request.begin);
    report->setPeriodEnd(request.end);
    return report;
}

} // namespace reports

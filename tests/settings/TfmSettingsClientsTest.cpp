#include "TfmSettings.h"

#include "../clients/ClientsTestSupport.h"
#include "ClientsQuery.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"

#include <QAction>
#include <QCheckBox>
#include <gtest/gtest.h>

namespace {

class SettingsAndClients : public WorkAreaTest
{
protected:
    void SetUp() override
    {
        WorkAreaTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        reportName = adminValue(QStringLiteral("SELECT param_val FROM tev.tev_configs WHERE param_name = 'SHOW_REPORT_NAME'"));
        area->ChooseStartEmitent();
        area->OpenEmitentList(area->CurrentEmitentId());
        area->OpenEmitentData();
        window->show();
    }
    void TearDown() override
    {
        if (module)
            adminValue(QStringLiteral("UPDATE tev.tev_configs SET param_val = '%1' WHERE param_name = "
                                      "'SHOW_REPORT_NAME'")
                           .arg(reportName));
    }
    db::Query& clients() { return *area->qryClients(); }
    QString reportName;
};

} // namespace

TEST_F(SettingsAndClients, AfterASaveTheClientsAreReadAgainOnTheSameClientWithThePanesHidden)
{
    ASSERT_GT(clients().recordCount(), 3);
    clients().setCurrentRow(3);
    const QVariant client = clients().value(QStringLiteral("WBC_ID"));
    area->actShowLogins()->trigger();
    ASSERT_EQ(area->shownPane(), ClientsWorkArea::Pane::Logins);
    const bool before = reportName == QStringLiteral("1");

    RecordingPresenter presenter;
    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfmSettings>([&](TfmSettings& w) {
        w.show();
        qobject_cast<QCheckBox*>(w.control(QStringLiteral("SHOW_REPORT_NAME")))->click();
        w.accept();
        return w.result();
    });
    ShowPortalSettings(window.get(), *module->dm, area);
    ASSERT_EQ(presenter.count(), 0) << presenter.last().text.toStdString();
    EXPECT_EQ(clients().paramByName(QString::fromLatin1(ClientsQuery::kReportNameParam)).value().toInt(),
              before ? 0 : 1);
    EXPECT_EQ(clients().paramByName(QString::fromLatin1(ClientsQuery::kEmitentParam)).value().toInt(),
              area->CurrentEmitentId());
    EXPECT_EQ(clients().value(QStringLiteral("WBC_ID")), client);
    EXPECT_EQ(area->shownPane(), ClientsWorkArea::Pane::None);
    EXPECT_TRUE(area->actHideDetail()->isChecked());

    // Cancelled, the window leaves the list as it is.
    area->actShowLogins()->trigger();
    runner.answer = answerDialog<TfmSettings>([](TfmSettings& w) {
        w.show();
        w.reject();
        return w.result();
    });
    ShowPortalSettings(window.get(), *module->dm, area);
    EXPECT_EQ(area->shownPane(), ClientsWorkArea::Pane::Logins);
}

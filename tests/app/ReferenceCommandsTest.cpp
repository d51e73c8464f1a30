// The main window's reference-data commands open their windows and keep the portal's switches.
#include "AppTestSupport.h"
#include "ScriptedModalRunner.h"
#include "TfrmMain.h"

#include <QAction>
#include <QCheckBox>
#include <gtest/gtest.h>

TEST(ReferenceCommands, EachCommandOpensItsWindowModally)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    const std::pair<const char*, const char*> commands[] = {{"acPOSes", "TfmPOSes"},
                                                            {"acTrnTypes", "TfmTrnTypes"},
                                                            {"acTrnTypeGroup", "TfmTransactionGroups"},
                                                            {"acSchemesForWeb", "TfmSchemesForWeb"},
                                                            {"acTermsForWeb", "TfmTermsForWeb"},
                                                            {"acHelp", "TfrmHelpEdit"}};
    for (const auto& [command, window] : commands) {
        SCOPED_TRACE(command);
        ScriptedModalRunner runner;
        w.command(QString::fromLatin1(command))->trigger();
        EXPECT_EQ(runner.dialogs, QStringList({QString::fromLatin1(window)}));
    }
}

TEST(ReferenceCommands, TheGroupsSwitchIsWrittenBackWhenTheWindowCloses)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    AdminChange on("UPDATE tev.tev_configs SET param_val = ' 1' WHERE param_name = 'USE_TRNTYPE_GROUP'",
                   "UPDATE tev.tev_configs SET param_val = '1' WHERE param_name = 'USE_TRNTYPE_GROUP'");
    ScriptedModalRunner runner;
    bool shown = false;
    runner.answer = [&](QDialog& d) {
        auto* box = d.findChild<QCheckBox*>(QStringLiteral("chkUseInWeb"));
        shown = box && box->isChecked();
        if (box)
            box->setChecked(false);
        return int(QDialog::Rejected);
    };
    w.command(QStringLiteral("acTrnTypeGroup"))->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(admin("SELECT param_val FROM tev.tev_configs WHERE param_name = 'USE_TRNTYPE_GROUP'"),
              QStringLiteral("0"));
}

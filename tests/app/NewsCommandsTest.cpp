// The main window's news commands open their windows.
#include "AppTestSupport.h"
#include "ScriptedModalRunner.h"
#include "TfrmMain.h"

#include <QAction>
#include <gtest/gtest.h>

TEST(NewsCommands, EachCommandOpensItsWindowModally)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    const std::pair<const char*, const char*> commands[] = {
        {"actShowNews", "TfrmNews"}, {"actShowEditGroupForNews", "TfmEditGroupForNews"}};
    for (const auto& [command, window] : commands) {
        SCOPED_TRACE(command);
        ScriptedModalRunner runner;
        w.command(QString::fromLatin1(command))->trigger();
        EXPECT_EQ(runner.dialogs, QStringList({QString::fromLatin1(window)}));
    }
}

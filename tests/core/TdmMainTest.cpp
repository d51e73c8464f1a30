#include "Catalogue.h"
#include "CoreTestSupport.h"
#include "IniFile.h"
#include "RecordingPresenter.h"
#include "Session.h"
#include "TdmMain.h"

#include <gtest/gtest.h>

class TdmMainTest : public ::testing::Test
{
protected:
    void SetUp() override { coreTestApp(); }
    AppFolder folder;
};

TEST_F(TdmMainTest, FirstStartWritesLanguageAndActiveScheme)
{
    TdmMain dm;
    EXPECT_EQ(dm.ManagerId(), -1);
    EXPECT_FALSE(dm.RegisterMode());
    EXPECT_EQ(dm.LanguageId(), 25);
    EXPECT_EQ(dm.ActiveScheme(), "TEV");
    EXPECT_EQ(dm.session()->connectDialogClass(), "TfmNormalConnect");
    lang::IniFile ini(folder.ini());
    EXPECT_EQ(ini.readInteger("LANG_REFERENCE", "CurrentLanguageId"), 25);
    EXPECT_EQ(ini.readSection("SCHEMES"), QStringList{"TEV"});
    EXPECT_EQ(ini.readInteger("SCHEMES", "TEV"), 1);
    EXPECT_FALSE(dm.session()->connected());
}

TEST_F(TdmMainTest, ExistingSettingsAreRead)
{
    folder.write({"[LANG_REFERENCE]", "CurrentLanguageId=9", "[CONNECTION]", "separate_manage=1", "[SCHEMES]",
                  "TEV=0", "WEB2=1"});
    TdmMain dm;
    EXPECT_EQ(dm.LanguageId(), 9);
    EXPECT_EQ(dm.ActiveScheme(), "WEB2");
    EXPECT_EQ(dm.session()->connectDialogClass(), "TfmRegionConnect");
}

TEST_F(TdmMainTest, NoFlaggedSchemeMakesTevActive)
{
    folder.write({"[SCHEMES]", "WEB2=0", "OTHER=0"});
    TdmMain dm;
    EXPECT_EQ(dm.GetActiveScheme(), "TEV");
    lang::IniFile ini(folder.ini());
    EXPECT_EQ(ini.readSection("SCHEMES"), QStringList({"WEB2", "OTHER", "TEV"}));
    EXPECT_EQ(ini.readInteger("SCHEMES", "TEV"), 1);
    EXPECT_EQ(ini.readInteger("SCHEMES", "WEB2"), 0);
    dm.SetActiveScheme("OTHER");
    EXPECT_EQ(dm.GetActiveScheme(), "OTHER");
    EXPECT_EQ(ini.readInteger("SCHEMES", "TEV"), 0);
}

TEST_F(TdmMainTest, DestroyWritesTheLanguageOnce)
{
    {
        TdmMain dm;
        dm.SetLanguageId(9);
        dm.DataModuleDestroy();
        EXPECT_EQ(lang::IniFile(folder.ini()).readInteger("LANG_REFERENCE", "CurrentLanguageId"), 9);
        QFile::remove(folder.ini());
    } // the destructor must not write again
    EXPECT_FALSE(QFile::exists(folder.ini()));
}

// A folder the program may not write to is reported, not fatal.
TEST_F(TdmMainTest, ReadOnlyFolderShowsErrorBoxes)
{
    folder.makeReadOnly();
    RecordingPresenter presenter;
    {
        TdmMain dm;
        EXPECT_EQ(dm.ActiveScheme(), "TEV");
        EXPECT_EQ(dm.LanguageId(), 25);
        ASSERT_GE(presenter.count(), 2); // language section, active scheme
        for (const lang::MessageRequest& r : presenter.requests()) {
            EXPECT_EQ(r.icon, lang::MsgIcon::Error);
            EXPECT_TRUE(r.text.contains("DEDAdize.ini")) << r.text.toStdString();
        }
        presenter.clear();
    }
    EXPECT_EQ(presenter.count(), 1); // the language at the end
    EXPECT_FALSE(QFile::exists(folder.ini()));
}

TEST_F(TdmMainTest, ErrorTextsByOracleNumber)
{
    struct Row
    {
        int code;
        const char* hookText; // null: the error keeps its own text
        const char* dialogText;
    } rows[] = {
        {942, "Пользователь не зарегистрирован в схеме", "Пользователь не зарегистрирован в схеме"},
        {1005, "Не введен пароль", "Не введен пароль"},
        {1017, "Неверный пароль/логин", "Неверный пароль/логин"},
        {4043,
         "Не достаточно привелегий для подключения к БД (используйте для подключения к БД пользователя tev_user)",
         "Недостаточно привилегий"},
        {12154, "Сервер ненайден", "Сервер ненайден"},
        {12545, "Соединение по сети не установлено", "Соединение по сети не установлено"},
        {12560, "Соединение по сети не установлено", "Соединение по сети не установлено"},
        {28000, "Пользователь заблокирован", "Пользователь заблокирован"},
        {1403, nullptr, "Ошибка при соединении 1403"},
        {0, nullptr, "Ошибка при соединении 0"},
    };
    for (const Row& r : rows) {
        const QString hook = TdmMain::ConnectErrorText(r.code);
        if (r.hookText)
            EXPECT_EQ(hook, QString::fromUtf8(r.hookText)) << r.code;
        else
            EXPECT_TRUE(hook.isNull()) << r.code;
        EXPECT_EQ(TdmMain::SignInErrorText(r.code), QString::fromUtf8(r.dialogText)) << r.code;
    }
}

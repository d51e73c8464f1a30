#include "InvitationText.h"

#include "Catalogue.h"
#include "MailMessage.h"
#include "TInvitation.h"

#include <gtest/gtest.h>

namespace {

TEST(InvitationText, IsValidAddress)
{
    struct Row
    {
        const char* name;
        QString address;
        bool valid;
    };
    const Row rows[] = {
        {"plain", "ivan.petrov@mail.example.ru", true},
        {"digits dash underscore", "a_1-b@x-1.ru", true},
        {"shortest domain", "a@b.c", true},
        {"no at", "ivan.mail.ru", false},
        {"empty local part", "@mail.ru", false},
        {"domain of two", "a@b.", false},
        {"domain without dot", "a@localhost", false},
        {"first dot last", "a@mailru.", false},
        {"dot before last of several", "a@mail.ru.", true},
        {"plus", "a+b@mail.ru", false},
        {"cyrillic", "иван@mail.ru", false},
        {"cyrillic domain", "a@почта.рф", false},
        {"second at", "a@b@mail.ru", false},
        {"blank inside", "a b@mail.ru", false},
        {"empty", "", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(IsValidAddress(row.address), row.valid) << row.name;
}

TEST(InvitationText, SplitAddresses)
{
    struct Row
    {
        const char* name;
        QString field;
        QStringList addresses;
    };
    const Row rows[] = {
        {"one", "a@b.ru", {"a@b.ru"}},
        {"semicolon", "a@b.ru;c@d.ru", {"a@b.ru", "c@d.ru"}},
        {"every separator",
         " a@b.ru, c@d.ru/e@f.ru\\g@h.ru(i@j.ru)[k@l.ru] ",
         {"a@b.ru", "c@d.ru", "e@f.ru", "g@h.ru", "i@j.ru", "k@l.ru"}},
        {"empty pieces dropped", ";;a@b.ru,,", {"a@b.ru"}},
        {"only separators: the whole field", " ;, ", {" ;, "}},
        {"tab stays inside a piece", "a@b.ru\tc", {"a@b.ru\tc"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SplitAddresses(row.field), row.addresses) << row.name;
}

TEST(InvitationText, LabelsLinesAndLogFileNames)
{
    EXPECT_EQ(ClientLabel("12", "3", "P-77", "ООО Ромашка"), "[12, 3,P-77] ООО Ромашка");
    // The minimum widths of the invitation formats.
    struct Row
    {
        const char* name;
        QString line;
        QString expected;
    };
    const Row rows[] = {
        {"empty address", TInvitation::errorLine("", "[1, 2,P] Z", "не задан адрес получателя"),
         "Error:    [1, 2,P] Z - не задан адрес получателя"},
        {"one-character label", TInvitation::errorLine("a@b.ru", "L", "x"), "Error:  a@b.ru  L -   x"},
        {"short error text", TInvitation::errorLine("a@b.ru", "LL", "x"), "Error:  a@b.ru LL -   x"},
        {"sent", lang::format(TInvitation::InvitationSentFormat, {"a@b.ru", "L"}), "ok: a@b.ru  L"},
        {"letter sent", lang::format(TLetter::DefaultSentFormat, {"a@b.ru"}),
         "The message has been sent to \"a@b.ru\"."},
        {"letter error", lang::format(TLetter::DefaultErrorFormat, {""}), "Error:  "},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.line, row.expected) << row.name;

    const QDateTime at(QDate(2024, 3, 9), QTime(7, 5, 4));
    EXPECT_EQ(SendLogFileName(12, 3, at), "001203_sendlog_20240309070504.log");
    EXPECT_EQ(SendLogFileName(123456, 789, at), "123456789_sendlog_20240309070504.log");
}

TEST(InvitationText, TemplateDefaultsAndFieldTexts)
{
    EXPECT_EQ(ExpandTemplateDefault("####a##b####c##tail"), "a\nb\n\nc");
    EXPECT_EQ(ExpandTemplateDefault("no marks"), "");
    EXPECT_EQ(TemplateText("a\nb"), "a\nb\n");
    EXPECT_EQ(TemplateText("a\n"), "a\n");
    EXPECT_EQ(TemplateText(""), "");
}

TLetterTemplates templates()
{
    return {"Header", "L=%LOGIN% P=%PASSWORD% D=%BLOCK_DATE% N=%CLIENT_NAME% L2=%LOGIN%",
            "No logins for %CLIENT_NAME%", "Footer"};
}

TEST(InvitationText, BuildMessage)
{
    const QString unknown = lang::tr(u"rstrPasswordUnknown");
    const QString willGenerate = lang::tr(u"vrstrPasswordWillBeGenerated");
    const QString noDate = lang::tr(u"vrstrBlockDateNotExists");
    struct Row
    {
        const char* name;
        TLetterLogin login;
        bool preview;
        bool advanced;
        QString expected;
        bool announced;
    };
    const Row rows[] = {
        {"initial password",
         {1, "bob", "15bob", 0, "01.01.2025", "Ромашка"},
         false,
         false,
         "L=bob P=15bob D=01.01.2025 N=Ромашка L2=bob",
         false},
        {"changed, nothing chosen",
         {1, "bob", "x", 1, "d", "N"},
         false,
         false,
         "L=bob P=" + unknown + " D=d N=N L2=bob",
         false},
        {"changed, new password chosen",
         {1, "bob", "new", 1, "d", "N", 1},
         false,
         false,
         "L=bob P=new D=d N=N L2=bob",
         true},
        {"no block date",
         {1, "bob", "p", 0, "31.12.3030", "N"},
         false,
         false,
         "L=bob P=p D=" + noDate + " N=N L2=bob",
         false},
        {"temporary, preview",
         {1, "bob", "p", 0, "d", "N", 0, 1},
         true,
         true,
         "L=bob P=" + willGenerate + " D=d N=N L2=bob",
         false},
        {"temporary, sending",
         {1, "bob", "p", 0, "d", "N", 0, 1},
         false,
         true,
         "L=bob P=GEN1 D=d N=N L2=bob",
         true},
        {"temporary without advanced security",
         {1, "bob", "p", 0, "d", "N", 0, 1},
         false,
         false,
         "L=bob P=p D=d N=N L2=bob",
         false},
    };
    for (const Row& row : rows) {
        int generated = 0;
        QList<TLetterLogin> logins{row.login};
        QList<TLoginPassword> announced;
        const QString text = BuildMessage(
            templates(), "Client", logins, row.preview, row.advanced,
            [&] { return QStringLiteral("GEN%1").arg(++generated); }, &announced);
        EXPECT_EQ(text, "Header\n\n" + row.expected + "\nFooter\n") << row.name;
        EXPECT_EQ(announced.size(), row.announced ? 1 : 0) << row.name;
    }
}

TEST(InvitationText, BuildMessageOrdersLoginsAndGeneratesOncePerRun)
{
    int generated = 0;
    const auto generate = [&] { return QStringLiteral("GEN%1").arg(++generated); };
    TLetterTemplates t{"H\n", "%LOGIN%=%PASSWORD%", "", "F"};
    QList<TLetterLogin> logins{{2, "zed", "z", 0, "d", "N", 0, 1}, {1, "amy", "a", 0, "d", "N"}};
    QList<TLoginPassword> first;
    EXPECT_EQ(BuildMessage(t, "C", logins, false, true, generate, &first), "H\n\namy=a\n\nzed=GEN1\nF\n");
    // A second address of the same client in the same run announces the same password.
    QList<TLoginPassword> second;
    EXPECT_EQ(BuildMessage(t, "C", logins, false, true, generate, &second), "H\n\namy=a\n\nzed=GEN1\nF\n");
    ASSERT_EQ(second.size(), 1);
    EXPECT_EQ(second[0].WblId, 2);
    EXPECT_EQ(second[0].Password, "GEN1");
    EXPECT_EQ(logins[0].pwd, "GEN1");
    EXPECT_EQ(logins[0].flg, 1);
    EXPECT_EQ(logins[0].pwd_res, 1);

    QList<TLetterLogin> none;
    EXPECT_EQ(BuildMessage(templates(), "ООО Ромашка", none, false, false, generate),
              "Header\nNo logins for ООО Ромашка\nFooter\n");
}

TEST(MailMessage, SenderMailbox)
{
    struct Row
    {
        const char* name;
        QString sender;
        QString senderName;
        QString displayName;
        QString address;
    };
    const Row rows[] = {
        {"name and address in one field", "Портал <noreply@p.ru>", "Портал <noreply@p.ru>", "Портал",
         "noreply@p.ru"},
        {"quoted name", "\"Portal, Inc\" <noreply@p.ru>", "", "Portal, Inc", "noreply@p.ru"},
        {"own display name wins", "Портал <noreply@p.ru>", "Служба", "Служба", "noreply@p.ru"},
        {"angle brackets only", "<noreply@p.ru>", "<noreply@p.ru>", "", "noreply@p.ru"},
        {"bare address", " noreply@p.ru ", "noreply@p.ru", "noreply@p.ru", "noreply@p.ru"},
    };
    for (const Row& row : rows) {
        const MailBox box = senderMailbox(row.sender, row.senderName);
        EXPECT_EQ(box.name, row.displayName) << row.name;
        EXPECT_EQ(box.address, row.address) << row.name;
    }
}

} // namespace

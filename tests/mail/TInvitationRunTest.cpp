#include "TInvitationRun.h"

#include "SmtpServer.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(TInvitationRun, MixedAddressesGiveExactLinesAndCounts)
{
    SmtpServer server("refuse-rcpt");
    TInvitationRun run;
    QStringList log;
    QList<qint32> invited;
    QList<TLoginPassword> applied;
    int finishedSent = -1, finishedFailed = -1;
    QObject::connect(&run, &TInvitationRun::log, [&](const QString& line) { log.append(line); });
    QObject::connect(&run, &TInvitationRun::letterSent, [&](TInvitation* letter) {
        invited.append(letter->ClientId);
        applied += letter->Passwords;
    });
    QObject::connect(&run, &TInvitationRun::finished, [&](int sent, int failed) {
        finishedSent = sent;
        finishedFailed = failed;
    });
    const QList<TInvitationRun::Client> clients{
        {1, "[1, 2,A] Empty", "   "},
        {2, "[1, 2,B] Double", "b1@example.test; refused@example.test"},
        {3, "[1, 2,C] Invalid", "c+1@example.test"},
        {4, "[1, 2,D] Valid", "d@example.test"},
    };
    TInvitationRun::Settings settings;
    settings.host = " 127.0.0.1 ";
    settings.port = server.portText() + " ";
    settings.sender = "Портал <noreply@portal.test>";
    settings.subject = "Приглашение";
    run.start(clients, settings, [&](int index, QList<TLoginPassword>* announced) {
        announced->append(
            {index * 10, QStringLiteral("login%1").arg(index), QStringLiteral("pw%1").arg(index)});
        return QStringLiteral("Letter %1\n").arg(index);
    });
    EXPECT_TRUE(run.isRunning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return finishedSent >= 0; }, 30000));
    EXPECT_FALSE(run.isRunning());
    EXPECT_EQ(finishedSent, 2);
    EXPECT_EQ(finishedFailed, 3);

    // Outcomes arrive as the conversations end: compare the lines as sets, the frame in place.
    ASSERT_EQ(log.size(), 7) << log.join('\n').toStdString();
    EXPECT_EQ(log.first(), "Начинаем отправку. Пожалуйста ждите.");
    EXPECT_EQ(log[1], "Error:    [1, 2,A] Empty - не задан адрес получателя");
    EXPECT_EQ(log[2], "Error:  c+1@example.test [1, 2,C] Invalid - Указан неверный адрес электронной почты");
    EXPECT_EQ(log.last(), "Отправка завершена. Успешно отправлено: 2 Ошибок: 3");
    QStringList outcomes = log.mid(3, 3);
    outcomes.sort();
    EXPECT_EQ(outcomes,
              (QStringList{"Error:  refused@example.test [1, 2,B] Double - 5.1.1 Recipient refused",
                           "ok: b1@example.test [1, 2,B] Double", "ok: d@example.test [1, 2,D] Valid"}));
    std::sort(invited.begin(), invited.end());
    EXPECT_EQ(invited, (QList<qint32>{2, 4}));
    // Only the sent letters' passwords are handed back for applying.
    ASSERT_EQ(applied.size(), 2);
    EXPECT_EQ(server.messages().size(), 2);
}

TEST(TInvitationRun, RunOfInvalidAddressesOnlyEndsAtOnce)
{
    TInvitationRun run;
    QStringList log;
    QObject::connect(&run, &TInvitationRun::log, [&](const QString& line) { log.append(line); });
    run.start({{1, "L", ""}, {2, "M", "bad@nodot"}}, {},
              [](int, QList<TLoginPassword>*) { return QString(); });
    EXPECT_FALSE(run.isRunning());
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(log.last(), "Отправка завершена. Успешно отправлено: 0 Ошибок: 2");
}

TEST(TInvitationRun, DestroyedRunReportsNothingFurther)
{
    SmtpServer silent("silent");
    int outcomes = 0;
    {
        TInvitationRun run;
        QObject::connect(&run, &TInvitationRun::finished, [&] { ++outcomes; });
        QObject::connect(&run, &TInvitationRun::log, [&](const QString& line) {
            if (line.startsWith("Error:"))
                ++outcomes;
        });
        TInvitationRun::Settings settings;
        settings.host = "127.0.0.1";
        settings.port = silent.portText();
        run.start({{1, "L", "a@example.test"}}, settings,
                  [](int, QList<TLoginPassword>*) { return QString("x"); });
        QTest::qWait(200);
    }
    QTest::qWait(200);
    EXPECT_EQ(outcomes, 0);
}

} // namespace

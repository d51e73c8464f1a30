#include "TSmtpGateway.h"

#include "GatewayRecorder.h"
#include "MailMessage.h"
#include "SmtpServer.h"
#include "TInvitation.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

// 7-bit, CR LF only, body lines of at most 76 characters, and the reading of Python's email parser.
void expectWellFormed(const QByteArray& raw, const QJsonObject& parsed, const QString& text,
                      const QString& charset)
{
    for (qsizetype i = 0; i < raw.size(); ++i) {
        ASSERT_LT(uchar(raw[i]), 0x80) << "8-bit byte at " << i;
        if (raw[i] == '\n') {
            ASSERT_TRUE(i > 0 && raw[i - 1] == '\r') << "bare LF at " << i;
        }
        if (raw[i] == '\r') {
            ASSERT_TRUE(i + 1 < raw.size() && raw[i + 1] == '\n') << "bare CR at " << i;
        }
    }
    const qsizetype bodyStart = raw.indexOf("\r\n\r\n");
    ASSERT_GT(bodyStart, 0);
    for (const QByteArray& line : raw.mid(bodyStart + 4).split('\n'))
        EXPECT_LE(line.size() - 1, 76) << line.constData();
    EXPECT_TRUE(raw.left(bodyStart).contains("charset=" + charset.toLatin1()))
        << raw.left(bodyStart).constData();
    EXPECT_FALSE(parsed.contains("parse_error")) << parsed["parse_error"].toString().toStdString();
    EXPECT_EQ(parsed["content_type"].toString(), "text/plain");
    EXPECT_EQ(parsed["charset"].toString(), charset);
    EXPECT_EQ(parsed["cte"].toString(), "quoted-printable");
    EXPECT_EQ(parsed["text"].toString(), text) << raw.right(120).toStdString();
}

const QString kCyrillic =
    QStringLiteral("Уважаемый клиент!\n       Логин: ivanov\n       Пароль: пароль 123  \n"
                   ".точка в начале строки\nFrom начало как у разделителя\n");

TEST(TSmtpGateway, SendsEveryLetterOfOneGatewayWholeOverOneConnection)
{
    SmtpServer server("plain");
    GatewayRecorder rec;
    std::unique_ptr<TSmtpGateway> g(rec.gateway(server.portText()));
    const QString longLine = QString(3000, QChar(u'ж')) + QLatin1Char('\n');
    const QString unicode = QStringLiteral("Letter with ✓ and 漢字 beside кириллица\n");
    const QString noFinalBreak = QStringLiteral("Без перевода строки в конце");
    const QStringList texts{kCyrillic, longLine, unicode, noFinalBreak};
    for (int i = 0; i < texts.size(); ++i)
        g->AddLetter(invitation(QStringLiteral("client%1@example.test").arg(i), texts[i]));
    g->Start();
    ASSERT_TRUE(rec.waitFinished(1));

    ASSERT_EQ(rec.outcomes.size(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_TRUE(rec.outcomes[i].sent);
        EXPECT_EQ(rec.outcomes[i].recipient, QStringLiteral("client%1@example.test").arg(i));
    }
    const auto raw = server.rawMessages();
    const auto parsed = server.messages();
    ASSERT_EQ(parsed.size(), texts.size());
    const QStringList charsets{"windows-1251", "windows-1251", "utf-8", "windows-1251"};
    for (int i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        expectWellFormed(raw[i], parsed[i], mailBodyText({texts[i]}), charsets[i]);
        EXPECT_EQ(parsed[i]["subject"].toString(), QStringLiteral("Приглашение на портал"));
        EXPECT_EQ(parsed[i]["from_name"].toString(), QStringLiteral("Портал ТЭВ"));
        EXPECT_EQ(parsed[i]["from_addr"].toString(), "noreply@portal.test");
        EXPECT_EQ(parsed[i]["mail_from"].toString(), "noreply@portal.test");
        EXPECT_EQ(parsed[i]["rcpt_tos"].toArray(),
                  QJsonArray{QStringLiteral("client%1@example.test").arg(i)});
    }
    EXPECT_EQ(
        server.statsWhen([](const QJsonObject& s) { return s["sessions"].toInt() >= 1; })["sessions"].toInt(),
        1);

    // Result lines of the invitation, the trace with the gateway's number, never the message.
    const QString id = QString::number(g->ThreadID()) + QLatin1Char(' ');
    EXPECT_EQ(rec.linesWith("ok:"), (QStringList{"ok: client0@example.test [1, 2,P1] Client",
                                                 "ok: client1@example.test [1, 2,P1] Client",
                                                 "ok: client2@example.test [1, 2,P1] Client",
                                                 "ok: client3@example.test [1, 2,P1] Client"}));
    EXPECT_TRUE(rec.log.contains(id + "C: MAIL FROM:<noreply@portal.test>"))
        << rec.log.join('\n').toStdString();
    EXPECT_TRUE(rec.log.contains(id + "C: RCPT TO:<client0@example.test>"));
    EXPECT_TRUE(rec.linesWith("ivanov").isEmpty());
    EXPECT_TRUE(rec.linesWith("Content-Type").isEmpty());
}

TEST(TSmtpGateway, ImplicitTlsWithSelfSignedCertificate)
{
    SmtpServer server("tls");
    GatewayRecorder rec;
    std::unique_ptr<TSmtpGateway> g(rec.gateway(server.portText()));
    g->UseTls = true;
    g->AddLetter(invitation("tls@example.test", kCyrillic));
    g->Start();
    ASSERT_TRUE(rec.waitFinished(1));
    ASSERT_EQ(rec.outcomes.size(), 1);
    EXPECT_TRUE(rec.outcomes[0].sent) << rec.log.join('\n').toStdString();
    ASSERT_EQ(server.messages().size(), 1);
    expectWellFormed(server.rawMessages()[0], server.messages()[0], kCyrillic, "windows-1251");
}

TEST(TSmtpGateway, TlsWarningOnlyForPortTextExactly465)
{
    // Nothing listens on 465 here: the letter is still attempted and fails at the connection.
    struct Row
    {
        const char* name;
        QString port;
        bool warning;
    };
    for (const Row& row : {Row{"465", "465", true}, Row{"465 with a blank", "465 ", false}}) {
        SCOPED_TRACE(row.name);
        GatewayRecorder rec;
        std::unique_ptr<TSmtpGateway> g(rec.gateway(row.port));
        g->AddLetter(invitation("a@example.test", "x\n"));
        g->Start();
        ASSERT_TRUE(rec.waitFinished(1));
        const QString id = QString::number(g->ThreadID()) + QLatin1Char(' ');
        EXPECT_EQ(rec.log.contains(id + "Warning: TLS disabled"), row.warning)
            << rec.log.join('\n').toStdString();
        EXPECT_EQ(rec.linesWith(id + "ErrorCode = ").size(), 1);
        ASSERT_EQ(rec.outcomes.size(), 1);
        EXPECT_FALSE(rec.outcomes[0].withLetter);
    }
}

TEST(TSmtpGateway, AuthenticatesWithoutShowingCredentials)
{
    struct Row
    {
        const char* name;
        const char* mode;
        int authType;
        bool accepted;
    };
    const Row rows[] = {
        {"PLAIN accepted", "auth-plain", TSmtpGateway::AuthPlain, true},
        {"LOGIN accepted", "auth-login", TSmtpGateway::AuthLogin, true},
        {"LOGIN refused", "auth-refuse", TSmtpGateway::AuthLogin, false},
        {"PLAIN refused", "auth-refuse", TSmtpGateway::AuthPlain, false},
    };
    const QByteArray secrets[] = {"secret pw", QByteArray("secret pw").toBase64(),
                                  QByteArray("mailer").toBase64(),
                                  QByteArray("\0mailer\0secret pw", 17).toBase64()};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SmtpServer server(row.mode);
        GatewayRecorder rec;
        // Two gateways: a refusal must not stop the server from serving the next one.
        std::unique_ptr<TSmtpGateway> first(rec.gateway(server.portText()));
        std::unique_ptr<TSmtpGateway> second(rec.gateway(server.portText()));
        for (TSmtpGateway* g : {first.get(), second.get()}) {
            g->UserName = "mailer";
            g->Password = "secret pw";
            g->AuthType = row.authType;
            g->AddLetter(invitation("auth@example.test", kCyrillic));
            g->Start();
        }
        ASSERT_TRUE(rec.waitFinished(2));
        const QString trace = rec.log.join('\n');
        ASSERT_EQ(rec.outcomes.size(), 2);
        for (const auto& outcome : rec.outcomes) {
            EXPECT_EQ(outcome.sent, row.accepted) << trace.toStdString();
            EXPECT_EQ(outcome.withLetter, row.accepted);
        }
        EXPECT_EQ(server.messages().size(), row.accepted ? 2 : 0);
        const QJsonObject stats =
            server.statsWhen([](const QJsonObject& s) { return s["auth"].toArray().size() >= 2; });
        EXPECT_EQ(stats["auth"].toArray().size(), 2);
        EXPECT_EQ(stats["auth"].toArray()[0].toArray()[2].toString(), "secret pw");
        for (const QByteArray& secret : secrets)
            EXPECT_FALSE(trace.contains(QString::fromLatin1(secret))) << secret.constData() << "\n"
                                                                      << trace.toStdString();
        EXPECT_TRUE(
            trace.contains(row.authType == TSmtpGateway::AuthPlain ? "C: AUTH PLAIN" : "C: AUTH LOGIN"));
        if (row.authType == TSmtpGateway::AuthLogin) {
            EXPECT_TRUE(trace.contains("S: 334 ***\n"));
        }
        if (!row.accepted) {
            const QString id = QString::number(first->ThreadID()) + QLatin1Char(' ');
            EXPECT_EQ(rec.linesWith(id + "ErrorCode = ").size(), 1);
            EXPECT_TRUE(rec.log.contains(id + "ErrorCode = 535 5.7.8 Authentication credentials invalid"))
                << trace.toStdString();
            EXPECT_TRUE(rec.linesWith("Error:").isEmpty());
        }
    }
}

TEST(TSmtpGateway, RefusedRecipientFailsOnlyItsLetter)
{
    SmtpServer server("refuse-rcpt");
    GatewayRecorder rec;
    std::unique_ptr<TSmtpGateway> g(rec.gateway(server.portText()));
    g->AddLetter(invitation("refused@example.test", kCyrillic, "[1, 2,P1] A"));
    g->AddLetter(invitation("fine@example.test", kCyrillic, "X"));
    g->Start();
    ASSERT_TRUE(rec.waitFinished(1));
    ASSERT_EQ(rec.outcomes.size(), 2);
    EXPECT_FALSE(rec.outcomes[0].sent);
    EXPECT_TRUE(rec.outcomes[0].withLetter);
    EXPECT_EQ(rec.outcomes[0].code, 550) << rec.log.join("\n").toStdString();
    EXPECT_EQ(rec.outcomes[0].text, "5.1.1 Recipient refused");
    EXPECT_TRUE(rec.outcomes[1].sent);
    // The minimum widths: a one-character label stands behind two blanks.
    EXPECT_EQ(rec.linesWith("Error:"),
              QStringList{"Error:  refused@example.test [1, 2,P1] A - 5.1.1 Recipient refused"});
    EXPECT_EQ(rec.linesWith("ok:"), QStringList{"ok: fine@example.test  X"});
    EXPECT_EQ(server.messages().size(), 1);
}

TEST(TSmtpGateway, DroppedConnectionAndSilentServerEndInFailures)
{
    SmtpServer drop("drop");
    SmtpServer silent("silent");
    GatewayRecorder rec;
    std::unique_ptr<TSmtpGateway> dropped(rec.gateway(drop.portText()));
    dropped->ResponseTimeout = 1000;
    dropped->AddLetter(invitation("drop@example.test", kCyrillic));
    dropped->Start();
    ASSERT_TRUE(rec.waitFinished(1, 20000));
    ASSERT_EQ(rec.outcomes.size(), 1);
    EXPECT_FALSE(rec.outcomes[0].sent);
    EXPECT_TRUE(rec.outcomes[0].withLetter);
    EXPECT_EQ(rec.linesWith("Error:  drop@example.test").size(), 1) << rec.log.join('\n').toStdString();

    std::unique_ptr<TSmtpGateway> mute(rec.gateway(silent.portText()));
    mute->ConnectTimeout = 1000;
    mute->ResponseTimeout = 1000;
    mute->AddLetter(invitation("silent@example.test", kCyrillic));
    mute->AddLetter(invitation("silent2@example.test", kCyrillic));
    mute->Start();
    ASSERT_TRUE(rec.waitFinished(2, 20000));
    // Both letters are answered for, each without a letter, after one failure line.
    ASSERT_EQ(rec.outcomes.size(), 3);
    EXPECT_FALSE(rec.outcomes[1].withLetter);
    EXPECT_FALSE(rec.outcomes[2].withLetter);
    const QString id = QString::number(mute->ThreadID()) + QLatin1Char(' ');
    EXPECT_EQ(rec.linesWith(id + "ErrorCode = 28 ").size(), 1) << rec.log.join('\n').toStdString();
}

TEST(TSmtpGateway, PoolOfEightNeverOpensMoreConnections)
{
    SmtpServer server("plain");
    GatewayRecorder rec;
    ASSERT_EQ(TSmtpGateway::maxConversations(), 8);
    QObject owner;
    for (int i = 0; i < 200; ++i) {
        TSmtpGateway* g = rec.gateway(server.portText(), &owner);
        g->Debug = false;
        g->FreeOnTerminate = true;
        g->AddLetter(invitation(QStringLiteral("c%1@example.test").arg(i), kCyrillic));
        g->Start();
    }
    ASSERT_TRUE(rec.waitFinished(200, 120000));
    EXPECT_EQ(rec.outcomes.size(), 200);
    EXPECT_EQ(rec.linesWith("ok:").size(), 200);
    EXPECT_TRUE(rec.linesWith("C: ").isEmpty());
    EXPECT_EQ(server.messages().size(), 200);
    const QJsonObject stats =
        server.statsWhen([](const QJsonObject& s) { return s["sessions"].toInt() >= 200; });
    EXPECT_LE(stats["max"].toInt(), 8);
    EXPECT_EQ(stats["sessions"].toInt(), 200);
    // FreeOnTerminate gateways are gone once the deferred deletions ran.
    QTest::qWait(50);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(owner.findChildren<TSmtpGateway*>().isEmpty());
}

TEST(TSmtpGateway, DestroyedOrQuitGatewaysReportPendingLettersAsAborted)
{
    SmtpServer silent("silent");
    GatewayRecorder rec;
    // Never started, started and waiting for a greeting: each letter answered once, at once.
    auto idle = std::unique_ptr<TSmtpGateway>(rec.gateway(silent.portText()));
    idle->AddLetter(invitation("idle@example.test", "x\n"));
    auto waiting = std::unique_ptr<TSmtpGateway>(rec.gateway(silent.portText()));
    waiting->AddLetter(invitation("wait1@example.test", "x\n"));
    waiting->AddLetter(invitation("wait2@example.test", "x\n"));
    waiting->Start();
    QTest::qWait(300);
    idle.reset();
    waiting.reset();
    ASSERT_EQ(rec.outcomes.size(), 3);
    for (const auto& o : rec.outcomes) {
        EXPECT_TRUE(o.withLetter);
        EXPECT_EQ(o.text, TSmtpGateway::AbortedText);
    }
    EXPECT_EQ(rec.linesWith("- Sending aborted").size(), 3);

    // Quitting the program: pending letters are aborted and reported before the loop ends.
    GatewayRecorder quit;
    QObject owner;
    for (int i = 0; i < 12; ++i) {
        TSmtpGateway* g = quit.gateway(silent.portText(), &owner);
        g->AddLetter(invitation(QStringLiteral("q%1@example.test").arg(i), "x\n"));
        g->Start();
    }
    QTimer::singleShot(300, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    EXPECT_EQ(quit.outcomes.size(), 12);
    EXPECT_EQ(quit.finished, 12);
}

} // namespace

#pragma once

#include "SmtpServer.h"
#include "TInvitation.h"
#include "TSmtpGateway.h"

#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

// What the gateways of a test reported, in the order it arrived.
struct GatewayRecorder
{
    struct Outcome
    {
        bool sent = false;
        bool withLetter = false;
        QString recipient;
        int code = 0;
        QString text;
    };
    QStringList log;
    QList<Outcome> outcomes;
    int finished = 0;

    TSmtpGateway* gateway(const QString& port, QObject* parent = nullptr)
    {
        auto* g = new TSmtpGateway(parent);
        g->Host = QStringLiteral("127.0.0.1");
        g->Port = port;
        g->ConnectTimeout = 5000;
        g->ResponseTimeout = 10000;
        QObject::connect(g, &TSmtpGateway::OnLog, [this](const QString& line) { log.append(line); });
        QObject::connect(g, &TSmtpGateway::OnLetterSent, [this](TLetter* l) {
            outcomes.append({true, true, l->Recipient, l->ErrorCode, l->ErrorText});
        });
        QObject::connect(g, &TSmtpGateway::OnLetterError, [this](TLetter* l) {
            outcomes.append(l ? Outcome{false, true, l->Recipient, l->ErrorCode, l->ErrorText} : Outcome{});
        });
        QObject::connect(g, &TSmtpGateway::Finished, [this] { ++finished; });
        return g;
    }
    bool waitFinished(int count, int ms = 60000)
    {
        return QTest::qWaitFor([&] { return finished >= count; }, ms);
    }
    QStringList linesWith(const QString& part) const { return log.filter(part); }
};

inline std::unique_ptr<TInvitation> invitation(const QString& recipient, const QString& text,
                                               const QString& label = QStringLiteral("[1, 2,P1] Client"))
{
    auto letter = std::make_unique<TInvitation>();
    letter->ClientId = 7;
    letter->ClientLabel = label;
    letter->Recipient = recipient;
    letter->Sender = letter->SenderName = QStringLiteral("Портал ТЭВ <noreply@portal.test>");
    letter->Subject = QStringLiteral("Приглашение на портал");
    letter->Body = QStringList{text};
    return letter;
}

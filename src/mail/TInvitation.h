#pragma once

#include "TLetter.h"

#include <QList>

// A new password an invitation announces; applied to the login only once the letter is sent.
struct TLoginPassword
{
    int WblId = 0;
    QString Login;
    QString Password;
};

// The invitation letter of one portal client.
class TInvitation : public TLetter
{
public:
    TInvitation();

    static const QString InvitationErrorFormat; // "Error:  %1s %2s - %3s"
    static const QString InvitationSentFormat;  // "ok: %1s %2s"

    // The failure line for an address that never reached a gateway (empty or invalid).
    static QString errorLine(const QString& recipient, const QString& label, const QString& text);

    qint32 ClientId = 0; // WBC_ID
    QString ClientLabel;
    QList<TLoginPassword> Passwords;

    void DoError() override;
    void DoSent() override;
};

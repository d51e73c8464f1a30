#include "TInvitation.h"

#include "Catalogue.h"

const QString TInvitation::InvitationErrorFormat = QStringLiteral("Error:  %1s %2s - %3s");
const QString TInvitation::InvitationSentFormat = QStringLiteral("ok: %1s %2s");

TInvitation::TInvitation()
{
    ErrorFormat = InvitationErrorFormat;
    SentFormat = InvitationSentFormat;
}

QString TInvitation::errorLine(const QString& recipient, const QString& label, const QString& text)
{
    return lang::format(InvitationErrorFormat, {recipient, label, text});
}

void TInvitation::DoError()
{
    log(lang::format(ErrorFormat, {Recipient, ClientLabel, ErrorText}));
}

void TInvitation::DoSent()
{
    log(lang::format(SentFormat, {Recipient, ClientLabel}));
}

#include "TInvitationRun.h"

#include "Catalogue.h"
#include "InvitationText.h"
#include "TSmtpGateway.h"

TInvitationRun::TInvitationRun(QObject* parent) : QObject(parent) {}

TInvitationRun::~TInvitationRun()
{
    // Outcomes of gateways aborted now must not reach anyone.
    blockSignals(true);
    const auto gateways = findChildren<TSmtpGateway*>();
    for (TSmtpGateway* g : gateways)
        g->disconnect(this);
}

void TInvitationRun::start(const QList<Client>& clients, const Settings& settings,
                           const LetterBuilder& buildLetter)
{
    mRunning = mSent = mFailed = 0;
    mStarting = true;
    emit log(lang::tr(u"vrstrStartSendingLog"));
    for (int i = 0; i < clients.size(); ++i) {
        const Client& client = clients[i];
        if (client.email.trimmed().isEmpty()) {
            emit log(TInvitation::errorLine(QString(), client.label, lang::tr(u"vrstrSenderEmpty")));
            ++mFailed;
            continue;
        }
        for (const QString& address : SplitAddresses(client.email)) {
            if (!IsValidAddress(address)) {
                emit log(TInvitation::errorLine(address, client.label, lang::tr(u"vrstrInvalidEmail")));
                ++mFailed;
                continue;
            }
            auto letter = std::make_unique<TInvitation>();
            letter->ClientId = client.clientId;
            letter->ClientLabel = client.label;
            letter->Recipient = address;
            letter->Sender = letter->SenderName = settings.sender.trimmed();
            letter->Subject = settings.subject;
            letter->Body = QStringList{buildLetter(i, &letter->Passwords)};
            ++mRunning;
            auto* gateway = new TSmtpGateway(this);
            connect(gateway, &TSmtpGateway::OnLog, this, &TInvitationRun::log);
            connect(gateway, &TSmtpGateway::OnLetterSent, this, &TInvitationRun::onLetterSent);
            connect(gateway, &TSmtpGateway::OnLetterError, this, &TInvitationRun::onLetterError);
            gateway->Host = settings.host.trimmed();
            gateway->Port = settings.port.trimmed();
            gateway->UserName = settings.userName.trimmed();
            gateway->Password = settings.password.trimmed();
            gateway->AuthType = settings.authRequired ? TSmtpGateway::AuthLogin : TSmtpGateway::AuthNone;
            gateway->UseTls = settings.useTls;
            gateway->Debug = settings.debug;
            gateway->ConnectTimeout = settings.connectTimeout;
            gateway->ResponseTimeout = settings.responseTimeout;
            gateway->FreeOnTerminate = true;
            gateway->AddLetter(std::move(letter));
            gateway->Start();
        }
    }
    mStarting = false;
    checkEnd();
}

void TInvitationRun::onLetterSent(TLetter* letter)
{
    if (auto* invitation = dynamic_cast<TInvitation*>(letter))
        emit letterSent(invitation);
    ++mSent;
    --mRunning;
    checkEnd();
}

void TInvitationRun::onLetterError(TLetter*)
{
    ++mFailed;
    --mRunning;
    checkEnd();
}

void TInvitationRun::checkEnd()
{
    if (mStarting || mRunning > 0)
        return;
    emit log(lang::format(lang::tr(u"vrstrSendingFinishedLog"), {mSent, mFailed}));
    emit finished(mSent, mFailed);
}

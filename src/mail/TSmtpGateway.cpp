#include "TSmtpGateway.h"

#include "MailMessage.h"
#include "SmtpConversation.h"
#include "SmtpWorkerPool.h"
#include "TLetter.h"

#include <QCoreApplication>
#include <QPointer>
#include <atomic>
#include <set>

namespace {

std::atomic<int> gNextId{1};

std::set<TSmtpGateway*>& liveGateways()
{
    static std::set<TSmtpGateway*> gateways;
    return gateways;
}

void watchQuit()
{
    static bool watching = false;
    if (watching || !QCoreApplication::instance())
        return;
    watching = true;
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] {
        TSmtpGateway::abortAll();
        SmtpWorkerPool::instance().shutdown();
    });
}

// How long an aborted conversation may take to notice; its socket is already shut down.
constexpr int kAbortWaitMs = 3000;

} // namespace

const QString TSmtpGateway::AbortedText = QStringLiteral("Sending aborted");

TSmtpGateway::TSmtpGateway(QObject* parent) : QObject(parent), mId(gNextId++)
{
    liveGateways().insert(this);
    watchQuit();
}

TSmtpGateway::~TSmtpGateway()
{
    liveGateways().erase(this);
    FreeOnTerminate = false;
    if (!mFinished)
        Abort();
    stop();
}

void TSmtpGateway::AddLetter(TLetter* letter)
{
    AddLetter(std::unique_ptr<TLetter>(letter));
}

void TSmtpGateway::AddLetter(std::unique_ptr<TLetter> letter)
{
    Q_ASSERT(!mStarted);
    if (mStarted || !letter)
        return;
    letter->OnLog = [this](const QString& line) { emit OnLog(line); };
    mLetters.push_back(std::move(letter));
}

void TSmtpGateway::Start()
{
    if (mStarted)
        return;
    mStarted = true;
    SmtpConversation::Settings settings;
    settings.host = Host;
    settings.port = Port;
    settings.userName = UserName;
    settings.password = Password;
    settings.authType = AuthType;
    settings.useTls = UseTls;
    settings.debug = Debug;
    settings.connectTimeoutMs = ConnectTimeout;
    settings.responseTimeoutMs = ResponseTimeout;
    settings.logPrefix = QString::number(mId) + QLatin1Char(' ');
    std::vector<MailContent> contents;
    contents.reserve(mLetters.size());
    for (const auto& letter : mLetters)
        contents.push_back(mailContentOf(*letter));
    mConversation = std::make_shared<SmtpConversation>(std::move(settings), std::move(contents));
    // The worker only posts; the events are read here, in order, on the GUI thread.
    mConversation->setNotifier(
        [this] { QMetaObject::invokeMethod(this, &TSmtpGateway::drain, Qt::QueuedConnection); });
    SmtpWorkerPool::instance().enqueue(mConversation);
}

void TSmtpGateway::Abort()
{
    if (mFinished)
        return;
    QPointer<TSmtpGateway> self(this);
    if (mConversation) {
        mConversation->cancel();
        if (!SmtpWorkerPool::instance().remove(mConversation))
            mConversation->waitFinished(kAbortWaitMs);
        // What the conversation finished before it stopped is reported as it happened.
        drain();
        if (!self || mFinished)
            return;
    }
    reportAborted();
    if (self)
        finish();
}

void TSmtpGateway::stop()
{
    if (!mConversation)
        return;
    mConversation->setNotifier(nullptr);
    mConversation->cancel();
    SmtpWorkerPool::instance().remove(mConversation);
    mConversation.reset();
}

void TSmtpGateway::logLine(const QString& line)
{
    // A failing log handler must not stop the letters.
    try {
        emit OnLog(line);
    } catch (...) {
    }
}

void TSmtpGateway::drain()
{
    if (!mConversation || mFinished)
        return;
    QPointer<TSmtpGateway> self(this);
    const std::vector<SmtpConversation::Event> events = mConversation->takeEvents();
    for (const SmtpConversation::Event& e : events) {
        if (!self || mFinished)
            return;
        switch (e.kind) {
        case SmtpConversation::Event::Log:
            logLine(e.text);
            break;
        case SmtpConversation::Event::LetterSent:
        case SmtpConversation::Event::LetterFailed: {
            if (size_t(e.letter) != mNextReport)
                break;
            TLetter* letter = mLetters[mNextReport++].get();
            if (e.kind == SmtpConversation::Event::LetterSent) {
                letter->DoSent();
                if (self)
                    emit OnLetterSent(letter);
            } else {
                letter->ErrorCode = quint16(e.code);
                letter->ErrorText = e.text;
                letter->DoError();
                if (self)
                    emit OnLetterError(letter);
            }
            break;
        }
        case SmtpConversation::Event::OpenFailed:
            logLine(QStringLiteral("%1 ErrorCode = %2 %3").arg(mId).arg(e.code).arg(e.text));
            while (self && mNextReport < mLetters.size()) {
                ++mNextReport;
                emit OnLetterError(nullptr);
            }
            break;
        case SmtpConversation::Event::Finished:
            // A cancelled conversation leaves letters unreported.
            reportAborted();
            if (self)
                finish();
            return;
        }
    }
}

void TSmtpGateway::reportAborted()
{
    QPointer<TSmtpGateway> self(this);
    while (self && mNextReport < mLetters.size()) {
        TLetter* letter = mLetters[mNextReport++].get();
        letter->ErrorCode = 42; // curl's "aborted by callback"
        letter->ErrorText = AbortedText;
        letter->DoError();
        if (self)
            emit OnLetterError(letter);
    }
}

void TSmtpGateway::finish()
{
    if (mFinished)
        return;
    mFinished = true;
    stop();
    emit Finished();
    if (FreeOnTerminate)
        deleteLater();
}

void TSmtpGateway::setMaxConversations(int count)
{
    SmtpWorkerPool::instance().setMaxThreads(count);
}

int TSmtpGateway::maxConversations()
{
    return SmtpWorkerPool::instance().maxThreads();
}

void TSmtpGateway::abortAll()
{
    // Copy first: handlers may destroy gateways.
    const std::set<TSmtpGateway*> gateways = liveGateways();
    for (TSmtpGateway* gateway : gateways)
        if (liveGateways().count(gateway))
            gateway->Abort();
}

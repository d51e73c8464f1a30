#include "SmtpConversation.h"

#include <algorithm>
#include <curl/curl.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

void initCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The port as a number: digits, or a service name such as "smtp"; 0 when unknown.
int resolvePort(const QString& text, bool tls)
{
    const QString port = text.trimmed();
    if (port.isEmpty())
        return tls ? 465 : 25;
    bool ok = false;
    const int number = port.toInt(&ok);
    if (ok)
        return number > 0 && number < 65536 ? number : 0;
    servent entry{};
    servent* found = nullptr;
    char buffer[1024];
    if (getservbyname_r(port.toLatin1().constData(), "tcp", &entry, buffer, sizeof buffer, &found) != 0 ||
        !found)
        return 0;
    return ntohs(uint16_t(found->s_port));
}

struct Reader
{
    const QByteArray* data;
    qsizetype offset = 0;
};

size_t readMessage(char* buffer, size_t size, size_t count, void* userdata)
{
    auto* reader = static_cast<Reader*>(userdata);
    const qsizetype n = std::min<qsizetype>(qsizetype(size * count), reader->data->size() - reader->offset);
    memcpy(buffer, reader->data->constData() + reader->offset, size_t(n));
    reader->offset += n;
    return size_t(n);
}

int progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<SmtpConversation*>(self)->isCancelled() ? 1 : 0;
}

} // namespace

SmtpConversation::SmtpConversation(Settings settings, std::vector<MailContent> letters)
    : mSettings(std::move(settings)), mLetters(std::move(letters))
{
}

SmtpConversation::~SmtpConversation() = default;

void SmtpConversation::setNotifier(std::function<void()> notifier)
{
    std::lock_guard lock(mMutex);
    mNotifier = std::move(notifier);
    if (mNotifier && !mEvents.empty() && !mNotifyPending) {
        mNotifyPending = true;
        mNotifier();
    }
}

std::vector<SmtpConversation::Event> SmtpConversation::takeEvents()
{
    std::lock_guard lock(mMutex);
    mNotifyPending = false;
    std::vector<Event> events;
    events.swap(mEvents);
    return events;
}

bool SmtpConversation::waitFinished(int ms)
{
    std::unique_lock lock(mMutex);
    return mFinishedCondition.wait_for(lock, std::chrono::milliseconds(ms), [this] { return mFinished; });
}

void SmtpConversation::cancel()
{
    std::lock_guard lock(mMutex);
    mCancelled = true;
    for (int fd : mSockets)
        ::shutdown(fd, SHUT_RDWR);
}

void SmtpConversation::push(Event event)
{
    std::lock_guard lock(mMutex);
    if (event.kind == Event::Finished) {
        mFinished = true;
        mFinishedCondition.notify_all();
    }
    mEvents.push_back(std::move(event));
    if (mNotifier && !mNotifyPending) {
        mNotifyPending = true;
        mNotifier();
    }
}

void SmtpConversation::log(const QString& text)
{
    push({Event::Log, -1, 0, mSettings.logPrefix + text});
}

int SmtpConversation::openSocket(void* self, int purpose, void* address)
{
    auto* me = static_cast<SmtpConversation*>(self);
    auto* a = static_cast<curl_sockaddr*>(address);
    std::lock_guard lock(me->mMutex);
    if (me->mCancelled || purpose != CURLSOCKTYPE_IPCXN)
        return CURL_SOCKET_BAD;
    const int fd = ::socket(a->family, a->socktype, a->protocol);
    if (fd >= 0)
        me->mSockets.push_back(fd);
    return fd;
}

int SmtpConversation::closeSocket(void* self, int fd)
{
    auto* me = static_cast<SmtpConversation*>(self);
    std::lock_guard lock(me->mMutex);
    me->mSockets.erase(std::remove(me->mSockets.begin(), me->mSockets.end(), fd), me->mSockets.end());
    return ::close(fd);
}

int SmtpConversation::debugCallback(void*, int type, char* data, size_t size, void* self)
{
    // Only the command and reply lines: never the message, never TLS records or curl's own remarks.
    if (type == CURLINFO_HEADER_IN || type == CURLINFO_HEADER_OUT)
        static_cast<SmtpConversation*>(self)->trace(type == CURLINFO_HEADER_OUT,
                                                    QByteArray(data, qsizetype(size)));
    return 0;
}

void SmtpConversation::trace(bool sent, const QByteArray& bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray line : lines) {
        while (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        QString text = QString::fromLatin1(line);
        if (sent) {
            if (text.startsWith(QLatin1String("MAIL FROM"), Qt::CaseInsensitive))
                mMailFromSent = true;
            if (text.startsWith(QLatin1String("AUTH "), Qt::CaseInsensitive)) {
                // The mechanism stays readable; its initial response is a credential.
                mInAuth = true;
                const qsizetype argument = text.indexOf(QLatin1Char(' '), 5);
                if (argument > 0)
                    text = text.left(argument) + QLatin1String(" ***");
            } else if (mInAuth) {
                text = QStringLiteral("***");
            }
        } else {
            const int reply = text.left(3).toInt();
            if (reply >= 400 && reply < 600)
                mLastRefusal = text;
            if (text.startsWith(QLatin1String("334")))
                text = QStringLiteral("334 ***");
            else
                mInAuth = false;
        }
        if (mSettings.debug)
            log((sent ? QLatin1String("C: ") : QLatin1String("S: ")) + text);
    }
}

void SmtpConversation::run()
{
    initCurl();
    const auto finish = [this] { push({Event::Finished, -1, 0, {}}); };
    if (mCancelled)
        return finish();
    if (mSettings.port == QLatin1String("465") && !mSettings.useTls)
        log(QStringLiteral("Warning: TLS disabled"));

    const int port = resolvePort(mSettings.port, mSettings.useTls);
    if (port == 0) {
        push({Event::OpenFailed, -1, 0, QStringLiteral("Unknown port \"%1\"").arg(mSettings.port)});
        return finish();
    }
    QString host = mSettings.host.trimmed();
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    const QByteArray url = (QLatin1String(mSettings.useTls ? "smtps://" : "smtp://") + host +
                            QLatin1Char(':') + QString::number(port))
                               .toUtf8();
    const QByteArray user = mSettings.userName.toUtf8();
    const QByteArray password = mSettings.password.toUtf8();

    CURL* curl = curl_easy_init();
    char errorBuffer[CURL_ERROR_SIZE];
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_NONE));
    // As the console always did: the server's certificate is not checked.
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
    if (mSettings.authType == 1 || mSettings.authType == 2) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
        curl_easy_setopt(curl, CURLOPT_LOGIN_OPTIONS, mSettings.authType == 1 ? "AUTH=PLAIN" : "AUTH=LOGIN");
    }
    const long responseSeconds = std::max(1L, long((mSettings.responseTimeoutMs + 999) / 1000));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(std::max(1, mSettings.connectTimeoutMs)));
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, responseSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, responseSeconds);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, &SmtpConversation::debugCallback);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &SmtpConversation::openSocket);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, this);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, &SmtpConversation::closeSocket);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, this);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, &readMessage);

    bool opened = false;
    for (int i = 0; i < int(mLetters.size()) && !mCancelled; ++i) {
        const MailContent& letter = mLetters[size_t(i)];
        QString buildError;
        const QByteArray message = buildMimeMessage(letter, &buildError);
        if (message.isEmpty()) {
            push({Event::LetterFailed, i, 0, buildError});
            continue;
        }
        const QByteArray from =
            (QLatin1Char('<') + senderMailbox(letter.Sender, letter.SenderName).address + QLatin1Char('>'))
                .toUtf8();
        const QByteArray to = (QLatin1Char('<') + letter.Recipient.trimmed() + QLatin1Char('>')).toUtf8();
        curl_slist* recipients = curl_slist_append(nullptr, to.constData());
        Reader reader{&message};
        curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
        curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
        curl_easy_setopt(curl, CURLOPT_READDATA, &reader);
        errorBuffer[0] = 0;
        mMailFromSent = false;
        mInAuth = false;
        mLastRefusal.clear();
        const CURLcode result = curl_easy_perform(curl);
        curl_slist_free_all(recipients);
        if (mCancelled)
            break;
        if (result == CURLE_OK) {
            opened = true;
            push({Event::LetterSent, i, 0, {}});
            continue;
        }
        int code = int(result);
        QString text =
            errorBuffer[0] ? QString::fromUtf8(errorBuffer) : QString::fromUtf8(curl_easy_strerror(result));
        // A refusal by the server reads best in the server's own words.
        if (!mLastRefusal.isEmpty() && result != CURLE_OPERATION_TIMEDOUT) {
            code = mLastRefusal.left(3).toInt();
            text = mLastRefusal.mid(4).trimmed();
        }
        if (!opened && !mMailFromSent) {
            push({Event::OpenFailed, i, code, text});
            break;
        }
        opened = true;
        push({Event::LetterFailed, i, code, text});
    }
    curl_easy_cleanup(curl); // says QUIT on a live connection
    finish();
}

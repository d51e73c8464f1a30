// Sending 1,000 invitation letters to a local aiosmtpd sink with 8 conversations at once, against
// Python's smtplib on a thread pool of 8 sending the same letters to the same sink, in one run.
#include "TInvitation.h"
#include "TSmtpGateway.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLetters = 1000;

const char* kSmtplib = R"(
import json, sys, smtplib, time
from concurrent.futures import ThreadPoolExecutor
from email.mime.text import MIMEText
from email.header import Header
from email.utils import formataddr
from email import charset
# The same form as the console's letters: quoted-printable text and encoded words in windows-1251.
cp1251 = charset.Charset("windows-1251")
cp1251.body_encoding = cp1251.header_encoding = charset.QP
port, letters = int(sys.argv[1]), json.load(open(sys.argv[2], encoding="utf-8"))
def send(letter):
    msg = MIMEText(letter["text"], "plain", cp1251)
    msg["From"] = formataddr((str(Header("Портал", "windows-1251")), "noreply@portal.test"))
    msg["To"] = letter["to"]
    msg["Subject"] = Header(letter["subject"], "windows-1251")
    with smtplib.SMTP("127.0.0.1", port) as s:
        s.sendmail("noreply@portal.test", [letter["to"]], msg.as_bytes())
start = time.perf_counter()
with ThreadPoolExecutor(8) as pool:
    list(pool.map(send, letters))
print(time.perf_counter() - start)
)";

QString letterText(int i)
{
    return QStringLiteral("Уважаемый клиент!\nПриглашаем Вас к работе с системой через WEB-интерфейс.\n\n"
                          "       Клиент: ООО \"Ромашка %1\"\n       Логин: client%1\n       Пароль: pw%1\n"
                          "       Дата блокировки: не задана\n\nС уважением, оператор портала.\n")
        .arg(i);
}

double sendWithGateways(int port)
{
    int finished = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kLetters; ++i) {
        auto* g = new TSmtpGateway;
        g->Host = QStringLiteral("127.0.0.1");
        g->Port = QString::number(port);
        g->Debug = false;
        g->FreeOnTerminate = true;
        auto letter = std::make_unique<TInvitation>();
        letter->Recipient = QStringLiteral("client%1@example.test").arg(i);
        letter->Sender = letter->SenderName = QStringLiteral("Портал <noreply@portal.test>");
        letter->Subject = QStringLiteral("Приглашение на портал");
        letter->Body = QStringList{letterText(i)};
        QObject::connect(g, &TSmtpGateway::Finished, [&] { ++finished; });
        g->AddLetter(std::move(letter));
        g->Start();
    }
    while (finished < kLetters)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return seconds;
}

double sendWithSmtplib(int port, const QString& lettersFile)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(kSmtplib), QString::number(port), lettersFile});
    python.waitForFinished(600000);
    if (python.exitCode() != 0) {
        std::fprintf(stderr, "smtplib run failed: %s\n", python.readAllStandardError().constData());
        std::exit(1);
    }
    return python.readAllStandardOutput().trimmed().toDouble();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QProcess sink;
    sink.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sink.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral(TEV_SMTP_SERVER), QStringLiteral("sink"), dir.path()});
    int port = 0;
    while (port == 0 && sink.waitForReadyRead(20000))
        while (sink.canReadLine()) {
            const QByteArray line = sink.readLine().trimmed();
            if (line.startsWith("PORT "))
                port = line.mid(5).toInt();
        }
    if (port == 0) {
        std::fprintf(stderr, "the aiosmtpd sink did not start\n");
        return 1;
    }

    QJsonArray letters;
    for (int i = 0; i < kLetters; ++i)
        letters.append(QJsonObject{{"to", QStringLiteral("client%1@example.test").arg(i)},
                                   {"subject", QStringLiteral("Приглашение на портал")},
                                   {"text", letterText(i)}});
    const QString lettersFile = dir.filePath(QStringLiteral("letters.json"));
    QFile file(lettersFile);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(QJsonDocument(letters).toJson());
    file.close();

    TSmtpGateway::setMaxConversations(8);
    std::vector<double> ours, theirs;
    for (int round = 0; round < 3; ++round) {
        ours.push_back(sendWithGateways(port));
        theirs.push_back(sendWithSmtplib(port, lettersFile));
    }
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    std::fprintf(stderr, "mail: gateways %.3f s, smtplib %.3f s (medians of 3)\n", ours[1], theirs[1]);
    std::printf("mail_send_vs_smtplib: %.2f (target <= 1.1)\n", ours[1] / theirs[1]);
    sink.kill();
    sink.waitForFinished();
    return 0;
}

#include "SystemdServiceManager.h"

#include <QAtomicInt>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QTextStream>
#include <limits>

namespace {

const QString kDestination = QStringLiteral("org.freedesktop.systemd1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/systemd1");
const QString kManager = QStringLiteral("org.freedesktop.systemd1.Manager");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kUnit = QStringLiteral("org.freedesktop.systemd1.Unit");
const QString kService = QStringLiteral("org.freedesktop.systemd1.Service");

// A wait hint from a timeout in microseconds; "infinity" and absurd values are capped.
int waitHintOf(const QVariant& usec)
{
    constexpr quint64 kCap = 3600ull * 1000ull; // an hour
    const quint64 ms = usec.toULongLong() / 1000ull;
    return int(std::min(ms, kCap));
}

QString firstExecProgram(const QVariant& value)
{
    if (!value.canConvert<QDBusArgument>())
        return {};
    const QDBusArgument arg = value.value<QDBusArgument>();
    QString program;
    arg.beginArray();
    while (!arg.atEnd()) {
        QString path;
        QStringList argv;
        bool ignoreErrors = false;
        quint64 t1 = 0, t2 = 0, t3 = 0, t4 = 0;
        quint32 pid = 0;
        qint32 code = 0, status = 0;
        arg.beginStructure();
        arg >> path >> argv >> ignoreErrors >> t1 >> t2 >> t3 >> t4 >> pid >> code >> status;
        arg.endStructure();
        if (program.isEmpty())
            program = path;
    }
    arg.endArray();
    return program;
}

quint32 jobId(const QVariant& value)
{
    if (!value.canConvert<QDBusArgument>())
        return 0;
    const QDBusArgument arg = value.value<QDBusArgument>();
    quint32 id = 0;
    QDBusObjectPath path;
    arg.beginStructure();
    arg >> id >> path;
    arg.endStructure();
    return id;
}

QVariant unwrap(const QVariant& v)
{
    if (v.canConvert<QDBusVariant>())
        return v.value<QDBusVariant>().variant();
    return v;
}

} // namespace

SystemdServiceManager::SystemdServiceManager()
{
    const QString bus = qEnvironmentVariable(kBusVariable).trimmed();
    if (bus.isEmpty() || bus == QLatin1String("system")) {
        mBus = Bus::System;
    } else if (bus == QLatin1String("session")) {
        mBus = Bus::Session;
    } else {
        mBus = Bus::Address;
        mAddress = bus;
    }
}

SystemdServiceManager::SystemdServiceManager(const QString& address) : mBus(Bus::Address), mAddress(address)
{
}

SystemdServiceManager::~SystemdServiceManager()
{
    if (!mConnectionName.isEmpty())
        QDBusConnection::disconnectFromBus(mConnectionName);
}

QDBusConnection SystemdServiceManager::bus() const
{
    switch (mBus) {
    case Bus::System:
        return QDBusConnection::systemBus();
    case Bus::Session:
        return QDBusConnection::sessionBus();
    case Bus::Address:
        break;
    }
    // One named connection per manager object, opened on first use from whichever thread.
    static QAtomicInt counter;
    auto* self = const_cast<SystemdServiceManager*>(this);
    static QMutex mutex;
    QMutexLocker lock(&mutex);
    if (self->mConnectionName.isEmpty())
        self->mConnectionName = QStringLiteral("tev-systemd-%1").arg(counter.fetchAndAddRelaxed(1));
    QDBusConnection existing(self->mConnectionName);
    if (existing.isConnected())
        return existing;
    return QDBusConnection::connectToBus(mAddress, self->mConnectionName);
}

QDBusMessage SystemdServiceManager::callManager(const QString& method, const QList<QVariant>& arguments) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(kDestination, kManagerPath, kManager, method);
    call.setArguments(arguments);
    return bus().call(call);
}

bool SystemdServiceManager::managerCallSucceeds(const QString& method, const QList<QVariant>& arguments) const
{
    return callManager(method, arguments).type() == QDBusMessage::ReplyMessage;
}

ServiceStatus SystemdServiceManager::query(const QString& service)
{
    ServiceStatus status;
    if (service.trimmed().isEmpty())
        return status;
    const QString unit = serviceUnitName(service);
    const QDBusMessage loaded = callManager(QStringLiteral("LoadUnit"), {unit});
    if (loaded.type() != QDBusMessage::ReplyMessage || loaded.arguments().isEmpty())
        return status;
    const QString path = loaded.arguments().first().value<QDBusObjectPath>().path();

    auto all = [&](const QString& interface) -> QVariantMap {
        QDBusMessage call =
            QDBusMessage::createMethodCall(kDestination, path, kProperties, QStringLiteral("GetAll"));
        call << interface;
        const QDBusMessage reply = bus().call(call);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        QVariantMap map;
        reply.arguments().first().value<QDBusArgument>() >> map;
        return map;
    };
    const QVariantMap u = all(kUnit);
    const QString loadState = unwrap(u.value(QStringLiteral("LoadState"))).toString();
    if (u.isEmpty() || loadState == QLatin1String("not-found") || loadState.isEmpty())
        return status;
    const bool masked = loadState == QLatin1String("masked");

    const QString active = unwrap(u.value(QStringLiteral("ActiveState"))).toString();
    const QString freezer = unwrap(u.value(QStringLiteral("FreezerState"))).toString();
    const bool queuedJob = jobId(unwrap(u.value(QStringLiteral("Job")))) != 0;
    if (freezer == QLatin1String("frozen"))
        status.state = ServiceState::Paused;
    else if (freezer == QLatin1String("freezing"))
        status.state = ServiceState::PausePending;
    else if (freezer == QLatin1String("thawing"))
        status.state = ServiceState::ContinuePending;
    else if (active == QLatin1String("activating"))
        status.state = ServiceState::StartPending;
    else if (active == QLatin1String("deactivating"))
        status.state = ServiceState::StopPending;
    else if (active == QLatin1String("active") || active == QLatin1String("reloading"))
        status.state = queuedJob ? ServiceState::StopPending : ServiceState::Running;
    else
        status.state = queuedJob ? ServiceState::StartPending : ServiceState::Stopped;

    const QString fileState = unwrap(u.value(QStringLiteral("UnitFileState"))).toString();
    if (masked || fileState.startsWith(QLatin1String("masked")))
        status.startType = ServiceStartType::Disabled;
    else if (fileState.startsWith(QLatin1String("enabled")))
        status.startType = ServiceStartType::Auto;
    else
        status.startType = ServiceStartType::Manual;

    status.accepts = AcceptShutdown;
    if (unwrap(u.value(QStringLiteral("CanStop"))).toBool())
        status.accepts |= AcceptStop;
    if (unwrap(u.value(QStringLiteral("CanFreeze"))).toBool())
        status.accepts |= AcceptPauseContinue;
    status.displayName = unwrap(u.value(QStringLiteral("Description"))).toString();
    if (status.displayName.isEmpty())
        status.displayName = unit;

    const QVariantMap s = masked ? QVariantMap() : all(kService);
    status.binaryPath = firstExecProgram(unwrap(s.value(QStringLiteral("ExecStart"))));
    if (status.binaryPath.isEmpty())
        status.binaryPath = programFromUnitFile(unit);
    status.accountName = unwrap(s.value(QStringLiteral("User"))).toString();
    constexpr int kDefaultTimeout = 90 * 1000;
    status.startWaitHint =
        s.isEmpty() ? kDefaultTimeout : waitHintOf(unwrap(s.value(QStringLiteral("TimeoutStartUSec"))));
    status.stopWaitHint =
        s.isEmpty() ? kDefaultTimeout : waitHintOf(unwrap(s.value(QStringLiteral("TimeoutStopUSec"))));
    return status;
}

QString SystemdServiceManager::execStartProgram(const QString& value)
{
    QString v = value.trimmed();
    // Prefixes that change how the command runs, not what it runs.
    while (!v.isEmpty() && QStringLiteral("@-:+!").contains(v.front()))
        v.remove(0, 1);
    if (v.startsWith(QLatin1Char('"')) || v.startsWith(QLatin1Char('\''))) {
        const QChar quote = v.front();
        const qsizetype end = v.indexOf(quote, 1);
        return end < 0 ? v.mid(1) : v.mid(1, end - 1);
    }
    const qsizetype blank = v.indexOf(QRegularExpression(QStringLiteral("\\s")));
    return blank < 0 ? v : v.left(blank);
}

QString SystemdServiceManager::programFromUnitFile(const QString& unit) const
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(kDestination, kManagerPath, kProperties, QStringLiteral("Get"));
    call << kManager << QStringLiteral("UnitPath");
    const QDBusMessage reply = bus().call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    const QStringList folders = unwrap(reply.arguments().first()).toStringList();
    for (const QString& folder : folders) {
        const QFileInfo info(QDir(folder).filePath(unit));
        if (!info.exists())
            continue;
        // A mask is a link to /dev/null; the real file lies further down the search path.
        if (info.canonicalFilePath() == QLatin1String("/dev/null") || !info.isFile() || info.size() == 0)
            continue;
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QTextStream in(&file);
        bool inService = false;
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (line.startsWith(QLatin1Char('[')))
                inService = line.compare(QLatin1String("[Service]"), Qt::CaseInsensitive) == 0;
            else if (inService && line.startsWith(QLatin1String("ExecStart=")))
                return execStartProgram(line.mid(int(qstrlen("ExecStart="))));
        }
        return {};
    }
    return {};
}

bool SystemdServiceManager::start(const QString& service)
{
    return managerCallSucceeds(QStringLiteral("StartUnit"),
                               {serviceUnitName(service), QStringLiteral("replace")});
}

bool SystemdServiceManager::stop(const QString& service)
{
    return managerCallSucceeds(QStringLiteral("StopUnit"),
                               {serviceUnitName(service), QStringLiteral("replace")});
}

bool SystemdServiceManager::pause(const QString& service)
{
    return managerCallSucceeds(QStringLiteral("FreezeUnit"), {serviceUnitName(service)});
}

bool SystemdServiceManager::resume(const QString& service)
{
    return managerCallSucceeds(QStringLiteral("ThawUnit"), {serviceUnitName(service)});
}

bool SystemdServiceManager::setStartType(const QString& service, ServiceStartType type)
{
    const QStringList units{serviceUnitName(service)};
    const bool masked = query(service).startType == ServiceStartType::Disabled;
    bool ok = true;
    switch (type) {
    case ServiceStartType::Auto:
        if (masked)
            ok = managerCallSucceeds(QStringLiteral("UnmaskUnitFiles"), {units, false});
        ok = ok && managerCallSucceeds(QStringLiteral("EnableUnitFiles"), {units, false, true});
        break;
    case ServiceStartType::Manual:
        if (masked)
            ok = managerCallSucceeds(QStringLiteral("UnmaskUnitFiles"), {units, false});
        ok = ok && managerCallSucceeds(QStringLiteral("DisableUnitFiles"), {units, false});
        break;
    case ServiceStartType::Disabled:
        managerCallSucceeds(QStringLiteral("DisableUnitFiles"), {units, false});
        ok = managerCallSucceeds(QStringLiteral("MaskUnitFiles"), {units, false, true});
        break;
    case ServiceStartType::Boot:
    case ServiceStartType::System:
        return false;
    }
    // Unit files changed on disk: the manager reads them again.
    const bool reloaded = managerCallSucceeds(QStringLiteral("Reload"), {});
    return ok && reloaded;
}

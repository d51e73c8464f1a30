#include "SystemdUserManager.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <unistd.h>

namespace {

bool writeFile(const QString& path, const QByteArray& data, QFile::Permissions permissions = {})
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(data);
    f.close();
    return permissions == QFile::Permissions() || f.setPermissions(permissions);
}

QString systemdProgram()
{
    for (const char* p : {"/lib/systemd/systemd", "/usr/lib/systemd/systemd"})
        if (QFile::exists(QString::fromLatin1(p)))
            return QString::fromLatin1(p);
    return {};
}

QStringList unshareArguments()
{
    // A user namespace is what lets anyone else mount a tmpfs.
    return ::geteuid() == 0 ? QStringList{QStringLiteral("-m")}
                            : QStringList{QStringLiteral("-m"), QStringLiteral("-r")};
}

} // namespace

SystemdUserManager::SystemdUserManager()
{
    QDir root(mDir.path());
    for (const char* d : {"run", "config", "data/systemd/user", "bin"})
        root.mkpath(QString::fromLatin1(d));
    QFile::setPermissions(root.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

SystemdUserManager::~SystemdUserManager()
{
    stop();
}

void SystemdUserManager::addUnit(const QString& name, const QString& text)
{
    writeFile(QDir(mDir.path()).filePath(QStringLiteral("data/systemd/user/") + name), text.toUtf8());
}

QString SystemdUserManager::addScript(const QString& name, const QString& body)
{
    const QString path = QDir(mDir.path()).filePath(QStringLiteral("bin/") + name);
    writeFile(path, ("#!/bin/sh\n" + body + "\n").toUtf8(),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    return path;
}

QString SystemdUserManager::busAddress() const
{
    return QStringLiteral("unix:path=") + QDir(mDir.path()).filePath(QStringLiteral("run/bus"));
}

bool SystemdUserManager::start()
{
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    const QString systemd = systemdProgram();
    if (unshare.isEmpty() || daemon.isEmpty() || systemd.isEmpty()) {
        mReason = QStringLiteral(
            "unshare, dbus-daemon or systemd is missing (scripts/install-deps.sh installs them)");
        return false;
    }
    {
        QProcess probe;
        probe.start(unshare, unshareArguments() + QStringList{QStringLiteral("true")});
        if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit ||
            probe.exitCode() != 0) {
            mRefused = true;
            mReason = QStringLiteral("the host refuses unshare -m: ") +
                      QString::fromLocal8Bit(probe.readAllStandardError()).trimmed();
            return false;
        }
    }

    // The user manager starts the bus itself, by socket activation on $XDG_RUNTIME_DIR/bus, as a
    // desktop session does; it joins the bus once that unit runs. The units here replace the
    // distribution's: a bus with a configuration of its own and nothing else to activate.
    QDir root(mDir.path());
    const QString config = root.filePath(QStringLiteral("bus.conf"));
    writeFile(config,
              QByteArrayLiteral(
                  "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                  " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                  "<busconfig><type>session</type><listen>systemd:</listen>\n"
                  "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                  "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n"));
    root.mkpath(QStringLiteral("config/systemd/user"));
    writeFile(root.filePath(QStringLiteral("config/systemd/user/dbus.socket")),
              QByteArrayLiteral("[Socket]\nListenStream=%t/bus\n"));
    writeFile(root.filePath(QStringLiteral("config/systemd/user/dbus.service")),
              QStringLiteral("[Unit]\nRequires=dbus.socket\n[Service]\nExecStart=%1 --config-file=%2 "
                             "--address=systemd: --nofork --nopidfile --systemd-activation\n")
                  .arg(daemon, config)
                  .toUtf8());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress());
    mManager.setProcessEnvironment(env);
    mManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // systemd --user insists on a system booted with systemd (/run/systemd/system): that folder
    // exists only inside the namespace.
    mManager.start(unshare, unshareArguments() +
                                QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                                            QStringLiteral("mount -t tmpfs tmpfs /run/systemd && mkdir -p "
                                                           "/run/systemd/system && exec %1 --user")
                                                .arg(systemd)});
    if (!mManager.waitForStarted(5000)) {
        mReason = QStringLiteral("systemd --user did not start");
        return false;
    }
    const QString name = QStringLiteral("systemd-fixture-probe");
    QDeadlineTimer ready(20000);
    bool up = false;
    while (!ready.hasExpired() && mManager.state() == QProcess::Running) {
        {
            QDBusConnection bus = QDBusConnection::connectToBus(busAddress(), name);
            up = bus.isConnected() &&
                 bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.systemd1")).value();
        }
        if (up)
            break;
        QDBusConnection::disconnectFromBus(name);
        QThread::msleep(50);
    }
    QDBusConnection bus(name);
    if (up) {
        // The bus's own process, to be stopped by its PID after the manager has gone.
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.systemd1"),
            QStringLiteral("/org/freedesktop/systemd1/unit/dbus_2eservice"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        call << QStringLiteral("org.freedesktop.systemd1.Service") << QStringLiteral("MainPID");
        const QDBusMessage reply = bus.call(call);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            mBusPid = qint64(reply.arguments().first().value<QDBusVariant>().variant().toUInt());
    }
    QDBusConnection::disconnectFromBus(name);
    if (!up) {
        mReason = QStringLiteral("systemd --user did not come up on the private bus");
        return false;
    }
    return true;
}

void SystemdUserManager::stop()
{
    if (mManager.state() == QProcess::Running) {
        // Exit stops every unit first; a manager that does not answer is killed.
        const QString name = QStringLiteral("systemd-fixture-stop");
        {
            QDBusConnection bus = QDBusConnection::connectToBus(busAddress(), name);
            bus.call(QDBusMessage::createMethodCall(
                QStringLiteral("org.freedesktop.systemd1"), QStringLiteral("/org/freedesktop/systemd1"),
                QStringLiteral("org.freedesktop.systemd1.Manager"), QStringLiteral("Exit")));
        }
        QDBusConnection::disconnectFromBus(name);
        if (!mManager.waitForFinished(20000)) {
            ::kill(pid_t(mManager.processId()), SIGKILL);
            mManager.waitForFinished(5000);
        }
    }
    if (mBusPid > 0 && ::kill(pid_t(mBusPid), 0) == 0)
        ::kill(pid_t(mBusPid), SIGTERM);
}

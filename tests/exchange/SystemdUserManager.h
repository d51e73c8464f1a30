#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A systemd user manager of its own on a private D-Bus: systemd --user in a mount namespace (a tmpfs
// over /run/systemd, so that it runs beside whatever the host has) with temporary runtime,
// configuration and data folders; it starts dbus-daemon on $XDG_RUNTIME_DIR/bus itself. Units go
// to $XDG_DATA_HOME/systemd/user before start(). Both processes are stopped by their PID.
class SystemdUserManager
{
public:
    SystemdUserManager();
    ~SystemdUserManager();

    // Writes a unit file (name with ".service") before the manager starts.
    void addUnit(const QString& name, const QString& text);
    // A small executable script in the temporary folder; returns its path.
    QString addScript(const QString& name, const QString& body);

    // Starts the bus and the manager; false with reason() when the host refuses (no unshare).
    bool start();
    const QString& reason() const { return mReason; }
    // Whether the host refuses unshare -m: the one reason to skip.
    bool refusedByHost() const { return mRefused; }
    QString busAddress() const;
    QString root() const { return mDir.path(); }

private:
    void stop();

    QTemporaryDir mDir;
    qint64 mBusPid = 0;
    QProcess mManager;
    QString mReason;
    bool mRefused = false;
};

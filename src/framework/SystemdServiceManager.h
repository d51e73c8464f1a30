#pragma once

#include "ServiceManager.h"

#include <QString>

class QDBusConnection;
class QDBusMessage;

// The exchange services as systemd units, over systemd's D-Bus API.
//
// The system bus by default; the environment variable TEV_SERVICE_BUS chooses another one:
// "session" for the user's session bus (a user manager's units), anything else is taken as a D-Bus
// address. A bus that cannot be reached makes every unit read as not installed.
//
// States: inactive/failed -> stopped, activating (or a queued start job) -> start pending,
// deactivating (or a queued stop job) -> stop pending, active -> started; a frozen unit is paused.
// Start types: enabled -> automatic, masked -> disabled, anything else -> manual. The binary path is
// ExecStart's program, read from the unit file when the unit is masked.
class SystemdServiceManager : public IServiceManager
{
public:
    static constexpr char kBusVariable[] = "TEV_SERVICE_BUS";

    // The bus TEV_SERVICE_BUS names (read now).
    SystemdServiceManager();
    // A private connection to the bus at `address`.
    explicit SystemdServiceManager(const QString& address);
    ~SystemdServiceManager() override;
    SystemdServiceManager(const SystemdServiceManager&) = delete;
    SystemdServiceManager& operator=(const SystemdServiceManager&) = delete;

    ServiceStatus query(const QString& service) override;
    bool start(const QString& service) override;
    bool stop(const QString& service) override;
    bool pause(const QString& service) override;
    bool resume(const QString& service) override;
    bool setStartType(const QString& service, ServiceStartType type) override;

    // The program of an ExecStart= line of a unit file ("-/usr/bin/x --a" gives "/usr/bin/x").
    static QString execStartProgram(const QString& value);

private:
    QDBusConnection bus() const;
    QDBusMessage callManager(const QString& method, const QList<QVariant>& arguments) const;
    bool managerCallSucceeds(const QString& method, const QList<QVariant>& arguments) const;
    // ExecStart's program from the unit's file in the manager's search path.
    QString programFromUnitFile(const QString& unit) const;

    enum class Bus
    {
        System,
        Session,
        Address
    };
    Bus mBus = Bus::System;
    QString mAddress;
    QString mConnectionName;
};

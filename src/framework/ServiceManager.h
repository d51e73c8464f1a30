#pragma once

#include <QString>

// The state of an installed service; the numbers are those the service controllers show (0: the
// service cannot be found).
enum class ServiceState
{
    NotInstalled = 0,
    Stopped = 1,
    StartPending = 2,
    StopPending = 3,
    Running = 4,
    ContinuePending = 5,
    PausePending = 6,
    Paused = 7
};

// Lookups of the exchange services ("srvTEVWebInSrvc", "srvTEVWebOutSrvc") on this computer. On
// Linux they are systemd units of the same name with ".service" appended; tests put an in-memory
// manager in place.
class IServiceManager
{
public:
    virtual ~IServiceManager() = default;
    virtual bool isInstalled(const QString& service) = 0;
    // The program file the service runs (the unit's ExecStart program); empty when not installed.
    virtual QString binaryPath(const QString& service) = 0;
    virtual ServiceState state(const QString& service) = 0;
};

// The manager every lookup goes through: systemd unless another one was put in place.
IServiceManager& serviceManager();
// Puts a manager in place (nullptr: systemd again) and returns the previous one, which the caller
// still owns.
IServiceManager* setServiceManager(IServiceManager* manager);

// "srvTEVWebInSrvc" -> "srvTEVWebInSrvc.service"; a name that already ends in ".service" stays.
QString serviceUnitName(const QString& service);

// The program file of an installed service; empty when it cannot be found.
QString ServiceBinaryPath(const QString& serviceName);

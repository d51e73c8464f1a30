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

// How a service starts; the numbers are those the service controllers show.
enum class ServiceStartType
{
    Boot = 0,
    System = 1,
    Auto = 2,
    Manual = 3,
    Disabled = 4
};

// What a service accepts, as flags.
enum ServiceAccept
{
    AcceptStop = 1,
    AcceptPauseContinue = 2,
    AcceptShutdown = 4
};

// One query's answer. A service that cannot be opened reads with these defaults.
struct ServiceStatus
{
    ServiceState state = ServiceState::NotInstalled;
    ServiceStartType startType = ServiceStartType::Disabled;
    int accepts = AcceptShutdown;
    QString binaryPath;
    QString displayName;
    QString accountName;
    // How long a start or a stop may take before the manager gives up, in milliseconds.
    int startWaitHint = 0;
    int stopWaitHint = 0;
};

// The exchange services ("srvTEVWebInSrvc", "srvTEVWebOutSrvc") on this computer. On Linux they are
// systemd units of the same name with ".service" appended; tests put an in-memory manager in place.
// Every operation may be called from any thread. Requests answer whether the manager accepted
// them; they do not wait for the service to get there.
class IServiceManager
{
public:
    virtual ~IServiceManager() = default;

    virtual ServiceStatus query(const QString& service) = 0;
    virtual bool start(const QString& service) = 0;
    virtual bool stop(const QString& service) = 0;
    virtual bool pause(const QString& service) = 0;
    virtual bool resume(const QString& service) = 0;
    virtual bool setStartType(const QString& service, ServiceStartType type) = 0;

    bool isInstalled(const QString& service) { return query(service).state != ServiceState::NotInstalled; }
    // The program file the service runs (the unit's ExecStart program); empty when not installed.
    QString binaryPath(const QString& service) { return query(service).binaryPath; }
    ServiceState state(const QString& service) { return query(service).state; }
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

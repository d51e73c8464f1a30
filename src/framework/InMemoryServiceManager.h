#pragma once

#include "ServiceManager.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

// Services held in memory, for tests and for running the console where no service manager is.
// Names are compared exactly, as systemd compares unit names. Requests take effect at once; every
// operation may be called from any thread.
class InMemoryServiceManager : public IServiceManager
{
public:
    void install(const QString& service, const QString& binaryPath,
                 ServiceState state = ServiceState::Stopped);
    void uninstall(const QString& service);
    void setState(const QString& service, ServiceState state);
    void setStartTypeOf(const QString& service, ServiceStartType type);
    // Flags of ServiceAccept; a new service accepts stop, pause/continue and shutdown.
    void setAccepts(const QString& service, int accepts);
    void setDisplayName(const QString& service, const QString& name);
    // Pause requests are refused (as systemd refuses freezing on some cgroup layouts).
    void setPauseRefused(bool refused);
    // The requests the manager received, as "<request> <unit>", in order.
    QStringList requests() const;

    ServiceStatus query(const QString& service) override;
    bool start(const QString& service) override;
    bool stop(const QString& service) override;
    bool pause(const QString& service) override;
    bool resume(const QString& service) override;
    bool setStartType(const QString& service, ServiceStartType type) override;

private:
    struct Service
    {
        ServiceStatus status;
    };
    // Moves a service from one of the `from` states to `to`; false when it is in none of them or
    // does not accept what `needs` asks.
    bool request(const char* name, const QString& service, std::initializer_list<ServiceState> from,
                 ServiceState to, int needs, bool refused = false);

    mutable QMutex mMutex;
    QHash<QString, Service> mServices; // by unit name
    QStringList mRequests;
    bool mPauseRefused = false;
};

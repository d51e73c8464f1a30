#pragma once

#include "ServiceManager.h"

#include <QHash>

// Services held in memory, for tests and for running the console where no service manager is.
// Names are compared exactly, as systemd compares unit names.
class InMemoryServiceManager : public IServiceManager
{
public:
    void install(const QString& service, const QString& binaryPath,
                 ServiceState state = ServiceState::Stopped);
    void uninstall(const QString& service);
    void setState(const QString& service, ServiceState state);

    bool isInstalled(const QString& service) override;
    QString binaryPath(const QString& service) override;
    ServiceState state(const QString& service) override;

private:
    struct Service
    {
        QString binaryPath;
        ServiceState state = ServiceState::Stopped;
    };
    QHash<QString, Service> mServices; // by unit name
};

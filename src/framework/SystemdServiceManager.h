#pragma once

#include "ServiceManager.h"

// The exchange services as systemd units, reached over the system bus.
//
// For now every unit reads as not installed, which is what a computer without the system bus or
// without the units sees; the queries over D-Bus come with the service controllers.
class SystemdServiceManager : public IServiceManager
{
public:
    bool isInstalled(const QString& service) override;
    QString binaryPath(const QString& service) override;
    ServiceState state(const QString& service) override;
};

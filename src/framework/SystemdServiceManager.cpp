#include "SystemdServiceManager.h"

bool SystemdServiceManager::isInstalled(const QString&)
{
    return false;
}

QString SystemdServiceManager::binaryPath(const QString&)
{
    return {};
}

ServiceState SystemdServiceManager::state(const QString&)
{
    return ServiceState::NotInstalled;
}

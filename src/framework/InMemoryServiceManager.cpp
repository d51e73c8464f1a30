#include "InMemoryServiceManager.h"

void InMemoryServiceManager::install(const QString& service, const QString& binaryPath, ServiceState state)
{
    mServices.insert(serviceUnitName(service), Service{binaryPath, state});
}

void InMemoryServiceManager::uninstall(const QString& service)
{
    mServices.remove(serviceUnitName(service));
}

void InMemoryServiceManager::setState(const QString& service, ServiceState state)
{
    const auto it = mServices.find(serviceUnitName(service));
    if (it != mServices.end())
        it->state = state;
}

bool InMemoryServiceManager::isInstalled(const QString& service)
{
    return mServices.contains(serviceUnitName(service));
}

QString InMemoryServiceManager::binaryPath(const QString& service)
{
    return mServices.value(serviceUnitName(service)).binaryPath;
}

ServiceState InMemoryServiceManager::state(const QString& service)
{
    const auto it = mServices.constFind(serviceUnitName(service));
    return it == mServices.constEnd() ? ServiceState::NotInstalled : it->state;
}

#include "ServiceManager.h"

#include "SystemdServiceManager.h"

#include <atomic>

namespace {

std::atomic<IServiceManager*>& current()
{
    static std::atomic<IServiceManager*> manager{nullptr};
    return manager;
}

} // namespace

IServiceManager& serviceManager()
{
    if (IServiceManager* m = current())
        return *m;
    static SystemdServiceManager systemd;
    return systemd;
}

IServiceManager* setServiceManager(IServiceManager* manager)
{
    return current().exchange(manager);
}

QString serviceUnitName(const QString& service)
{
    if (service.endsWith(QLatin1String(".service")))
        return service;
    return service + QLatin1String(".service");
}

QString ServiceBinaryPath(const QString& serviceName)
{
    if (serviceName.trimmed().isEmpty())
        return {};
    try {
        return serviceManager().binaryPath(serviceName);
    } catch (const std::exception&) {
        // A manager that cannot be reached counts as no service, as on the original system.
        return {};
    }
}

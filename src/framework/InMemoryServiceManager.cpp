#include "InMemoryServiceManager.h"

#include <QMutexLocker>

void InMemoryServiceManager::install(const QString& service, const QString& binaryPath, ServiceState state)
{
    QMutexLocker lock(&mMutex);
    Service s;
    s.status.state = state;
    s.status.startType = ServiceStartType::Manual;
    s.status.accepts = AcceptStop | AcceptPauseContinue | AcceptShutdown;
    s.status.binaryPath = binaryPath;
    s.status.displayName = service;
    s.status.startWaitHint = 2000;
    s.status.stopWaitHint = 2000;
    mServices.insert(serviceUnitName(service), s);
}

void InMemoryServiceManager::uninstall(const QString& service)
{
    QMutexLocker lock(&mMutex);
    mServices.remove(serviceUnitName(service));
}

void InMemoryServiceManager::setState(const QString& service, ServiceState state)
{
    QMutexLocker lock(&mMutex);
    const auto it = mServices.find(serviceUnitName(service));
    if (it != mServices.end())
        it->status.state = state;
}

void InMemoryServiceManager::setStartTypeOf(const QString& service, ServiceStartType type)
{
    QMutexLocker lock(&mMutex);
    const auto it = mServices.find(serviceUnitName(service));
    if (it != mServices.end())
        it->status.startType = type;
}

void InMemoryServiceManager::setAccepts(const QString& service, int accepts)
{
    QMutexLocker lock(&mMutex);
    const auto it = mServices.find(serviceUnitName(service));
    if (it != mServices.end())
        it->status.accepts = accepts;
}

void InMemoryServiceManager::setDisplayName(const QString& service, const QString& name)
{
    QMutexLocker lock(&mMutex);
    const auto it = mServices.find(serviceUnitName(service));
    if (it != mServices.end())
        it->status.displayName = name;
}

void InMemoryServiceManager::setPauseRefused(bool refused)
{
    QMutexLocker lock(&mMutex);
    mPauseRefused = refused;
}

QStringList InMemoryServiceManager::requests() const
{
    QMutexLocker lock(&mMutex);
    return mRequests;
}

ServiceStatus InMemoryServiceManager::query(const QString& service)
{
    QMutexLocker lock(&mMutex);
    const auto it = mServices.constFind(serviceUnitName(service));
    return it == mServices.constEnd() ? ServiceStatus() : it->status;
}

bool InMemoryServiceManager::request(const char* name, const QString& service,
                                     std::initializer_list<ServiceState> from, ServiceState to, int needs,
                                     bool refused)
{
    QMutexLocker lock(&mMutex);
    const QString unit = serviceUnitName(service);
    mRequests << QString::fromLatin1(name) + QLatin1Char(' ') + unit;
    const auto it = mServices.find(unit);
    if (it == mServices.end() || refused || (it->status.accepts & needs) != needs)
        return false;
    if (std::find(from.begin(), from.end(), it->status.state) == from.end())
        return false;
    it->status.state = to;
    return true;
}

bool InMemoryServiceManager::start(const QString& service)
{
    if (query(service).startType == ServiceStartType::Disabled)
        return request("start", service, {}, ServiceState::Running, 0);
    return request("start", service, {ServiceState::Stopped}, ServiceState::Running, 0);
}

bool InMemoryServiceManager::stop(const QString& service)
{
    return request("stop", service, {ServiceState::Running, ServiceState::Paused}, ServiceState::Stopped,
                   AcceptStop);
}

bool InMemoryServiceManager::pause(const QString& service)
{
    bool refused;
    {
        QMutexLocker lock(&mMutex);
        refused = mPauseRefused;
    }
    return request("pause", service, {ServiceState::Running}, ServiceState::Paused, AcceptPauseContinue,
                   refused);
}

bool InMemoryServiceManager::resume(const QString& service)
{
    return request("continue", service, {ServiceState::Paused}, ServiceState::Running, AcceptPauseContinue);
}

bool InMemoryServiceManager::setStartType(const QString& service, ServiceStartType type)
{
    QMutexLocker lock(&mMutex);
    const QString unit = serviceUnitName(service);
    mRequests << QStringLiteral("start-type %1 %2").arg(int(type)).arg(unit);
    const auto it = mServices.find(unit);
    if (it == mServices.end() || type == ServiceStartType::Boot || type == ServiceStartType::System)
        return false;
    it->status.startType = type;
    return true;
}

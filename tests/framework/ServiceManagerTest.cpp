#include "ServiceManager.h"

#include "InMemoryServiceManager.h"
#include "SystemdServiceManager.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// Puts a manager in place for one test.
class ScopedManager
{
public:
    explicit ScopedManager(IServiceManager* manager) : mPrevious(setServiceManager(manager)) {}
    ~ScopedManager() { setServiceManager(mPrevious); }

private:
    IServiceManager* mPrevious;
};

class UnreachableManager : public IServiceManager
{
public:
    ServiceStatus query(const QString&) override { throw std::runtime_error("no system bus"); }
    bool start(const QString&) override { return false; }
    bool stop(const QString&) override { return false; }
    bool pause(const QString&) override { return false; }
    bool resume(const QString&) override { return false; }
    bool setStartType(const QString&, ServiceStartType) override { return false; }
};

} // namespace

TEST(ServiceManagerTest, BinaryPathOfInstalledServices)
{
    InMemoryServiceManager services;
    services.install("srvTEVWebInSrvc", "/opt/tev/bin/tev-web-in", ServiceState::Running);
    services.install("srvTEVWebOutSrvc.service", "/opt/tev/bin/tev-web-out");
    ScopedManager scope(&services);

    struct Case
    {
        QString service, path;
        ServiceState state;
    };
    const std::vector<Case> cases = {
        {"srvTEVWebInSrvc", "/opt/tev/bin/tev-web-in", ServiceState::Running},
        {"srvTEVWebInSrvc.service", "/opt/tev/bin/tev-web-in", ServiceState::Running},
        {"srvTEVWebOutSrvc", "/opt/tev/bin/tev-web-out", ServiceState::Stopped},
        {"srvtevwebinsrvc", "", ServiceState::NotInstalled}, // unit names are exact
        {"srvOther", "", ServiceState::NotInstalled},
        {"", "", ServiceState::NotInstalled},
        {"  ", "", ServiceState::NotInstalled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.service.toStdString());
        EXPECT_EQ(ServiceBinaryPath(c.service), c.path);
        EXPECT_EQ(serviceManager().state(c.service), c.state);
        EXPECT_EQ(serviceManager().isInstalled(c.service), !c.path.isEmpty());
    }

    services.setState("srvTEVWebOutSrvc", ServiceState::Paused);
    EXPECT_EQ(serviceManager().state("srvTEVWebOutSrvc"), ServiceState::Paused);
    services.uninstall("srvTEVWebInSrvc.service");
    EXPECT_EQ(ServiceBinaryPath("srvTEVWebInSrvc"), "");
    EXPECT_EQ(serviceManager().state("srvTEVWebInSrvc"), ServiceState::NotInstalled);
}

TEST(ServiceManagerTest, UnreachableManagerMeansNoService)
{
    UnreachableManager unreachable;
    ScopedManager scope(&unreachable);
    EXPECT_EQ(ServiceBinaryPath("srvTEVWebInSrvc"), "");
}

TEST(ServiceManagerTest, DefaultManagerAndUnitNames)
{
    EXPECT_EQ(serviceUnitName("srvTEVWebInSrvc"), "srvTEVWebInSrvc.service");
    EXPECT_EQ(serviceUnitName("srvTEVWebInSrvc.service"), "srvTEVWebInSrvc.service");

    InMemoryServiceManager services;
    IServiceManager* before = setServiceManager(&services);
    EXPECT_EQ(&serviceManager(), &services);
    EXPECT_EQ(setServiceManager(before), &services);
    EXPECT_NE(dynamic_cast<SystemdServiceManager*>(&serviceManager()), nullptr);
    // No such unit on any test machine.
    EXPECT_EQ(ServiceBinaryPath("srvTEVWebNoSuchSrvc"), "");
    EXPECT_EQ(serviceManager().state("srvTEVWebNoSuchSrvc"), ServiceState::NotInstalled);
}

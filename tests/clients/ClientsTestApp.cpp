// The work area needs widgets: one QApplication for the whole program, made before the first test
// runs and destroyed after the last, while Qt's own globals still exist.
#include <QApplication>
#include <gtest/gtest.h>

namespace {

class ClientsTestApp : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "clients_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            mApp = new QApplication(argc, argv);
    }
    void TearDown() override
    {
        delete mApp;
        mApp = nullptr;
    }

private:
    QApplication* mApp = nullptr;
};

[[maybe_unused]] ::testing::Environment* const gApp = ::testing::AddGlobalTestEnvironment(new ClientsTestApp);

} // namespace

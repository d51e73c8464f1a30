// Gateways report through the event loop and the composer is a window: one widget application for
// the whole test program.
#include <QApplication>
#include <gtest/gtest.h>

namespace {

class MailTestApp : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "mail_tests";
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

[[maybe_unused]] ::testing::Environment* const gApp = ::testing::AddGlobalTestEnvironment(new MailTestApp);

} // namespace

// Window tests need widgets: one QApplication for the whole test program, made before the first
// test runs and destroyed after the last (unless another environment of the program made it).
#include <QApplication>
#include <gtest/gtest.h>

namespace {

class WidgetTestApp : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "tev_tests";
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

[[maybe_unused]] ::testing::Environment* const gApp = ::testing::AddGlobalTestEnvironment(new WidgetTestApp);

} // namespace

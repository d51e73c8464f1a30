// The framework tests need widgets: one QApplication for the whole program, made before the
// first test runs (unless some other part of the program already made one).
#include <QApplication>
#include <gtest/gtest.h>

namespace {

class QtApplicationEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (QCoreApplication::instance())
            return;
        static int argc = 1;
        static char name[] = "framework_tests";
        static char* argv[] = {name, nullptr};
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

[[maybe_unused]] ::testing::Environment* const gQtApp =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace

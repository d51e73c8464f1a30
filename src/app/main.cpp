#include "AppFolder.h"
#include "ClientsWorkArea.h"
#include "DemoModalRunner.h"
#include "FrameworkFiles.h"
#include "IniFile.h"
#include "MessageDialogs.h"
#include "Screenshot.h"
#include "TTranslator.h"
#include "TdmMain.h"
#include "TevApplication.h"
#include "TfrmMain.h"
#include "TfrmShemaForm.h"

#include <QAction>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

// Before anything else: the message catalogue, then the sign-in dialogs by name.
void initialiseModules()
{
    lang::TTranslator::instance();
    FrameworkFiles::setFolder(lang::applicationFolder());
    TdmMain::RegisterConnectDialogs();
}

// "/scheme": only the schemes dialog, no sign-in.
void maintainSchemes(TdmMain& dm)
{
    const QString remembered = dm.ActiveScheme();
    const QString chosen = TfrmShemaForm::Run(dm.iniFile().path());
    if (chosen != remembered)
        dm.SetActiveScheme(chosen);
}

// The main window takes most of the screen it opens on.
void fitToScreen(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window.resize(qMin(area.width() - 20, 1400), qMin(area.height() - 40, 900));
    window.move(area.x() + (area.width() - window.width()) / 2,
                area.y() + (area.height() - window.height()) / 2);
}

constexpr char kUsage[] =
    "Usage: tev-web-admin [/scheme | /register]\n"
    "       tev-web-admin --version | --help\n"
    "\n"
    "The administrator console of the TEV fuel-card web portal.\n"
    "  /scheme     only the dialog of the schemes the console works on\n"
    "  /register   shows the command that registers this computer's exchange services\n"
    "  --version   prints the version\n"
    "  --help      prints this text\n"
    "\n"
    "Settings live in the application folder ($TEV_APP_DIR, the program's folder when writable,\n"
    "else $XDG_CONFIG_HOME/tev-web-admin); see tev-web-admin(1).\n";

// Answered before any window exists, so that they work without a display.
std::optional<int> answerWithoutWindow(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tev-web-admin %s\n", TEV_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> status = answerWithoutWindow(argc, argv))
        return *status;
    TevApplication app(argc, argv);
    initialiseModules();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tev-web-admin-%1.png").arg(size));
    app.setWindowIcon(icon);
    app.setDesktopFileName(QStringLiteral("tev-web-admin"));
    // Without a desktop's own icon theme the freedesktop one serves the tool bars.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    app.setApplicationName(QStringLiteral("TEV Web Admin"));
    const QString screenshot = qEnvironmentVariable("TEV_SCREENSHOT");
    if (!screenshot.isEmpty())
        Screenshot::startWatchdog(screenshot);
    // The demo signs in without typing (and in screenshot mode without pressing either).
    std::unique_ptr<DemoModalRunner> demo;
    if (const QString demoPassword = qEnvironmentVariable("TEV_DEMO_PASSWORD"); !demoPassword.isEmpty()) {
        const bool byItself = !screenshot.isEmpty() || !qEnvironmentVariableIsEmpty("TEV_DEMO_CONNECT");
        demo = std::make_unique<DemoModalRunner>(demoPassword, byItself);
        framework::setModalRunner(demo.get());
    }
    // Uninstalled before the runner goes, whichever way main ends.
    struct RunnerReset
    {
        ~RunnerReset() { framework::setModalRunner(nullptr); }
    } runnerReset;

    int status = 0;
    try {
        TdmMain dm;
        const TevApplication::StartOptions options = TevApplication::parseCommandLine(app.arguments());
        if (options.schemeMode) {
            try {
                maintainSchemes(dm);
            } catch (const lang::IniError& e) {
                TdmMain::ReportIniError(e);
            }
            dm.DataModuleDestroy();
            return 0;
        }
        dm.SetRegisterMode(options.registerMode);
        if (!dm.Connect()) {
            dm.DataModuleDestroy();
            return 0;
        }

        std::unique_ptr<TfrmMain> window;
        try {
            window = std::make_unique<TfrmMain>(dm);
        } catch (...) {
            TevApplication::showException(std::current_exception());
            dm.DataModuleDestroy();
            return 1;
        }
        QObject::connect(window.get(), &TfrmMain::terminated, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        fitToScreen(*window);
        window->show();
        if (window->isTerminated()) {
            window.reset();
            dm.DataModuleDestroy();
            return 0;
        }
        if (!screenshot.isEmpty()) {
            const QString command = qEnvironmentVariable("TEV_SCREENSHOT_COMMAND");
            if (!Screenshot::schedule(screenshot, window.get(), command)) {
                qWarning("screenshot mode: the console has no command %s", qPrintable(command));
                status = 2;
                window.reset();
                dm.DataModuleDestroy();
                return status;
            }
        }
        // Start-up measurement: the signed-in window with its clients is all that was wanted.
        if (!qEnvironmentVariableIsEmpty("TEV_QUIT_WHEN_READY"))
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
        status = app.exec();
        window.reset();
        dm.DataModuleDestroy();
    } catch (...) {
        TevApplication::showException(std::current_exception());
        status = 1;
    }
    return status;
}

#include "AppFolder.h"
#include "ClientsWorkArea.h"
#include "FrameworkFiles.h"
#include "IniFile.h"
#include "MessageDialogs.h"
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
#include <cstdlib>
#include <memory>

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
    const QString chosen = TfrmShemaForm::Execute(dm.iniFile().path());
    if (chosen != remembered)
        dm.SetActiveScheme(chosen);
}

// Screenshot mode of the demo: the window is written to a PNG file and the program ends. Should
// the console get stuck on a box (a failed sign-in), whatever is on top is written instead.
void scheduleScreenshot(const QString& file, QWidget* window)
{
    QTimer::singleShot(1000, qApp, [file, window] {
        window->grab().save(file, "PNG");
        qApp->quit();
    });
}

void scheduleScreenshotWatchdog(const QString& file)
{
    QTimer::singleShot(60000, qApp, [file] {
        if (QWidget* top = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                             : QApplication::activeWindow())
            top->grab().save(file, "PNG");
        qWarning("screenshot mode: the console did not reach its main window");
        std::_Exit(1);
    });
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

} // namespace

int main(int argc, char** argv)
{
    TevApplication app(argc, argv);
    initialiseModules();
    // Without a desktop's own icon theme the freedesktop one serves the tool bars.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    app.setApplicationName(QStringLiteral("TEV Web Admin"));
    const QString screenshot = qEnvironmentVariable("TEV_SCREENSHOT");
    if (!screenshot.isEmpty())
        scheduleScreenshotWatchdog(screenshot);

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
            // The picture shows the logins of the first client as well.
            QTimer::singleShot(0, window.get(),
                               [w = window.get()] { w->workArea()->actShowLogins()->trigger(); });
            scheduleScreenshot(screenshot, window.get());
        }
        status = app.exec();
        window.reset();
        dm.DataModuleDestroy();
    } catch (...) {
        TevApplication::showException(std::current_exception());
        status = 1;
    }
    return status;
}

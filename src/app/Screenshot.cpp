#include "Screenshot.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

namespace Screenshot {

namespace {

// Long enough for a window to lay out and fill its grids.
constexpr int kSettleMs = 1500;

QWidget* topWindow(QWidget* fallback)
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return fallback;
}

// Closes whatever modal windows the command left open, then leaves the event loop.
void closeEverything()
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, qApp, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
            return;
        }
        qApp->quit();
    });
    timer->start();
}

void shoot(const QString& file, QWidget* fallback)
{
    if (!topWindow(fallback)->grab().save(file, "PNG"))
        qWarning("screenshot mode: could not write %s", qPrintable(file));
    closeEverything();
}

} // namespace

void startWatchdog(const QString& file)
{
    QTimer::singleShot(60000, qApp, [file] {
        if (QWidget* top = topWindow(QApplication::activeWindow()))
            top->grab().save(file, "PNG");
        qWarning("screenshot mode: the console did not reach its main window");
        std::_Exit(1);
    });
}

bool schedule(const QString& file, QWidget* mainWindow, const QString& command)
{
    QAction* action = nullptr;
    if (command.isEmpty()) {
        action = mainWindow->findChild<QAction*>(QStringLiteral("actShowLogins"));
    } else {
        action = mainWindow->findChild<QAction*>(command);
        if (!action)
            return false;
    }
    QTimer::singleShot(300, mainWindow, [action, file, mainWindow] {
        // The shot is taken from a timer: a modal window the command opens runs its own loop.
        QTimer::singleShot(kSettleMs, mainWindow, [file, mainWindow] { shoot(file, mainWindow); });
        if (action && action->isEnabled())
            action->trigger();
        else if (action)
            qWarning("screenshot mode: %s is disabled here", qPrintable(action->objectName()));
    });
    return true;
}

} // namespace Screenshot

#pragma once

#include <QString>

class QWidget;

// Screenshot mode of the demo: the console writes a picture of a window to a PNG file and ends.
namespace Screenshot {

// Should the console get stuck before its main window (a failed sign-in), whatever is on top is
// written after a minute and the program ends with status 1.
void startWatchdog(const QString& file);

// With no command: the main window, showing the logins of the first client. With a command (the
// object name of any action of the main window or its work area): the window that command opens,
// or the main window when it opens none. False when there is no such command.
bool schedule(const QString& file, QWidget* mainWindow, const QString& command);

} // namespace Screenshot

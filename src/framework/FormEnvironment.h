#pragma once

#include <QIcon>
#include <QString>
#include <functional>

class QWidget;

// What the window bases need to know of the running console but cannot ask the data module for
// (it sits in a library above them): the interface language and the main window.
namespace framework {

// The interface language id the grid tools are called with (25 Russian until a provider is set).
int currentLanguageId();
// The data module provides the id; nullptr goes back to 25.
void setLanguageIdProvider(std::function<int()> provider);

// The console's main window: maximized data windows take the screen below it.
QWidget* applicationMainWindow();
void setApplicationMainWindow(QWidget* window);

// An icon of the desktop's icon theme by its freedesktop name. Without an icon theme (the offscreen
// platform the tests run on) the null icon, so that the theme's icon loader is never started there:
// started once, it crashes a program whose application object outlives it at exit.
QIcon themeIcon(const QString& name);

} // namespace framework

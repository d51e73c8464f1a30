#include "FormEnvironment.h"

#include <QPointer>
#include <QWidget>

namespace framework {

namespace {

std::function<int()>& languageProvider()
{
    static std::function<int()> provider;
    return provider;
}

QPointer<QWidget>& mainWindow()
{
    static QPointer<QWidget> window;
    return window;
}

} // namespace

int currentLanguageId()
{
    const auto& provider = languageProvider();
    return provider ? provider() : 25;
}

void setLanguageIdProvider(std::function<int()> provider)
{
    languageProvider() = std::move(provider);
}

QWidget* applicationMainWindow()
{
    return mainWindow();
}

void setApplicationMainWindow(QWidget* window)
{
    mainWindow() = window;
}

QIcon themeIcon(const QString& name)
{
    if (QIcon::themeName().isEmpty())
        return QIcon();
    return QIcon::fromTheme(name);
}

} // namespace framework

#include "ActionTable.h"

#include "FormEnvironment.h"

#include <QAction>
#include <QWidget>
#include <stdexcept>

namespace framework {

QAction* ActionTable::add(QWidget* window, const char* name, const ActionText& caption,
                          const ActionText& hint, const char* icon, const QKeySequence& shortcut)
{
    if (mOwner.isEmpty())
        mOwner = QString::fromLatin1(window->metaObject()->className());
    if (contains(name))
        throw std::logic_error("ActionTable: action \"" + std::string(name) + "\" declared twice in " +
                               mOwner.toStdString());
    auto* action = new QAction(window);
    action->setObjectName(QString::fromLatin1(name));
    if (icon)
        action->setIcon(themeIcon(QString::fromLatin1(icon)));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    window->addAction(action);
    mEntries.append({name, caption, hint, action});
    return action;
}

QAction& ActionTable::action(std::string_view name) const
{
    for (const Entry& e : mEntries)
        if (name == e.name)
            return *e.action;
    throw std::out_of_range("ActionTable: no action \"" + std::string(name) + "\" in " +
                            (mOwner.isEmpty() ? std::string("an empty table") : mOwner.toStdString()));
}

bool ActionTable::contains(std::string_view name) const
{
    for (const Entry& e : mEntries)
        if (name == e.name)
            return true;
    return false;
}

QList<QAction*> ActionTable::actions() const
{
    QList<QAction*> result;
    result.reserve(mEntries.size());
    for (const Entry& e : mEntries)
        result.append(e.action);
    return result;
}

void ActionTable::applyTexts() const
{
    for (const Entry& e : mEntries) {
        if (e.caption.isNull() && e.hint.isNull())
            continue;
        const QString caption = e.caption.isNull() ? e.action->text() : e.caption.text();
        const QString hint = e.hint.isNull() ? caption : e.hint.text();
        e.action->setText(caption);
        e.action->setToolTip(hint);
        e.action->setStatusTip(hint);
    }
}

void ActionTable::addTo(QWidget* target, std::initializer_list<std::string_view> names) const
{
    for (std::string_view name : names) {
        if (name == kSeparator) {
            auto* separator = new QAction(target);
            separator->setSeparator(true);
            target->addAction(separator);
        } else {
            target->addAction(&action(name));
        }
    }
}

} // namespace framework

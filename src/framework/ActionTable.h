#pragma once

#include "ActionRow.h"

#include <QList>
#include <QObject>
#include <QString>
#include <initializer_list>
#include <string_view>

class QAction;
class QWidget;

namespace framework {

// The actions of one window, made from its table of rows (ActionRow). Every action is created as a
// child of the window and added to it (so its shortcut works anywhere in the window), connected to
// its handler, and takes its caption and hint from its row whenever applyTexts runs (at creation
// and after a language switch). Menus, tool bars and pop-up menus are filled by name from the table.
//
// A name the table does not hold is a programming error: action() and addTo() throw
// std::out_of_range naming the action and the window, so a misspelling fails at the first run of
// the code (every window's tests build its menus). Code names its actions through constants.
class ActionTable
{
public:
    // In a list for addTo: a separator.
    static constexpr char kSeparator[] = "-";

    // Creates the window's actions from its rows; a name given twice throws std::logic_error.
    template <class Window> void create(Window* window, const QList<ActionRow<Window>>& rows);

    // The action of that name; throws std::out_of_range for a name the table does not hold.
    QAction& action(std::string_view name) const;
    bool contains(std::string_view name) const;
    // Every action, in row order.
    QList<QAction*> actions() const;
    int size() const { return int(mEntries.size()); }

    // Captions, tool tips and status tips from the rows (the catalogue's current texts). A row
    // without a caption keeps the action's text.
    void applyTexts() const;

    // Appends the named actions (kSeparator for a separator) to a menu, a tool bar or a widget
    // that shows its actions as its context menu.
    void addTo(QWidget* target, std::initializer_list<std::string_view> names) const;

private:
    struct Entry
    {
        const char* name;
        ActionText caption;
        ActionText hint;
        QAction* action;
    };
    QAction* add(QWidget* window, const char* name, const ActionText& caption, const ActionText& hint,
                 const char* icon, const QKeySequence& shortcut);

    QList<Entry> mEntries;
    QString mOwner; // class of the window, for the messages of a failed lookup
};

template <class Window> void ActionTable::create(Window* window, const QList<ActionRow<Window>>& rows)
{
    for (const ActionRow<Window>& row : rows) {
        QAction* action = add(window, row.name, row.caption, row.hint, row.icon, row.shortcut);
        if (row.handler)
            QObject::connect(action, &QAction::triggered, window,
                             [window, action, handler = row.handler] { handler(*window, *action); });
    }
}

} // namespace framework

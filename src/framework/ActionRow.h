#pragma once

#include "ActionHandler.h"
#include "ActionText.h"

#include <QKeySequence>

namespace framework {

// One action of a window, declared once: its component name, caption and hint (a catalogue key or a
// fixed text; no hint means the caption), the theme icon, the shortcut and what it runs. A window
// keeps its rows in one table and hands them to its ActionTable, from which the actions, their
// texts at every language switch, and the window's menus, tool bars and pop-up menus are made.
// A row gives all six fields ({} for none): g++ 12 crashes on default values here, and the warnings
// catch a row that leaves one out.
template <class Window> struct ActionRow
{
    const char* name;
    ActionText caption;
    ActionText hint;  // none: the caption
    const char* icon; // freedesktop icon name; nullptr for none
    QKeySequence shortcut;
    ActionHandler<Window> handler;
};

} // namespace framework

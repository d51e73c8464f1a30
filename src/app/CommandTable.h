#pragma once

#include <QList>

// The commands of the main window's menus: component name, caption and hint keys of the message
// catalogue, and the theme icon of the tool bar. Each command is declared here once; menus and
// tool bars reuse the actions made from it.
struct MainCommand
{
    const char* name;
    const char16_t* captionKey;
    const char16_t* hintKey; // nullptr: the hint is the caption
    const char* icon;        // nullptr: none
};

const QList<MainCommand>& MainCommands();
// The entry of a command, nullptr for a name that is none.
const MainCommand* FindMainCommand(const char* name);

// Catalogue keys of the menus that are not commands.
struct MainMenuCaption
{
    const char* name;
    const char16_t* captionKey;
};
const QList<MainMenuCaption>& MainMenuCaptions();

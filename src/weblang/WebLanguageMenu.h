#pragma once

class QAction;
class QMenu;
class TdmMain;

// The main window's "Язык WEB-интерфейса" submenu.
//
// Clears `menu` and, while the data module's session is connected, adds one radio item per portal
// language: caption = the language's name in the interface language (dm.LanguageId()), data() =
// the language id (int), checked and with the "current" image for the portal's current language.
// Call it again after the interface language changes so the names follow. A failure to read the
// list passes on to the caller with the menu left empty. Everything in `menu` is replaced: give it
// a submenu of its own.
//
// Choosing an item with a language id other than 0 clears every mark, makes that language the
// portal's current one (ChangeCurrentWebLanguage) and marks the item. When the portal refuses, the
// marks stay cleared and the error leaves the item's triggered() handler for the application's
// general error display. An item with id 0 does nothing.
void FillWebLanguagesMenu(QMenu* menu, TdmMain& dm);

// The language id an item of that menu carries (0 for anything else).
int WebLanguageIdOf(const QAction* item);

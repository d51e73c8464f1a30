#pragma once

#include <QString>

// Rules of the reference-data windows, kept free of widgets and database so a table of cases
// checks them.
namespace reference {

// A 0/1 flag swapped: a value of 1 or more goes down by one, anything else becomes 1 - value.
int SwapFlag(int current);

// What the bulk buttons of a flag column give each row.
enum class BulkFlag
{
    CheckAll,   // 1
    UncheckAll, // 0
    Invert      // the swapped value
};
int BulkFlagValue(BulkFlag mode, int current);

// A portal setting switch (USE_TRNTYPE_GROUP, USE_SCHEME_FOR_WEB, USE_TERMS_FOR_WEB): on when its
// text converts to the number 1 (blanks around it allowed, as the portal stores numbers).
bool ConfigSwitchOn(const QString& value);
QString ConfigSwitchText(bool on);

// Help items with ids up to 9999 come with the portal: their name and kinds stay as they are and
// they cannot be deleted.
constexpr int kLastBuiltInHelpId = 9999;
bool IsBuiltInHelpItem(int id);
// The type string of a help item: "1" for each ticked kind (processing centre, ЛНР, bonus club).
QString HelpTypeString(bool oc, bool lnr, bool bc);
// Whether the kind at `index` (0..2) is ticked in a type string.
bool HelpTypeTicked(const QString& type, int index);

} // namespace reference

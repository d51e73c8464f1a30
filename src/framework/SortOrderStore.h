#pragma once

#include <QString>

namespace db {
class Query;
}

// The sort orders users chose, kept between runs in "ZadUvazUDU.INI" (FrameworkFiles), in the form
// the Windows console wrote, so that its files keep working.
//
// Per scope (a window's scheme name, or "tev" for the data module) the file holds
// - [<SCOPE>_ORDERBY] SAVE=1|0 (scope upper-cased with ASCII rules): whether orders are kept at all;
// - [<SCOPE>/<program file name>/OrderBy]: per query its order key = the saved &FIELD text, and,
//   while a window owning the query is open, <order key>_def = its design-time &FIELD text.
// Writes throw lang::IniError when the file cannot be written.

bool IsOrderBySaveOn(const QString& scope);

// The read operations tell whether the key exists; a missing key leaves `value` empty.
bool ReadOrderBy(const QString& scope, const QString& orderKey, QString& value);
void WriteOrderBy(const QString& scope, const QString& orderKey, const QString& value);
void DeleteOrderBy(const QString& scope, const QString& orderKey);
bool ReadOrderByDef(const QString& scope, const QString& orderKey, QString& value);
void WriteOrderByDef(const QString& scope, const QString& orderKey, const QString& value);
void DeleteOrderByDef(const QString& scope, const QString& orderKey);

// "<owner name>.<query name>.<checksum of the SQL text>", without the owner part for a query that
// has none. The checksum is taken over the design text as the Windows console stored it (code page
// 1251, every line ended by CR LF, macros unexpanded), so any change of the text orphans the order.
QString QueryOrderKey(const db::Query& query);

// Applies the saved order to a query whose text ends in "&ORDER &FIELD" and records its design order
// for SaveQueryOrder. A saved order naming a field the query does not have is reported in an error
// box, removed from the store, and the query keeps its design order. `incorrectFieldFormat` is the
// "%s" text of that report (the data module passes its catalogue entry); empty: the fixed Russian
// text. Does nothing when the scope's SAVE switch is off.
void RestoreQueryOrder(const QString& scope, db::Query& query, const QString& incorrectFieldFormat = {});
// Keeps the query's current order when it differs from the design order RestoreQueryOrder recorded,
// otherwise forgets it, and removes the recorded design order. Does nothing when SAVE is off.
void SaveQueryOrder(const QString& scope, db::Query& query);

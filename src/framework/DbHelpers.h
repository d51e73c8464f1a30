#pragma once

#include <QLocale>
#include <QString>

class QObject;

namespace db {
class Dataset;
class Field;
class Session;
} // namespace db

// Binding of data-access components to the session and to the scheme the administrator signed in
// to, check fields, SQL literals and the two-language framework diagnostics.
//
// The components an owner "directly owns" are its direct children that are queries, stored
// procedures, packages or scripts, taken in the order they were created.

// Gives every directly owned component the scheme (fSetShemaForComponent). An empty scheme throws;
// a failing component throws its error with "<component name>: " in front, and the components after
// it are left as they were.
void fSetShema(QObject* owner, const QString& shema);
// Replaces the owner part of "OWNER.PACKAGE[.PROCEDURE]" (everything before the first ".") by the
// scheme; throws when the name has no ".".
void fSetShemaName(QString& name, const QString& shema);
// A query gets its "Shema" macro (any letter case) set to the scheme name -- the texts carry the dot
// themselves ("&shema.v_tev_configs") -- a package and a stored procedure their owner part replaced.
// A component whose Tag is not 0 is left alone, and so is any other kind of component.
void fSetShemaForComponent(QObject* component, const QString& shema);
// Binds every directly owned component to the session, whatever its Tag.
void fSetSession(QObject* owner, db::Session* session);

// Whether the check field of the dataset's current row reads as marked: string "+", integer 1,
// floating point 1.0, boolean true; any other type never does. A null field throws std::logic_error
// ("TBaseForm.GetCheckFldValue: pFld=nil").
bool GetCheckFldValue(const db::Dataset& dataset, const db::Field* field);
// The same for one visible row, as a grid draws it.
bool GetCheckFldValue(const db::Dataset& dataset, int row, const db::Field* field);
// Marks or unmarks the current row's check field. Nothing happens when it already reads so or its
// type cannot be marked; a dataset already being edited only gets the value, otherwise the value
// is posted at once. A null field throws std::logic_error ("TBaseForm.SetCheckFldValue: pFld=nil").
void SetCheckFldValue(db::Dataset& dataset, const db::Field* field, bool value);

// The text made fit for the inside of an SQL string literal: single quotes doubled, a pair already
// doubled kept as one pair. The caller adds the enclosing quotes.
QString QuoteSqlText(const QString& text);

// The Russian wording for a Russian, Ukrainian or Belarusian user locale, otherwise the English one
// (the Russian one when no English text is given).
QString LocaleText(const QString& russian, const QString& english);
// The same choice for a given locale.
QString LocaleText(const QString& russian, const QString& english, const QLocale& locale);

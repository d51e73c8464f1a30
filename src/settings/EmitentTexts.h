#pragma once

#include <QString>

// Texts of the emitent settings windows that the message catalogue does not hold, in the
// interface language: Russian for the Russian interface, English for any other.
namespace emitenttext {

QString text(const char* russian, const char* english);

// A value refused because its stored form would not fit: "<what>: at most <n> characters".
QString tooLong(const QString& what, int maxLength);
// An e-mail field holding something that is no address.
QString badAddress(const QString& address);
// VAT that is no number from 0 to 100 with at most two decimals.
QString badVat();
// A write to the portal failed; the window keeps what was entered.
QString writeFailed(const QString& error);

} // namespace emitenttext

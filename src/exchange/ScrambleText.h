#pragma once

#include <QString>

// The mail logins and passwords of the exchange settings are stored scrambled: each byte of the
// text in code page 1251 is combined by exclusive-or with the byte at the same position of an
// 18-byte key, repeated as often as needed. The same call turns a stored value back.
//
// The key's bytes all lie in 0x80-0x9F (without 0x98), so a letter, digit, sign or blank never
// scrambles to NUL (which no PostgreSQL text holds) nor to 0x98 (which code page 1251 lacks).
// A byte that would scramble to one of them is kept as it is; Accepts() tells the edits which
// texts survive a round trip. The exchange services use the same key.
namespace ScrambleText {

QString Apply(const QString& text);
// Every character is in code page 1251 and scrambles to a byte that can be stored.
bool Accepts(const QString& text);

} // namespace ScrambleText

#pragma once

#include <QByteArray>
#include <QString>

namespace crypto {

// Text forms of cipher bytes, as the Windows console wrote them.

// Standard Base64 in lines of 64 characters, each ended by CR LF (the last one too); no bytes, no text.
QString BinToBase64(const QByteArray& bytes);
// Line breaks and blanks are skipped; any other character outside the alphabet, or bad padding, fails
// (*ok false, empty result).
QByteArray Base64ToBin(const QString& text, bool* ok = nullptr);

// Two upper-case hexadecimal digits per byte, no separators.
QString BinToHex(const QByteArray& bytes);
// Pairs of digits of either case; a last single digit is ignored; any other character fails.
QByteArray HexToBin(const QString& text, bool* ok = nullptr);

} // namespace crypto

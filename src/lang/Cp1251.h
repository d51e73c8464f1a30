#pragma once

#include <QByteArray>
#include <QString>

namespace lang {

// Windows code page 1251, the encoding of every INI and language file on disk.
// Byte 0x98 has no character: it reads as U+FFFD and nothing writes it.
QByteArray toCp1251(const QString& text, bool* lossless = nullptr); // unrepresentable -> '?'
QString fromCp1251(const QByteArray& bytes);
QString fromCp1251(const char* data, qsizetype size);

// The byte for a UTF-16 code unit, or -1 when the code page has none.
int cp1251Byte(char16_t unit);
inline bool isCp1251(char16_t unit)
{
    return cp1251Byte(unit) >= 0;
}
char16_t cp1251Unicode(unsigned char byte);

} // namespace lang

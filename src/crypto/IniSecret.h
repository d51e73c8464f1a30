#pragma once

#include <QString>
#include <optional>

namespace lang {
class IniFile;
}

namespace crypto {

// A secret kept in an INI file (the regional sign-in's saved password): encrypted under a pass phrase
// and stored as hexadecimal text, because raw cipher bytes (CR, LF, NUL, leading blanks, quotes)
// do not survive an INI line. A value that is not hexadecimal is an old raw value of the Windows
// console and is still read. A value that does not decrypt counts as no secret.
class IniSecret
{
public:
    static QString encode(const QString& secret, const QString& passPhrase);
    static std::optional<QString> decode(const QString& stored, const QString& passPhrase);

    // Under the configured default pass phrase. Writing makes the file readable by its owner only,
    // before the secret goes in. Throws lang::IniError when the file cannot be written.
    static void write(lang::IniFile& ini, const QString& section, const QString& key, const QString& secret);
    static std::optional<QString> read(const lang::IniFile& ini, const QString& section, const QString& key);
};

} // namespace crypto

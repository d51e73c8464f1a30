#pragma once

#include <QString>

namespace crypto {

// The pass phrases and the key store folder, in one place. Each has a built-in value; an installation
// sets its own in TevCrypt.ini of the application folder (lang::applicationFolder()):
//
//   [PASS_PHRASES]
//   Default=...      ; the sign-in password saved in DEDAdize.ini
//   Connection=...   ; the credentials in the exchange services' Connection.ini
//   [KEYS]
//   Store=/path      ; the key store folder
//
// The file is code page 1251 like every INI of the console. An installation that takes over files of
// the Windows console must set the pass phrases that console used. Values are read at every call.
class CryptConfig
{
public:
    static constexpr char kFileName[] = "TevCrypt.ini";
    static constexpr char kPassPhrases[] = "PASS_PHRASES";
    static constexpr char kDefaultKey[] = "Default";
    static constexpr char kConnectionKey[] = "Connection";
    static constexpr char kKeys[] = "KEYS";
    static constexpr char kStoreKey[] = "Store";

    // Built-in values, used where the file sets none.
    static const QString& builtInDefaultPassPhrase();
    static const QString& builtInConnectionPassPhrase();
    static constexpr char kBuiltInStoreFolder[] = "KeyStore"; // inside the application folder

    static QString configFile();
    static QString defaultPassPhrase();
    static QString connectionPassPhrase();
    static QString keyStoreFolder();
};

} // namespace crypto

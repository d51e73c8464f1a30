#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

typedef struct evp_pkey_st EVP_PKEY;

namespace crypto {

// The key containers on disk: a folder (mode 0700) with one file per container, "<name>.pem", mode
// 0600. An empty file is a container without a key; otherwise the file is the key pair as an
// unencrypted PKCS#8 PEM. Key files are replaced through an exclusive temporary file and a rename,
// so a reader never sees half a key. Operations answer an error code of CryptErrors.h (0 = done).
class KeyStore
{
public:
    enum class State
    {
        Missing,
        Present,
        BadName,
        Unreadable, // the folder or the file exists but cannot be read
    };

    explicit KeyStore(const QString& folder) : mFolder(folder) {}

    const QString& folder() const { return mFolder; }

    // [A-Za-z0-9_]+: the name becomes a file name, so nothing else gets through.
    static bool isValidName(const QString& name);
    QString containerPath(const QString& name) const;

    State state(const QString& name) const;
    // A new, empty container; error::kExists when there is one.
    std::uint32_t create(const QString& name);
    // The container's key pair (the caller frees it); error::kNoKey for an empty container,
    // error::kBadKey for a file that holds no RSA key.
    std::uint32_t readKey(const QString& name, EVP_PKEY** key) const;
    // Replaces the container's key pair.
    std::uint32_t writeKey(const QString& name, EVP_PKEY* key);

private:
    // Creates the folder (0700) when missing.
    bool ensureFolder() const;

    QString mFolder;
};

} // namespace crypto

#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace crypto {

// Pass-phrase encryption of short texts and the exchange key pairs, made for one task and dropped.
//
// Texts and the pass phrase are taken as code page 1251 bytes; the key is the first 16 bytes of the
// pass phrase's SHA-1, no salt; the cipher is RC2-CBC with 128 effective key bits, an all-zero IV and
// PKCS#5 padding. That is what the Windows console got from its crypto provider, so its texts decrypt
// here with the same pass phrase. Text forms: Base64 (TextForms.h), upper-case hexadecimal, or both
// (hexadecimal of the Base64 text). With neither, the cipher text carries one byte per character
// (code points 0-255).
//
// Nothing throws: a failure leaves the result empty and its text in LastError() ("<step>: <name>").
class TEnDeCrypt
{
public:
    // The key store is where the container operations look; the pass phrase starts as the configured
    // default one (CryptConfig).
    TEnDeCrypt();
    explicit TEnDeCrypt(const QString& keyStoreFolder);

    const QString& PassPhrase() const { return mPassPhrase; }
    const QString& LastError() const { return mLastError; }
    const QString& KeyStoreFolder() const { return mKeyStoreFolder; }

    void SetPassPhrase(const QString& passPhrase) { mPassPhrase = passPhrase; }

    QString EncryptText(const QString& text, bool base64, bool hex);
    QString DecryptText(const QString& text, bool base64, bool hex);

    bool ContainerExists(const QString& name);
    bool CreateContainer(const QString& name);
    // Creates the container first when it is missing.
    bool HasExchangeKey(const QString& name);
    // A new RSA 512-bit pair (e = 65537) in the container, replacing an earlier one; its public key
    // blob, empty on failure.
    QByteArray GenerateKeyPair(const QString& name);
    // The public key blob of the container's existing pair, empty on failure.
    QByteArray ExportPublicKey(const QString& name);

    static QString ErrorName(std::uint32_t code);

private:
    void fail(const char* step, std::uint32_t code);
    // The cipher key from the pass phrase; false with LastError set.
    bool deriveKey(QByteArray* key, bool encrypting);
    // RC2 over `in`; a failure goes to LastError.
    bool runCipher(const QByteArray& key, const QByteArray& in, bool encrypting, QByteArray* out);
    // Opens the container, creating it when missing; false with LastError set.
    bool openContainer(const QString& name);

    QString mPassPhrase;
    QString mLastError;
    QString mKeyStoreFolder;
};

// A TEnDeCrypt for one text: the cipher text, and in *error the failure (empty when none).
QString EncryptString(const QString& text, const QString& passPhrase, bool base64, bool hex, QString* error);

} // namespace crypto

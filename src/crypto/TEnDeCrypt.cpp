#include "TEnDeCrypt.h"

#include "Cp1251.h"
#include "CryptConfig.h"
#include "CryptErrors.h"
#include "CryptLibrary.h"
#include "KeyStore.h"
#include "TextForms.h"

#include <memory>
#include <openssl/core_names.h>
#include <openssl/encoder.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <openssl/rsa.h>

namespace crypto {

namespace {

constexpr int kKeyLength = 16;         // bytes taken from the SHA-1 of the pass phrase
constexpr size_t kEffectiveBits = 128; // RC2 effective key length
constexpr int kBlockSize = 8;
constexpr int kRsaBits = 512;

constexpr char kOpenContext[] = "Error of containger opening: ";
constexpr char kCreateHashEncrypting[] = "Error of hash creating: ";
constexpr char kCreateHashDecrypting[] = "Error CryptCreateHash: ";
constexpr char kHashData[] = "Error CryptHashData: ";
constexpr char kDeriveKey[] = "Error CryptDeriveKey: ";
constexpr char kEncrypt[] = "Error CryptEncrypt: ";
constexpr char kDecrypt[] = "Error CryptDecrypt: ";
constexpr char kAcquireContext[] = "Error CryptAcquireContext: ";
constexpr char kGenKey[] = "Error CryptGenKey: ";
constexpr char kGetUserKey[] = "Error CryptGetUserKey: ";
constexpr char kExportKey[] = "Error CryptExportKey: ";

template <typename T, void (*Free)(T*)> struct Deleter
{
    void operator()(T* p) const { Free(p); }
};
using CipherPtr = std::unique_ptr<EVP_CIPHER, Deleter<EVP_CIPHER, EVP_CIPHER_free>>;
using CipherCtxPtr = std::unique_ptr<EVP_CIPHER_CTX, Deleter<EVP_CIPHER_CTX, EVP_CIPHER_CTX_free>>;
using MdPtr = std::unique_ptr<EVP_MD, Deleter<EVP_MD, EVP_MD_free>>;
using PkeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using PkeyCtxPtr = std::unique_ptr<EVP_PKEY_CTX, Deleter<EVP_PKEY_CTX, EVP_PKEY_CTX_free>>;
using EncoderCtxPtr = std::unique_ptr<OSSL_ENCODER_CTX, Deleter<OSSL_ENCODER_CTX, OSSL_ENCODER_CTX_free>>;

enum class CipherFailure
{
    None,
    Fetch, // no RC2 in the library
    Key,   // the key could not be set
    Run,   // encryption failed, or the data did not decrypt
};

CipherFailure runRc2(OSSL_LIB_CTX* lib, const QByteArray& key, const QByteArray& in, bool encrypt,
                     QByteArray* out)
{
    CipherPtr cipher(EVP_CIPHER_fetch(lib, "RC2-CBC", nullptr));
    if (!cipher)
        return CipherFailure::Fetch;
    CipherCtxPtr ctx(EVP_CIPHER_CTX_new());
    static const unsigned char zeroIv[kBlockSize] = {};
    size_t bits = kEffectiveBits;
    size_t keyLength = size_t(key.size());
    const OSSL_PARAM params[] = {
        OSSL_PARAM_construct_size_t(OSSL_CIPHER_PARAM_KEYLEN, &keyLength),
        OSSL_PARAM_construct_size_t(OSSL_CIPHER_PARAM_RC2_KEYBITS, &bits),
        OSSL_PARAM_construct_end(),
    };
    // The effective key length takes part in the key schedule, so it is set before the key.
    if (!ctx || !EVP_CipherInit_ex2(ctx.get(), cipher.get(), nullptr, nullptr, encrypt, nullptr) ||
        !EVP_CIPHER_CTX_set_params(ctx.get(), params) ||
        !EVP_CipherInit_ex2(ctx.get(), nullptr, reinterpret_cast<const unsigned char*>(key.constData()),
                            zeroIv, encrypt, nullptr))
        return CipherFailure::Key;
    if (!encrypt && (in.isEmpty() || in.size() % kBlockSize != 0))
        return CipherFailure::Run;
    out->resize(in.size() + kBlockSize);
    auto* dst = reinterpret_cast<unsigned char*>(out->data());
    int updated = 0;
    int finished = 0;
    if (!EVP_CipherUpdate(ctx.get(), dst, &updated, reinterpret_cast<const unsigned char*>(in.constData()),
                          int(in.size())) ||
        !EVP_CipherFinal_ex(ctx.get(), dst + updated, &finished)) {
        out->clear();
        return CipherFailure::Run;
    }
    out->resize(updated + finished);
    return CipherFailure::None;
}

// Cipher bytes carried in a text without a text form: one character per byte.
bool rawBytes(const QString& text, QByteArray* bytes)
{
    bytes->resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u > 0xFF)
            return false;
        (*bytes)[i] = char(u);
    }
    return true;
}

// CryptoAPI's PUBLICKEYBLOB of an RSA key, as OpenSSL's MSBLOB encoder writes it; empty on failure.
QByteArray publicKeyBlob(EVP_PKEY* key)
{
    EncoderCtxPtr ctx(OSSL_ENCODER_CTX_new_for_pkey(key, EVP_PKEY_PUBLIC_KEY, "MSBLOB", nullptr, nullptr));
    if (!ctx || OSSL_ENCODER_CTX_get_num_encoders(ctx.get()) == 0)
        return {};
    unsigned char* data = nullptr;
    size_t size = 0;
    if (!OSSL_ENCODER_to_data(ctx.get(), &data, &size))
        return {};
    const QByteArray blob(reinterpret_cast<const char*>(data), qsizetype(size));
    OPENSSL_free(data);
    return blob;
}

} // namespace

TEnDeCrypt::TEnDeCrypt() : TEnDeCrypt(CryptConfig::keyStoreFolder()) {}

TEnDeCrypt::TEnDeCrypt(const QString& keyStoreFolder)
    : mPassPhrase(CryptConfig::defaultPassPhrase()), mKeyStoreFolder(keyStoreFolder)
{
}

QString TEnDeCrypt::ErrorName(std::uint32_t code)
{
    return cryptErrorName(code);
}

void TEnDeCrypt::fail(const char* step, std::uint32_t code)
{
    mLastError = QLatin1String(step) + ErrorName(code);
}

bool TEnDeCrypt::deriveKey(QByteArray* key, bool encrypting)
{
    OSSL_LIB_CTX* lib = cryptLibrary();
    if (!lib) {
        fail(kOpenContext, error::kProvDllNotFound);
        return false;
    }
    MdPtr sha1(EVP_MD_fetch(lib, "SHA1", nullptr));
    if (!sha1) {
        fail(encrypting ? kCreateHashEncrypting : kCreateHashDecrypting, error::kBadAlgId);
        return false;
    }
    bool lossless = true;
    const QByteArray phrase = lang::toCp1251(mPassPhrase, &lossless);
    if (!lossless) {
        // A character the code page lacks would silently become '?', a different pass phrase.
        fail(kHashData, error::kBadData);
        return false;
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    if (!EVP_Digest(phrase.constData(), size_t(phrase.size()), digest, &digestLength, sha1.get(), nullptr) ||
        digestLength < unsigned(kKeyLength)) {
        fail(kHashData, error::kFail);
        return false;
    }
    *key = QByteArray(reinterpret_cast<const char*>(digest), kKeyLength);
    return true;
}

bool TEnDeCrypt::runCipher(const QByteArray& key, const QByteArray& in, bool encrypting, QByteArray* out)
{
    switch (runRc2(cryptLibrary(), key, in, encrypting, out)) {
    case CipherFailure::None:
        return true;
    case CipherFailure::Fetch:
        fail(kDeriveKey, error::kBadAlgId);
        return false;
    case CipherFailure::Key:
        fail(kDeriveKey, error::kBadKey);
        return false;
    case CipherFailure::Run:
        // A block that does not decrypt is bad data: a wrong pass phrase or a damaged text.
        if (encrypting)
            fail(kEncrypt, error::kFail);
        else
            fail(kDecrypt, error::kBadData);
        return false;
    }
    return false;
}

QString TEnDeCrypt::EncryptText(const QString& text, bool base64, bool hex)
{
    QByteArray key;
    if (!deriveKey(&key, true))
        return {};
    bool lossless = true;
    const QByteArray plain = lang::toCp1251(text, &lossless);
    if (!lossless) {
        // Refused rather than stored with '?' in place of what cannot be written.
        fail(kEncrypt, error::kBadData);
        return {};
    }
    QByteArray cipher;
    if (!runCipher(key, plain, true, &cipher))
        return {};
    QString result;
    if (base64)
        result = BinToBase64(cipher);
    if (hex)
        result = BinToHex(base64 ? result.toLatin1() : cipher);
    if (!base64 && !hex)
        result = QString::fromLatin1(cipher);
    return result;
}

QString TEnDeCrypt::DecryptText(const QString& text, bool base64, bool hex)
{
    QByteArray key;
    if (!deriveKey(&key, false))
        return {};
    QByteArray cipher;
    bool ok = true;
    if (hex)
        cipher = HexToBin(text, &ok);
    if (ok && base64)
        cipher = Base64ToBin(hex ? QString::fromLatin1(cipher) : text, &ok);
    if (ok && !base64 && !hex)
        ok = rawBytes(text, &cipher);
    if (!ok) {
        fail(kDecrypt, error::kBadData);
        return {};
    }
    QByteArray plain;
    if (!runCipher(key, cipher, false, &plain))
        return {};
    return lang::fromCp1251(plain);
}

bool TEnDeCrypt::ContainerExists(const QString& name)
{
    switch (KeyStore(mKeyStoreFolder).state(name)) {
    case KeyStore::State::Present:
        return true;
    case KeyStore::State::Missing:
        return false;
    case KeyStore::State::BadName:
        fail(kAcquireContext, error::kBadKeysetParam);
        return false;
    case KeyStore::State::Unreadable:
        fail(kAcquireContext, error::kFail);
        return false;
    }
    return false;
}

bool TEnDeCrypt::CreateContainer(const QString& name)
{
    const std::uint32_t code = KeyStore(mKeyStoreFolder).create(name);
    if (code != 0)
        fail(kAcquireContext, code);
    return code == 0;
}

bool TEnDeCrypt::openContainer(const QString& name)
{
    KeyStore store(mKeyStoreFolder);
    switch (store.state(name)) {
    case KeyStore::State::Present:
        return true;
    case KeyStore::State::BadName:
        fail(kAcquireContext, error::kBadKeysetParam);
        return false;
    case KeyStore::State::Unreadable:
        fail(kAcquireContext, error::kFail);
        return false;
    case KeyStore::State::Missing:
        break;
    }
    const std::uint32_t code = store.create(name);
    // NTE_EXISTS: made by someone else in between, and there now.
    if (code == 0 || code == error::kExists)
        return true;
    fail(kAcquireContext, code);
    return false;
}

bool TEnDeCrypt::HasExchangeKey(const QString& name)
{
    if (!openContainer(name))
        return false;
    EVP_PKEY* raw = nullptr;
    const std::uint32_t code = KeyStore(mKeyStoreFolder).readKey(name, &raw);
    PkeyPtr key(raw);
    if (code == error::kNoKey)
        return false;
    if (code != 0) {
        fail(code == error::kFail || code == error::kBadKeyset ? kAcquireContext : kGetUserKey, code);
        return false;
    }
    return true;
}

QByteArray TEnDeCrypt::GenerateKeyPair(const QString& name)
{
    if (!openContainer(name))
        return {};
    OSSL_LIB_CTX* lib = cryptLibrary();
    if (!lib) {
        fail(kAcquireContext, error::kProvDllNotFound);
        return {};
    }
    PkeyCtxPtr ctx(EVP_PKEY_CTX_new_from_name(lib, "RSA", nullptr));
    EVP_PKEY* generated = nullptr;
    if (!ctx || EVP_PKEY_keygen_init(ctx.get()) <= 0 ||
        EVP_PKEY_CTX_set_rsa_keygen_bits(ctx.get(), kRsaBits) <= 0 ||
        EVP_PKEY_generate(ctx.get(), &generated) <= 0) {
        fail(kGenKey, error::kFail);
        return {};
    }
    PkeyPtr key(generated);
    KeyStore store(mKeyStoreFolder);
    if (const std::uint32_t code = store.writeKey(name, key.get()); code != 0) {
        fail(kGenKey, code);
        return {};
    }
    // Export what the container now holds, as a reader of the store will see it.
    return ExportPublicKey(name);
}

QByteArray TEnDeCrypt::ExportPublicKey(const QString& name)
{
    if (!openContainer(name))
        return {};
    EVP_PKEY* raw = nullptr;
    const std::uint32_t code = KeyStore(mKeyStoreFolder).readKey(name, &raw);
    PkeyPtr key(raw);
    if (code != 0) {
        fail(code == error::kFail || code == error::kBadKeyset ? kAcquireContext : kGetUserKey, code);
        return {};
    }
    const QByteArray blob = publicKeyBlob(key.get());
    if (blob.isEmpty())
        fail(kExportKey, error::kFail);
    return blob;
}

QString EncryptString(const QString& text, const QString& passPhrase, bool base64, bool hex, QString* error)
{
    TEnDeCrypt crypt;
    crypt.SetPassPhrase(passPhrase);
    const QString result = crypt.EncryptText(text, base64, hex);
    if (error)
        *error = crypt.LastError();
    return result;
}

} // namespace crypto

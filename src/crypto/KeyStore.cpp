#include "KeyStore.h"

#include "CryptErrors.h"
#include "CryptLibrary.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <sys/stat.h>
#include <unistd.h>

namespace crypto {

namespace {

// A PKCS#8 PEM of a 512-bit or larger practical key is far below this; anything bigger is not ours.
constexpr qsizetype kMaxKeyFile = 64 * 1024;

struct FdCloser
{
    int fd;
    ~FdCloser()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

bool KeyStore::isValidName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool ok =
            (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'_';
        if (!ok)
            return false;
    }
    return true;
}

QString KeyStore::containerPath(const QString& name) const
{
    return mFolder + QLatin1Char('/') + name + QLatin1String(".pem");
}

KeyStore::State KeyStore::state(const QString& name) const
{
    if (!isValidName(name))
        return State::BadName;
    const QByteArray path = QFile::encodeName(containerPath(name));
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return State::Present;
    }
    // A missing folder is a store without containers yet; a file in the folder's place is not a store.
    return errno == ENOENT ? State::Missing : State::Unreadable;
}

bool KeyStore::ensureFolder() const
{
    const QByteArray path = QFile::encodeName(mFolder);
    struct stat st
    {
    };
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const QString parent = QDir::cleanPath(mFolder + QLatin1String("/.."));
    if (!QDir().mkpath(parent))
        return false;
    if (::mkdir(path.constData(), 0700) != 0)
        return errno == EEXIST && ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
    // The umask may only take bits away, but say exactly what we want.
    return ::chmod(path.constData(), 0700) == 0;
}

std::uint32_t KeyStore::create(const QString& name)
{
    if (!isValidName(name))
        return error::kBadKeysetParam;
    if (!ensureFolder())
        return error::kFail;
    const QByteArray path = QFile::encodeName(containerPath(name));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? error::kExists : error::kFail;
    ::close(fd);
    return 0;
}

std::uint32_t KeyStore::readKey(const QString& name, EVP_PKEY** key) const
{
    *key = nullptr;
    if (!isValidName(name))
        return error::kBadKeysetParam;
    const QByteArray path = QFile::encodeName(containerPath(name));
    FdCloser file{::open(path.constData(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        return errno == ENOENT ? error::kBadKeyset : error::kFail;
    QByteArray pem;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(file.fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return error::kFail;
        }
        if (n == 0)
            break;
        pem.append(buffer, n);
        if (pem.size() > kMaxKeyFile)
            return error::kBadKey;
    }
    if (pem.trimmed().isEmpty())
        return error::kNoKey;

    OSSL_LIB_CTX* lib = cryptLibrary();
    if (!lib)
        return error::kProvDllNotFound;
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(pem.constData(), int(pem.size())),
                                                  BIO_free);
    if (!bio)
        return error::kNoMemory;
    EVP_PKEY* loaded = PEM_read_bio_PrivateKey_ex(bio.get(), nullptr, nullptr, nullptr, lib, nullptr);
    if (!loaded)
        return error::kBadKey;
    if (!EVP_PKEY_is_a(loaded, "RSA")) {
        EVP_PKEY_free(loaded);
        return error::kBadKey;
    }
    *key = loaded;
    return 0;
}

std::uint32_t KeyStore::writeKey(const QString& name, EVP_PKEY* key)
{
    if (!isValidName(name))
        return error::kBadKeysetParam;
    if (!ensureFolder())
        return error::kFail;

    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), BIO_free);
    if (!bio)
        return error::kNoMemory;
    // PEM_write_bio_PrivateKey writes PKCS#8 ("BEGIN PRIVATE KEY").
    if (!PEM_write_bio_PrivateKey_ex(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr, cryptLibrary(),
                                     nullptr))
        return error::kFail;
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);

    // mkstemp opens exclusively with mode 0600.
    QByteArray temp = QFile::encodeName(mFolder + QLatin1String("/.") + name + QLatin1String(".XXXXXX"));
    FdCloser file{::mkstemp(temp.data())};
    if (file.fd < 0)
        return error::kFail;
    const QByteArray target = QFile::encodeName(containerPath(name));
    const bool written =
        ::fchmod(file.fd, 0600) == 0 && writeAll(file.fd, data, size) && ::fsync(file.fd) == 0;
    if (!written || ::rename(temp.constData(), target.constData()) != 0) {
        ::unlink(temp.constData());
        return error::kFail;
    }
    return 0;
}

} // namespace crypto

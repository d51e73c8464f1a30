#pragma once

// Shared helpers of the libFuzzer targets: the input as text, and one scratch folder per process
// for the targets that read files (removed at exit).

#include <QByteArray>
#include <QDir>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace fuzz {

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The input read as UTF-8 (bad sequences become U+FFFD).
inline QString utf8(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The input read as raw UTF-16 code units, lone surrogates and all; an odd last byte is dropped.
inline QString utf16(const uint8_t* data, size_t size)
{
    QString s;
    s.reserve(qsizetype(size / 2));
    for (size_t i = 0; i + 1 < size; i += 2)
        s.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
    return s;
}

// A folder of our own under /dev/shm (no disk writes) or $TMPDIR, created on first use.
inline const QString& scratchFolder()
{
    static const QString folder = [] {
        QByteArray base =
            QDir(QStringLiteral("/dev/shm")).exists() ? QByteArray("/dev/shm") : qgetenv("TMPDIR");
        if (base.isEmpty())
            base = "/tmp";
        std::string tmpl = base.toStdString() + "/tev-fuzz.XXXXXX";
        if (!::mkdtemp(tmpl.data()))
            std::abort();
        static std::string removeAtExit;
        removeAtExit = tmpl;
        std::atexit([] { QDir(QString::fromStdString(removeAtExit)).removeRecursively(); });
        return QString::fromStdString(tmpl);
    }();
    return folder;
}

// Fails the run with a message the fuzzer's log shows.
#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);                         \
            abort();                                                                                         \
        }                                                                                                    \
    } while (0)

} // namespace fuzz

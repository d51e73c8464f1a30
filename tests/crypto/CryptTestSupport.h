#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QByteArray& b, std::ostream* os)
{
    *os << "0x" << b.toHex().toStdString();
}

namespace cryptTest {

// The Debian programs the tests check against (the python3 on PATH may lack Debian's modules).
inline const QString kPython = QStringLiteral("/usr/bin/python3");
inline const QString kOpenssl = QStringLiteral("/usr/bin/openssl");

inline QString sourceFile(const char* name)
{
    return QStringLiteral(TEV_SOURCE_DIR "/tests/crypto/") + QLatin1String(name);
}

struct ProcessResult
{
    bool started = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline ProcessResult runProcess(const QString& program, const QStringList& args, const QByteArray& input = {},
                                const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    ProcessResult result;
    result.started = process.waitForStarted(30000);
    if (!result.started)
        return result;
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

// "Modulus=<hex>" as the openssl tool reads a key file; empty when it cannot.
inline QByteArray opensslModulus(const QStringList& args)
{
    const ProcessResult r =
        runProcess(kOpenssl, QStringList{QStringLiteral("rsa")} + args +
                                 QStringList{QStringLiteral("-noout"), QStringLiteral("-modulus")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return r.exitCode == 0 ? r.out.trimmed() : QByteArray();
}

inline QByteArray blobModulus(const QString& blobFile)
{
    return opensslModulus({QStringLiteral("-pubin"), QStringLiteral("-inform"), QStringLiteral("MSBLOB"),
                           QStringLiteral("-in"), blobFile});
}

inline QByteArray pemModulus(const QString& pemFile)
{
    return opensslModulus({QStringLiteral("-in"), pemFile});
}

// Points the application folder (and so TevCrypt.ini) at a folder for the life of the object.
class AppFolderOverride
{
public:
    explicit AppFolderOverride(const QString& folder)
        : mOld(qgetenv("TEV_APP_DIR")), mHad(qEnvironmentVariableIsSet("TEV_APP_DIR"))
    {
        qputenv("TEV_APP_DIR", folder.toLocal8Bit());
    }
    ~AppFolderOverride()
    {
        if (mHad)
            qputenv("TEV_APP_DIR", mOld);
        else
            qunsetenv("TEV_APP_DIR");
    }

private:
    QByteArray mOld;
    bool mHad;
};

} // namespace cryptTest

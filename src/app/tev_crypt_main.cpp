// tev-crypt: the console's credential encryption and exchange keys, for setting up the exchange
// services on a computer without the console. Shares TevCrypt.ini of the application folder.

#include "Cp1251.h"
#include "CryptConfig.h"
#include "KeyStore.h"
#include "TEnDeCrypt.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>
#include <cstdio>
#include <optional>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char kHelp[] =
    "Usage: tev-crypt COMMAND [OPTIONS]\n"
    "\n"
    "  encrypt [--base64] [--hex] [--phrase-file FILE]\n"
    "      Reads a text (UTF-8) on standard input and prints its encrypted form.\n"
    "  decrypt [--base64] [--hex] [--phrase-file FILE]\n"
    "      Reads an encrypted form on standard input and prints the text (UTF-8).\n"
    "  keygen [--store DIR] NAME\n"
    "      Makes a new RSA key pair in the container NAME of the key store DIR, replacing an\n"
    "      earlier pair of that container.\n"
    "  export [--store DIR] NAME FILE\n"
    "      Writes the public key blob of the container NAME to FILE, for the processing centre.\n"
    "  --help\n"
    "      Shows this text.\n"
    "\n"
    "Encrypted forms: --base64 (lines of 64 characters, each ended by CR LF), --hex (upper-case\n"
    "hexadecimal), both (hexadecimal of the Base64 text), neither (the cipher bytes themselves).\n"
    "One line break at the end of the text that encrypt reads is dropped, and decrypt ends the text\n"
    "it prints with one, so that `echo` and the shell work as expected.\n"
    "\n"
    "The pass phrase is the connection pass phrase set in TevCrypt.ini of the application folder\n"
    "(section PASS_PHRASES, key Connection), or with --phrase-file the first line of FILE (UTF-8).\n"
    "It is never taken from the command line, where other users could read it.\n"
    "Container names are Latin letters, digits and '_'. Without --store the key store is the one set\n"
    "in TevCrypt.ini (section KEYS, key Store), else the folder KeyStore of the application folder.\n"
    "\n"
    "Exit status: 0 done, 1 the operation failed, 2 wrong usage.\n";

void printError(const QString& text)
{
    const QByteArray bytes = (QStringLiteral("tev-crypt: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

int usageError(const QString& text)
{
    printError(text);
    printError(QStringLiteral("try 'tev-crypt --help'"));
    return kUsage;
}

bool writeStdout(const QByteArray& bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
           std::fflush(stdout) == 0;
}

QByteArray readStdin()
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return {};
    return in.readAll();
}

std::optional<QString> fromUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

struct Options
{
    QString command;
    bool base64 = false;
    bool hex = false;
    QString phraseFile;
    bool hasPhraseFile = false;
    QString store;
    bool hasStore = false;
    QStringList operands;
};

// Parses the options a command allows; an error text when something else is there.
QString parse(const QStringList& args, Options* options)
{
    options->command = args.value(0);
    const bool cipherCommand =
        options->command == QLatin1String("encrypt") || options->command == QLatin1String("decrypt");
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (cipherCommand && arg == QLatin1String("--base64")) {
            options->base64 = true;
        } else if (cipherCommand && arg == QLatin1String("--hex")) {
            options->hex = true;
        } else if (cipherCommand && arg == QLatin1String("--phrase-file")) {
            if (++i >= args.size())
                return QStringLiteral("--phrase-file needs a file name");
            options->phraseFile = args.at(i);
            options->hasPhraseFile = true;
        } else if (!cipherCommand && arg == QLatin1String("--store")) {
            if (++i >= args.size())
                return QStringLiteral("--store needs a folder");
            options->store = args.at(i);
            options->hasStore = true;
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            if (arg.startsWith(QLatin1String("--phrase")) || arg.startsWith(QLatin1String("--pass")))
                return QStringLiteral(
                    "the pass phrase is not taken from the command line; use --phrase-file");
            return QStringLiteral("unknown option %1 for %2").arg(arg, options->command);
        } else {
            options->operands << arg;
        }
    }
    return {};
}

// The pass phrase: the first line of the file, or the configured connection pass phrase.
std::optional<QString> passPhrase(const Options& options)
{
    if (!options.hasPhraseFile)
        return crypto::CryptConfig::connectionPassPhrase();
    QFile file(options.phraseFile);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read the pass phrase file %1: %2")
                       .arg(options.phraseFile, file.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    const qsizetype lineEnd = bytes.indexOf('\n');
    if (lineEnd >= 0)
        bytes.truncate(lineEnd);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    const std::optional<QString> phrase = fromUtf8(bytes);
    if (!phrase) {
        printError(QStringLiteral("the pass phrase file %1 is not UTF-8 text").arg(options.phraseFile));
        return std::nullopt;
    }
    if (phrase->isEmpty()) {
        printError(QStringLiteral("the pass phrase file %1 holds no pass phrase").arg(options.phraseFile));
        return std::nullopt;
    }
    bool lossless = true;
    lang::toCp1251(*phrase, &lossless);
    if (!lossless) {
        printError(QStringLiteral("the pass phrase holds characters outside code page 1251"));
        return std::nullopt;
    }
    return phrase;
}

int encrypt(const Options& options)
{
    const std::optional<QString> phrase = passPhrase(options);
    if (!phrase)
        return kFailed;
    QByteArray input = readStdin();
    if (input.endsWith('\n'))
        input.chop(input.endsWith("\r\n") ? 2 : 1);
    const std::optional<QString> text = fromUtf8(input);
    if (!text) {
        printError(QStringLiteral("the input is not UTF-8 text"));
        return kFailed;
    }
    bool lossless = true;
    lang::toCp1251(*text, &lossless);
    if (!lossless) {
        printError(
            QStringLiteral("the text holds characters outside code page 1251, which it is encrypted in"));
        return kFailed;
    }
    crypto::TEnDeCrypt crypt;
    crypt.SetPassPhrase(*phrase);
    const QString cipher = crypt.EncryptText(*text, options.base64, options.hex);
    if (!crypt.LastError().isEmpty()) {
        printError(crypt.LastError());
        return kFailed;
    }
    QByteArray out = cipher.toLatin1();
    if (options.hex)
        out += '\n';
    return writeStdout(out) ? kDone : kFailed;
}

int decrypt(const Options& options)
{
    const std::optional<QString> phrase = passPhrase(options);
    if (!phrase)
        return kFailed;
    const QByteArray input = readStdin();
    QString cipher = QString::fromLatin1(input);
    if (options.base64 || options.hex)
        cipher = cipher.trimmed();
    crypto::TEnDeCrypt crypt;
    crypt.SetPassPhrase(*phrase);
    const QString text = crypt.DecryptText(cipher, options.base64, options.hex);
    if (!crypt.LastError().isEmpty()) {
        printError(QStringLiteral("the input does not decrypt: a wrong pass phrase, a wrong form or damaged "
                                  "data (%1)")
                       .arg(crypt.LastError()));
        return kFailed;
    }
    return writeStdout(text.toUtf8() + '\n') ? kDone : kFailed;
}

// The key store and the container name of keygen and export; kDone when both are usable.
int checkStore(const QString& folder, const QString& name, bool mustExist)
{
    if (!crypto::KeyStore::isValidName(name)) {
        printError(QStringLiteral("container names are Latin letters, digits and '_': \"%1\"").arg(name));
        return kFailed;
    }
    const QFileInfo store(folder);
    if (store.exists() && !store.isDir()) {
        printError(QStringLiteral("the key store %1 is not a folder").arg(folder));
        return kFailed;
    }
    if (store.exists() && !(store.isReadable() && store.isExecutable())) {
        printError(QStringLiteral("the key store %1 cannot be read").arg(folder));
        return kFailed;
    }
    crypto::TEnDeCrypt crypt(folder);
    const bool exists = crypt.ContainerExists(name);
    if (!crypt.LastError().isEmpty()) {
        printError(QStringLiteral("cannot read the container %1 in the key store %2 (%3)")
                       .arg(name, folder, crypt.LastError()));
        return kFailed;
    }
    if (mustExist && !exists) {
        printError(QStringLiteral("the key store %1 has no container %2").arg(folder, name));
        return kFailed;
    }
    return kDone;
}

QString storeOf(const Options& options)
{
    return options.hasStore ? options.store : crypto::CryptConfig::keyStoreFolder();
}

int keygen(const Options& options)
{
    if (options.operands.size() != 1)
        return usageError(QStringLiteral("keygen takes one container name"));
    const QString folder = storeOf(options);
    const QString& name = options.operands.at(0);
    if (const int status = checkStore(folder, name, false); status != kDone)
        return status;
    crypto::TEnDeCrypt crypt(folder);
    const QByteArray blob = crypt.GenerateKeyPair(name);
    if (blob.isEmpty()) {
        printError(QStringLiteral("cannot make a key pair in %1 (%2)").arg(folder, crypt.LastError()));
        return kFailed;
    }
    const QByteArray done = QStringLiteral("key pair %1 made in %2\n").arg(name, folder).toUtf8();
    return writeStdout(done) ? kDone : kFailed;
}

int exportKey(const Options& options)
{
    if (options.operands.size() != 2)
        return usageError(QStringLiteral("export takes a container name and a file"));
    const QString folder = storeOf(options);
    const QString& name = options.operands.at(0);
    const QString& target = options.operands.at(1);
    if (const int status = checkStore(folder, name, true); status != kDone)
        return status;
    crypto::TEnDeCrypt crypt(folder);
    if (!crypt.HasExchangeKey(name)) {
        printError(crypt.LastError().isEmpty()
                       ? QStringLiteral("the container %1 in %2 holds no key pair").arg(name, folder)
                       : QStringLiteral("cannot read the container %1 in %2 (%3)")
                             .arg(name, folder, crypt.LastError()));
        return kFailed;
    }
    const QByteArray blob = crypt.ExportPublicKey(name);
    if (blob.isEmpty()) {
        printError(QStringLiteral("cannot export the public key of %1 (%2)").arg(name, crypt.LastError()));
        return kFailed;
    }
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(blob) != blob.size() || !file.commit()) {
        printError(QStringLiteral("cannot write %1: %2").arg(target, file.errorString()));
        return kFailed;
    }
    return kDone;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        return writeStdout(QByteArray(kHelp)) ? kDone : kFailed;
    }

    Options options;
    if (const QString error = parse(args, &options); !error.isEmpty())
        return usageError(error);
    if (options.command == QLatin1String("encrypt") || options.command == QLatin1String("decrypt")) {
        if (!options.operands.isEmpty())
            return usageError(QStringLiteral("%1 reads standard input and takes no other argument: %2")
                                  .arg(options.command, options.operands.first()));
        return options.command == QLatin1String("encrypt") ? encrypt(options) : decrypt(options);
    }
    if (options.command == QLatin1String("keygen"))
        return keygen(options);
    if (options.command == QLatin1String("export"))
        return exportKey(options);
    return usageError(QStringLiteral("unknown command %1").arg(options.command));
}

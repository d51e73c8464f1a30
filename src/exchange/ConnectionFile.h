#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

struct ExchangeParams;

// "Connection.ini" of the exchange services, written beside each service's program file.
class ConnectionFile
{
public:
    static constexpr char kFileName[] = "Connection.ini";
    static constexpr char kConnectionSection[] = "CONNECTION_WEB";
    static constexpr char kLogSection[] = "LOG";

    struct Target
    {
        QString Path;
        bool LogIn = false;  // LogInPath goes in
        bool LogOut = false; // LogOutPath goes in
    };

    // The files a kind of exchange writes (1 import, 2 export, 3 both): the import service's file
    // with LogInPath (and LogOutPath when both programs share a folder), and for export a file of
    // its own unless the import service's file is in that same folder already.
    static QList<Target> Targets(int kind, const QString& importProgram, const QString& exportProgram);

    // Writes the keys this console owns into one file and keeps every other key. A new file is
    // readable by its owner only before anything goes in. Throws lang::IniError.
    static void Write(const Target& target, const ExchangeParams& params, const QString& userName,
                      const QString& password);

    // The whole generation: a new password for `account`, both user name and password encrypted
    // under `passPhrase` as hexadecimal text, then the password set through `changePassword`
    // (which commits it), then the files written. Nothing is changed when the encryption fails or
    // a file cannot be written; the password is changed once for every file. Returns the files
    // written. Throws std::runtime_error (lang::IniError for a file) with the reason.
    static QStringList
    Generate(int kind, const ExchangeParams& params, const QString& importProgram,
             const QString& exportProgram, const QString& account, const QString& passPhrase,
             const std::function<void(const QString& password, const QString& user)>& changePassword);
};

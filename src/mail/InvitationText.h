#pragma once

#include "TInvitation.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The rules of the invitation composer that need no window: the letter text, addresses, labels and
// file names.

// One row of the composer's logins table, as the letter builder reads and updates it.
struct TLetterLogin
{
    int wbl_id = 0;
    QString lgn;
    QString pwd;
    int flg = 0; // 0: pwd is the initial password; 1: it was changed, pwd is only a proposal
    QString bdd; // block date text, or the "user blocked" text
    QString cln_ansi;
    int pwd_res = 0; // 1: pwd is a new password chosen in this window, applied after sending
    int is_temp = 0;
    // Set when this run already generated pwd: every letter of one run announces the same password.
    bool generatedThisRun = false;
};

// The four templates as the window's fields hold them.
struct TLetterTemplates
{
    QString header;
    QString body;
    QString loginAbsent;
    QString footer;
};

// A catalogue default written as lines ended by "##": the lines joined by line breaks, what follows
// the last "##" dropped, empty lines before the first non-empty one dropped.
QString ExpandTemplateDefault(const QString& text);

// A multi-line field's text as a list of lines gives it: every line, the last one too, ends with a
// line break (an empty text stays empty).
QString TemplateText(const QString& fieldText);

// The letter for one client (line breaks "\n"). rows are the client's logins; they are visited in
// login-name order. Not in preview, advanced security and a temporary login get a new password from
// generatePassword (once per run, see generatedThisRun), stored in the row (pwd, flg = 1, pwd_res = 1).
// announced receives the (login, password) pairs the letter gives that are to be applied once it is
// sent: the rows with flg = 1 and pwd_res = 1.
QString BuildMessage(const TLetterTemplates& templates, const QString& clientName, QList<TLetterLogin>& rows,
                     bool preview, bool advancedSecurity, const std::function<QString()>& generatePassword,
                     QList<TLoginPassword>* announced = nullptr);

// The addresses of an e-mail field: cut at , ; blank / \ ( ) [ ], trimmed, empty pieces dropped; the
// whole field when nothing remains.
QStringList SplitAddresses(const QString& emailField);

bool IsValidAddress(const QString& address);

// "[" emitent ", " filial "," processing id "] " name
QString ClientLabel(const QString& emitentNumber, const QString& filialNumber, const QString& petrolId,
                    const QString& clientName);

// Emitent in at least four digits, filial in at least two, "_sendlog_", yyyyMMddhhmmss, ".log".
QString SendLogFileName(qint64 emitentNumber, qint64 filialNumber, const QDateTime& now);

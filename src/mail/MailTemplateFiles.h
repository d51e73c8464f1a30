#pragma once

#include <QString>
#include <stdexcept>

// The four letter templates, each in a file of its own in the program's folder.
class MailTemplateFiles
{
public:
    static constexpr char kHeaderFile[] = "DEDAdizeMailHeader.txt";
    static constexpr char kBodyFile[] = "DEDAdizeMailBody.txt";
    static constexpr char kLoginAbsentFile[] = "DEDAdizeMailLoginAbsent.txt";
    static constexpr char kFooterFile[] = "DEDAdizeMailFooter.txt";

    // A file that could not be read or written; the message names it.
    class Error : public std::runtime_error
    {
    public:
        using std::runtime_error::runtime_error;
    };

    // The file's text, or defaultText when there is no file. Files made on Windows are code page
    // 1251; a file that is valid UTF-8 is read as such.
    static QString load(const QString& path, const QString& defaultText); // throws Error
    // Through a temporary file and a rename, so a failed write leaves the old file whole. Code page
    // 1251 when the text fits in it, UTF-8 otherwise (nothing turns into "?").
    static void save(const QString& path, const QString& text); // throws Error
};

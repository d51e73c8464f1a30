#pragma once

#include <QString>

// Opens a file the console produced (a report, a saved log) with the desktop's program for it;
// tests record the request instead.
namespace framework {

class FileOpener
{
public:
    virtual ~FileOpener() = default;
    // false when no program took the file.
    virtual bool open(const QString& path);
};

FileOpener& fileOpener();
// nullptr restores the desktop's opener; returns the one that was installed.
FileOpener* setFileOpener(FileOpener* opener);

// fileOpener().open(path)
bool openWithDesktop(const QString& path);

} // namespace framework

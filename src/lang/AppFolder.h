#pragma once

#include <QString>

namespace lang {

// The folder every INI file, language file, template and log of the console lives in:
// $TEV_APP_DIR when set; else the executable's folder when it is writable and not an installed
// program's (a portable copy, as on the original system); else $XDG_CONFIG_HOME/tev-web-admin,
// created when missing and seeded with the shipped files. No trailing slash.
QString applicationFolder();
// Copies the shipped files (language files, letter templates, ReportTemplates/) that the folder
// does not have yet; never overwrites. Returns how many were copied. An installed console does this
// for its $XDG_CONFIG_HOME folder at its first use in a process.
int seedApplicationFolder(const QString& folder, const QString& shipped);
// A file of that folder, found whatever the letter case of its name on disk; the exact name when
// there is none yet.
QString applicationFile(const QString& name);
// The same lookup in any folder.
QString fileInFolder(const QString& folder, const QString& name);

} // namespace lang

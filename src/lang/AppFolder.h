#pragma once

#include <QString>

namespace lang {

// The folder every INI file, language file, template and log of the console lives in:
// $TEV_APP_DIR when set; else the executable's folder when it is writable (a portable install, as on
// the original system); else $XDG_CONFIG_HOME/tev-web-admin, created when missing. No trailing slash.
QString applicationFolder();
// A file of that folder, found whatever the letter case of its name on disk; the exact name when
// there is none yet.
QString applicationFile(const QString& name);
// The same lookup in any folder.
QString fileInFolder(const QString& folder, const QString& name);

} // namespace lang

#pragma once

#include <QString>

namespace lang {

// The folder every INI file, language file, template and log of the console lives in:
// $TEV_APP_DIR when set; else the executable's folder when it is writable (a portable install, as on
// the original system); else $XDG_CONFIG_HOME/tev-web-admin, created when missing. No trailing slash.
QString applicationFolder();
// A file of that folder.
QString applicationFile(const QString& name);

} // namespace lang

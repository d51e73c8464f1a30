#pragma once

#include <QString>
#include <QStringList>

// The main window's rules that depend on nothing but their inputs: roles, the binding of the
// exchange services to this computer, and the version check.
namespace MainRules {

enum class Role
{
    Administrator,
    Operator,
    Manager
};

// By the signed-in user name, compared in upper case.
Role RoleOf(const QString& signedInUser);
// Commands a role may not use: hidden and disabled.
QStringList HiddenCommands(Role role);
bool InterfaceLanguagesHidden(Role role);
bool WebLanguagesHidden(Role role);
// Whether the role sees every emitent (a regional manager sees only the manager's).
bool AllEmitents(Role role);
// The commands made visible and enabled before the role's rights are applied.
QStringList RightsCommands();

// Exchange services: import "srvTEVWebInSrvc", export "srvTEVWebOutSrvc".
inline constexpr char kImportService[] = "srvTEVWebInSrvc";
inline constexpr char kExportService[] = "srvTEVWebOutSrvc";
// 0 none, 1 import only, 2 export only, 3 both: the services installed here whose host setting
// names this computer (upper-case comparison).
int ServiceBinding(bool importInstalled, bool exportInstalled, const QString& importHost,
                   const QString& exportHost, const QString& computerName);
// The same numbers for the services installed here.
int LocalServices(bool importInstalled, bool exportInstalled);

// The console works with schemas of this version; only the first 7 characters are compared.
inline constexpr char kDBVersion[] = TEV_VERSION;
bool VersionMatches(const QString& dbVersion);

} // namespace MainRules

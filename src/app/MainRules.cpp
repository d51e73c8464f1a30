#include "MainRules.h"

#include "CommandTable.h"

namespace MainRules {

Role RoleOf(const QString& signedInUser)
{
    const QString user = signedInUser.toUpper();
    if (user == QLatin1String("TEV_OPERATOR"))
        return Role::Operator;
    if (user == QLatin1String("TEV_MANAGER"))
        return Role::Manager;
    return Role::Administrator;
}

QStringList HiddenCommands(Role role)
{
    switch (role) {
    case Role::Operator:
        return {MainCmd::acSettings, MainCmd::acEmitentSelect, MainCmd::acPOSes,
                MainCmd::acTrnTypes, MainCmd::acHelp,          MainCmd::actManager};
    case Role::Manager:
        return {MainCmd::acSettings,    MainCmd::acHelp,         MainCmd::acSchemesForWeb,
                MainCmd::acTermsForWeb, MainCmd::acTrnTypeGroup, MainCmd::actManager};
    case Role::Administrator:
        break;
    }
    return {};
}

bool InterfaceLanguagesHidden(Role role)
{
    return role == Role::Operator;
}

bool WebLanguagesHidden(Role role)
{
    return role == Role::Operator || role == Role::Manager;
}

bool AllEmitents(Role role)
{
    return role != Role::Manager;
}

QStringList RightsCommands()
{
    return {MainCmd::acEmitentSelect, MainCmd::acHelp,         MainCmd::acPOSes,
            MainCmd::acSchemesForWeb, MainCmd::acSettings,     MainCmd::acTermsForWeb,
            MainCmd::actManager,      MainCmd::acTrnTypeGroup, MainCmd::acTrnTypes};
}

int ServiceBinding(bool importInstalled, bool exportInstalled, const QString& importHost,
                   const QString& exportHost, const QString& computerName)
{
    const QString computer = computerName.toUpper();
    const bool importHere = importInstalled && importHost.toUpper() == computer;
    const bool exportHere = exportInstalled && exportHost.toUpper() == computer;
    if (importHere && exportHere)
        return 3;
    if (importHere)
        return 1;
    if (exportHere)
        return 2;
    return 0;
}

int LocalServices(bool importInstalled, bool exportInstalled)
{
    if (importInstalled && exportInstalled)
        return 3;
    if (importInstalled)
        return 1;
    if (exportInstalled)
        return 2;
    return 0;
}

bool VersionMatches(const QString& dbVersion)
{
    return dbVersion.left(7) == QLatin1String(kDBVersion);
}

} // namespace MainRules

#include "ComputerName.h"

#include <QSysInfo>

QString ComputerNameFromHostName(const QString& hostName)
{
    const QString host = hostName.trimmed();
    return host.left(host.indexOf(QLatin1Char('.'))).toUpper();
}

QString ComputerName()
{
    return ComputerNameFromHostName(QSysInfo::machineHostName());
}

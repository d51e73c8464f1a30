#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace db {

// The PostgreSQL connection service files, our equivalent of the net service names.
class ServiceFile
{
public:
    // The user's file (PGSERVICEFILE, else ~/.pg_service.conf) first, then the system one.
    static QStringList files();
    static QStringList names();
    // Service names are compared without regard to letter case, as net service names are.
    static std::optional<QString> findName(const QString& name);
    static QMap<QString, QString> entries(const QString& name);
};

} // namespace db

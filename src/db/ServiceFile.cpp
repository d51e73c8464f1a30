#include "ServiceFile.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace db {

QStringList ServiceFile::files()
{
    QStringList result;
    const QString user = qEnvironmentVariable("PGSERVICEFILE");
    result << (user.isEmpty() ? QDir::homePath() + QStringLiteral("/.pg_service.conf") : user);
    const QString sysconf = qEnvironmentVariable("PGSYSCONFDIR", QStringLiteral("/etc/postgresql-common"));
    result << sysconf + QStringLiteral("/pg_service.conf");
    return result;
}

template <typename Visit> static void scan(const QString& path, Visit visit)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QString section;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            visit(section, QString(), QString());
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !section.isEmpty())
            visit(section, line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
}

QStringList ServiceFile::names()
{
    QStringList result;
    for (const QString& path : files())
        scan(path, [&](const QString& section, const QString& key, const QString&) {
            if (key.isEmpty() && !result.contains(section, Qt::CaseInsensitive))
                result << section;
        });
    return result;
}

std::optional<QString> ServiceFile::findName(const QString& name)
{
    for (const QString& n : names())
        if (n == name)
            return n;
    for (const QString& n : names())
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return n;
    return std::nullopt;
}

QMap<QString, QString> ServiceFile::entries(const QString& name)
{
    QMap<QString, QString> result;
    bool found = false;
    for (const QString& path : files()) {
        if (found)
            break;
        scan(path, [&](const QString& section, const QString& key, const QString& value) {
            if (section == name) {
                found = true;
                if (!key.isEmpty() && !result.contains(key))
                    result.insert(key, value);
            }
        });
    }
    return result;
}

} // namespace db

#pragma once

// What the benchmarks of the console's windows share: an application folder of their own and the
// data module signed in to the bench database.
#include "BenchSupport.h"
#include "FrameworkFiles.h"
#include "Session.h"
#include "TdmMain.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

namespace bench {

// Makes `folder` the application folder, with a DEDAdize.ini of these lines (CR LF, as on disk).
inline void useAppFolder(const QTemporaryDir& folder, const QByteArray& ini)
{
    qputenv("TEV_APP_DIR", folder.path().toLocal8Bit());
    FrameworkFiles::setFolder(folder.path());
    QFile file(folder.filePath(QStringLiteral("DEDAdize.ini")));
    if (file.open(QIODevice::WriteOnly))
        file.write(ini);
}

// Signs the data module in with the account of a conninfo text and binds its shared queries.
inline void signIn(TdmMain& dm, const QString& connection = conninfo())
{
    const auto kv = parseConninfo(connection);
    db::Session* session = dm.session();
    session->setServer(
        QStringLiteral("%1:%2/%3").arg(kv.value("host"), kv.value("port"), kv.value("dbname")));
    session->setUsername(kv.value("user"));
    session->setPassword(kv.value("password"));
    session->connectAttempt();
    dm.BindToSession();
}

} // namespace bench

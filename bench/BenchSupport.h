#pragma once

// What every benchmark of bench/ shares: the bench database from bench/run's environment and the
// clients list of the large emitent it fills.
#include "PortalCodec.h"
#include "Query.h"
#include "Session.h"
#include "core/SharedQueryTexts.h"

#include <QElapsedTimer>
#include <QMap>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace bench {

inline QMap<QString, QString> parseConninfo(const QString& conninfo)
{
    QMap<QString, QString> kv;
    for (const QString& part : conninfo.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        kv.insert(part.section(QLatin1Char('='), 0, 0), part.section(QLatin1Char('='), 1));
    return kv;
}

inline QString conninfo() { return qEnvironmentVariable("TEV_BENCH_CONNINFO"); }

// The emitent bench/run filled with 100,000 clients; exits when the environment is not set.
inline int benchEmitent()
{
    const int emitent = qEnvironmentVariableIntValue("TEV_BENCH_EMITENT");
    if (conninfo().isEmpty() || emitent == 0) {
        std::fprintf(stderr, "TEV_BENCH_CONNINFO and TEV_BENCH_EMITENT must be set (bench/run sets them)\n");
        std::exit(2);
    }
    return emitent;
}

inline std::unique_ptr<db::Session> connectBenchDatabase()
{
    const auto kv = parseConninfo(conninfo());
    auto session = std::make_unique<db::Session>();
    session->setServer(QStringLiteral("%1:%2/%3").arg(kv.value("host"), kv.value("port"), kv.value("dbname")));
    session->setUsername(kv.value("user"));
    session->setPassword(kv.value("password"));
    session->connect();
    return session;
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline double timed(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed());
}

// The clients query with its macros and parameters as the main window sets them.
inline void setupClients(db::Query& q, int emitent)
{
    q.setSql(QString::fromUtf8(sqltext::qryClients));
    q.setMacro("shema", "tev");
    q.setMacro("ORDER", "ORDER BY");
    q.setMacro("FIELD", "wbc_id");
    const QList<QPair<const char*, const char*>> texts = {
        {"vNo", "Нет"}, {"vYes", "Да"}, {"vCreated", "создан"}, {"vInvited", "выслано приглашение"},
        {"vNotSubscribes", "без подписки"}, {"vSubscribe", "с подпиской"}, {"vBlocked", "заблокирован"},
        {"vUnknown", "неизвестное"}};
    for (const auto& t : texts)
        q.setMacro(QString::fromLatin1(t.first), QStringLiteral("'%1'").arg(QString::fromUtf8(t.second)));
    q.setParam("emitent_id", emitent);
    q.setParam("rpt", 0);
    q.addCalculatedField("WBC_NAME_ANSI", db::DataType::String,
                         [](const db::Dataset& ds, int row) {
                             return QVariant(DecodeUnicodeEscapes(ds.physicalValue(row, 1).toString()));
                         },
                         500, {"WBC_NAME"});
    q.setTakesLocalEdits(true);
}

} // namespace bench

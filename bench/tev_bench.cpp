// Figures of the access layer against the database's own client, in one run:
// opening the clients list of one large emitent through db::Query versus psql fetching the same
// rewritten SQL, and the memory the open dataset holds versus the rows as psql's unaligned text.
#include "MacroExpander.h"
#include "PortalCodec.h"
#include "Query.h"
#include "Session.h"
#include "SqlAdapter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

const char* kClientsSql =
    "select 0 isvisible, tbl.* from (SELECT t.wbc_name, t.wbc_email, t.wbc_description, t.black_list, t.state, "
    "t.wbc_id, t.wbc_petrol_id, t.wbc_petrol_type_id, t.clientislnr, t.clientisbonus, t.allow_use_api, "
    "decode(t.clientislnr,1, '-', decode(t.allow_use_api, 0, &vNo, &vYes ) ) as allow_use_api_txt, "
    "t.allow_unblock_card, decode(t.clientislnr,1, '-', decode(t.allow_unblock_card, 0, &vNo, &vYes ) ) as "
    "allow_unblock_card_txt, t.allow_subscribe_on_sms, decode(t.clientislnr,1, '-', "
    "decode(t.allow_subscribe_on_sms, 0, &vNo, &vYes ) ) as allow_subscribe_on_sms_txt, t.allow_create_dr, "
    "decode(t.clientislnr,1, '-', decode(t.allow_create_dr, 0, &vNo, &vYes ) ) as allow_create_dr_txt, "
    "t.allow_create_dd, decode(t.clientislnr,1, '-', decode(t.allow_create_dd, 0, &vNo, &vYes ) ) as "
    "allow_create_dd_txt, t.allow_create_oil, decode(t.clientisbonus,1, '-', decode(t.clientislnr,1, '-', "
    "decode(t.allow_create_oil, 0, &vNo, &vYes ) ) ) as allow_create_oil_txt, decode(t.test_client, 0, &vNo, "
    "&vYes ) as test_client_str, t.test_client, t.WBC_UPDATE_EMAIL, decode(t.WBC_UPDATE_EMAIL, 0,&vNo, &vYes ) "
    "as UPDATE_EMAIL_txt, t.ALLOW_CHANGE_HOLDER, decode(t.ALLOW_CHANGE_HOLDER, 0, &vNo, &vYes ) as "
    "ALLOW_CHANGE_HOLDER_TXT, t.ALLOW_LOST_CARD, decode(t.ALLOW_LOST_CARD, 0, &vNo, &vYes ) as "
    "ALLOW_LOST_CARD_TXT, t.allow_ch_onl_params, decode(t.clientisbonus,1, '-', decode(t.clientislnr,1, '-', "
    "decode(t.allow_ch_onl_params, 0, &vNo, &vYes ) ) ) as allow_ch_onl_params_txt, t.manager_email FROM "
    "(select nvl(decode(:rpt, 0, trim(v.wbc_name), trim(v.name_for_report)), v.wbc_name) as wbc_name, "
    "v.wbc_email, v.wbc_description, decode(v.wbc_in_blacklist, 0, &vNo, &vYes) as black_list, "
    "decode(v.wbc_client_state, 1, &vCreated, 2, &vInvited, 3, &vNotSubscribes, 4, &vSubscribe, 5, &vBlocked, "
    "&vUnknown) as state, v.wbc_id, v.wbc_petrol_id, DECODE(v.wbc_petrol_type_id, 3, 1, 4, 2, "
    "v.wbc_petrol_type_id) AS wbc_petrol_type_id, v.clientislnr, v.clientisbonus, v.allow_create_dr, "
    "v.allow_create_oil, v.test_client, v.WBC_UPDATE_EMAIL, V.ALLOW_CREATE_DD, V.ALLOW_CHANGE_HOLDER, "
    "V.ALLOW_LOST_CARD, V.allow_ch_onl_params, v.allow_subscribe_on_sms, v.allow_unblock_card, v.allow_use_api, "
    "v.manager_email from &shema.v_tev_web_clients v where wbc_emitent_id = :emitent_id ) t ) tbl &ORDER &FIELD";

QMap<QString, QString> parseConninfo(const QString& conninfo)
{
    QMap<QString, QString> kv;
    for (const QString& part : conninfo.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        kv.insert(part.section(QLatin1Char('='), 0, 0), part.section(QLatin1Char('='), 1));
    return kv;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void setupClients(db::Query& q, int emitent)
{
    q.setSql(QString::fromLatin1(kClientsSql));
    q.setMacro("shema", "tev.");
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
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString conninfo = qEnvironmentVariable("TEV_BENCH_CONNINFO");
    const int emitent = qEnvironmentVariableIntValue("TEV_BENCH_EMITENT");
    if (conninfo.isEmpty() || emitent == 0) {
        std::fprintf(stderr, "TEV_BENCH_CONNINFO and TEV_BENCH_EMITENT must be set (bench/run sets them)\n");
        return 2;
    }
    const auto kv = parseConninfo(conninfo);
    db::Session session;
    session.setServer(QStringLiteral("%1:%2/%3").arg(kv.value("host"), kv.value("port"), kv.value("dbname")));
    session.setUsername(kv.value("user"));
    session.setPassword(kv.value("password"));
    session.connect();

    db::Query q(&session);
    setupClients(q, emitent);
    q.open(); // warm the server's caches for both sides
    const int rows = q.recordCount();

    // The same text psql gets: rewritten, with the two parameters as literals.
    const QString expanded = db::expandMacros(q.sql(), [&](const QString& name) -> std::optional<QString> {
        return q.macroByName(name).expansion();
    });
    const db::AdaptedSql adapted = db::adaptOracleSql(expanded);
    QString psqlSql = adapted.text;
    for (int i = int(adapted.params.size()); i >= 1; --i)
        psqlSql.replace(QStringLiteral("$%1").arg(i), q.paramByName(adapted.params[i - 1]).value().toString());

    QTemporaryDir dir;
    const QString textFile = dir.filePath("rows.txt");
    auto runPsql = [&](const QString& output) {
        QProcess p;
        p.start("psql", {"-X", "-q", "-A", "-t", "-o", output, "-c", psqlSql, conninfo});
        p.waitForFinished(-1);
        if (p.exitCode() != 0) {
            std::fprintf(stderr, "psql failed: %s\n", p.readAllStandardError().constData());
            std::exit(1);
        }
    };
    runPsql(textFile);
    const double textBytes = double(QFileInfo(textFile).size());

    std::vector<double> ours, theirs;
    for (int i = 0; i < 7; ++i) {
        QElapsedTimer t;
        t.start();
        q.open();
        ours.push_back(double(t.nsecsElapsed()));
        session.commit();
        t.restart();
        runPsql("/dev/null");
        theirs.push_back(double(t.nsecsElapsed()));
    }
    const double memory = double(q.memoryUsage());
    std::printf("# %d rows; db::Query open %.1f ms, psql %.1f ms; dataset %.1f MB, text %.1f MB\n", rows,
                median(ours) / 1e6, median(theirs) / 1e6, memory / 1e6, textBytes / 1e6);
    std::printf("db_open_vs_psql: %.3f (target <= 1.5)\n", median(ours) / median(theirs));
    std::printf("db_memory_vs_text: %.3f (target <= 3)\n", memory / textBytes);
    return 0;
}

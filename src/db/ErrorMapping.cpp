#include "ErrorMapping.h"

#include <QRegularExpression>

namespace db {

static int leadingOraNumber(const QString& message)
{
    static const QRegularExpression re(QStringLiteral("^ORA-(\\d{1,5})"));
    const auto m = re.match(message);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

int oraCodeForStatement(const QString& sqlState, const QString& message, bool connectionLost)
{
    if (const int n = leadingOraNumber(message))
        return n;
    if (connectionLost || sqlState.startsWith(QLatin1String("08")) || sqlState == QLatin1String("57P01") ||
        sqlState == QLatin1String("57P02") || sqlState == QLatin1String("57P03"))
        return 12560;
    if (sqlState == QLatin1String("42P01") || sqlState == QLatin1String("42501"))
        return 942;
    if (sqlState == QLatin1String("23505"))
        return 1;
    if (sqlState == QLatin1String("23502"))
        return 1400;
    if (sqlState == QLatin1String("23503"))
        return message.startsWith(QLatin1String("insert or update")) ? 2291 : 2292;
    if (sqlState == QLatin1String("P0002"))
        return 1403;
    if (sqlState == QLatin1String("P0003"))
        return 1422;
    if (sqlState == QLatin1String("42883"))
        return 4043;
    if (sqlState == QLatin1String("42703"))
        return 904;
    if (sqlState == QLatin1String("42601"))
        return 900;
    if (sqlState == QLatin1String("22001"))
        return 12899;
    if (sqlState == QLatin1String("22003"))
        return 1438;
    if (sqlState == QLatin1String("22P02"))
        return 1722;
    if (sqlState == QLatin1String("22012"))
        return 1476;
    if (sqlState == QLatin1String("28P01") || sqlState == QLatin1String("28000"))
        return 1017;
    if (sqlState == QLatin1String("57014"))
        return 1013;
    return 20000;
}

int oraCodeForConnect(const QString& message)
{
    const QString m = message.toLower();
    if (m.contains(QLatin1String("no password supplied")))
        return 1005;
    if (m.contains(QLatin1String("password authentication failed")) ||
        (m.contains(QLatin1String("role")) && m.contains(QLatin1String("does not exist"))))
        return 1017;
    if (m.contains(QLatin1String("not permitted to log in")))
        return 28000;
    if (m.contains(QLatin1String("definition of service")) || m.contains(QLatin1String("service file")))
        return 12154;
    if (m.contains(QLatin1String("could not translate host name")))
        return 12545;
    if (m.contains(QLatin1String("database")) && m.contains(QLatin1String("does not exist")))
        return 12154;
    if (m.contains(QLatin1String("permission denied")))
        return 1045;
    return 12560;
}

} // namespace db

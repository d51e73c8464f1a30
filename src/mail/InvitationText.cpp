#include "InvitationText.h"

#include "Catalogue.h"

#include <algorithm>
#include <numeric>

namespace {

bool isAddressChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-' ||
           u == '.' || u == '_';
}

bool allAddressChars(QStringView part)
{
    return std::all_of(part.begin(), part.end(), isAddressChar);
}

QString padded(qint64 number, int width)
{
    return QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
}

} // namespace

QString ExpandTemplateDefault(const QString& text)
{
    QStringList lines = text.split(QLatin1String("##"));
    lines.removeLast(); // what follows the last "##", or the whole text when there is none
    while (!lines.isEmpty() && lines.first().isEmpty())
        lines.removeFirst();
    return lines.join(QLatin1Char('\n'));
}

QString TemplateText(const QString& fieldText)
{
    if (fieldText.isEmpty() || fieldText.endsWith(QLatin1Char('\n')))
        return fieldText;
    return fieldText + QLatin1Char('\n');
}

QString BuildMessage(const TLetterTemplates& templates, const QString& clientName, QList<TLetterLogin>& rows,
                     bool preview, bool advancedSecurity, const std::function<QString()>& generatePassword,
                     QList<TLoginPassword>* announced)
{
    const QString body = TemplateText(templates.body);
    std::vector<qsizetype> order(size_t(rows.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return rows[a].lgn < rows[b].lgn; });

    QString logins;
    for (qsizetype index : order) {
        TLetterLogin& row = rows[index];
        QString text = body;
        text.replace(QLatin1String("%LOGIN%"), row.lgn);
        QString password;
        if (advancedSecurity && row.is_temp == 1) {
            if (preview) {
                password = lang::tr(u"vrstrPasswordWillBeGenerated");
            } else {
                if (!row.generatedThisRun && generatePassword) {
                    row.pwd = generatePassword();
                    row.flg = 1;
                    row.pwd_res = 1;
                    row.generatedThisRun = true;
                }
                password = row.pwd;
            }
        } else if (row.flg == 0 || row.pwd_res == 1) {
            password = row.pwd;
        } else {
            password = lang::tr(u"rstrPasswordUnknown");
        }
        text.replace(QLatin1String("%PASSWORD%"), password);
        text.replace(QLatin1String("%BLOCK_DATE%"), row.bdd.contains(QLatin1String("3030"))
                                                        ? lang::tr(u"vrstrBlockDateNotExists")
                                                        : row.bdd);
        text.replace(QLatin1String("%CLIENT_NAME%"), row.cln_ansi);
        logins += QLatin1Char('\n') + text;
        if (announced && !preview && row.flg == 1 && row.pwd_res == 1)
            announced->append({row.wbl_id, row.lgn, row.pwd});
    }
    if (rows.isEmpty()) {
        logins = TemplateText(templates.loginAbsent);
        logins.replace(QLatin1String("%CLIENT_NAME%"), clientName);
    }
    return TemplateText(templates.header) + logins + TemplateText(templates.footer);
}

QStringList SplitAddresses(const QString& emailField)
{
    static const QString separators = QStringLiteral(",; /\\()[]");
    QStringList addresses;
    QString piece;
    const auto flush = [&] {
        const QString t = piece.trimmed();
        if (!t.isEmpty())
            addresses.append(t);
        piece.clear();
    };
    for (QChar c : emailField) {
        if (separators.contains(c))
            flush();
        else
            piece += c;
    }
    flush();
    if (addresses.isEmpty())
        addresses.append(emailField);
    return addresses;
}

bool IsValidAddress(const QString& address)
{
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    if (at <= 0)
        return false;
    const QStringView local = QStringView(address).left(at);
    const QStringView domain = QStringView(address).mid(at + 1);
    if (domain.size() < 3)
        return false;
    // A dot somewhere before the domain's last character.
    const qsizetype dot = domain.indexOf(QLatin1Char('.'));
    if (dot < 0 || dot >= domain.size() - 1)
        return false;
    return allAddressChars(local) && allAddressChars(domain);
}

QString ClientLabel(const QString& emitentNumber, const QString& filialNumber, const QString& petrolId,
                    const QString& clientName)
{
    return QLatin1Char('[') + emitentNumber + QLatin1String(", ") + filialNumber + QLatin1Char(',') +
           petrolId + QLatin1String("] ") + clientName;
}

QString SendLogFileName(qint64 emitentNumber, qint64 filialNumber, const QDateTime& now)
{
    return padded(emitentNumber, 4) + padded(filialNumber, 2) + QLatin1String("_sendlog_") +
           now.toString(QStringLiteral("yyyyMMddhhmmss")) + QLatin1String(".log");
}

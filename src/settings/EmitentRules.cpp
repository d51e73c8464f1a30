#include "EmitentRules.h"

#include "PortalCodec.h"

#include <QRegularExpression>
#include <cmath>

namespace emitentrules {

int SwapFlag(int current)
{
    return current >= 1 ? current - 1 : 1 - current;
}

bool ExchangeParams::operator==(const ExchangeParams& o) const
{
    const auto samePort = [](const QVariant& a, const QVariant& b) {
        return a.isNull() == b.isNull() && (a.isNull() || a.toLongLong() == b.toLongLong());
    };
    return typeChange == o.typeChange && sharingFolder == o.sharingFolder && email == o.email &&
           useHttp == o.useHttp && httpServer == o.httpServer && samePort(httpPort, o.httpPort) &&
           useHttpProxy == o.useHttpProxy && httpProxyServer == o.httpProxyServer &&
           samePort(httpProxyPort, o.httpProxyPort) && useHttpProxyAuth == o.useHttpProxyAuth &&
           httpProxyUser == o.httpProxyUser && httpProxyPswd == o.httpProxyPswd;
}

QStringList SplitAddresses(const QString& field)
{
    QStringList addresses;
    for (const QString& piece : field.split(QRegularExpression(QStringLiteral("[;,]")))) {
        const QString address = piece.trimmed();
        if (!address.isEmpty())
            addresses << address;
    }
    return addresses;
}

bool IsEmailAddress(const QString& address)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[^@\\s;,<>()\\[\\]\\\\\"]+@[^@\\s;,<>()\\[\\]\\\\\"]+\\.[^@\\s;,<>()\\[\\]\\\\\".]+$"));
    return pattern.match(address).hasMatch();
}

ExchangeProblem CheckExchangeParams(const ExchangeParams& params, QString* bad)
{
    if (params.sharingFolder.size() > kMaxFolderLength)
        return ExchangeProblem::FolderTooLong;
    if (params.typeChange != 1)
        return ExchangeProblem::None; // the address is carried as it is
    if (params.email.trimmed().isEmpty())
        return ExchangeProblem::NeedEmailAddress;
    if (params.email.size() > kMaxEmailLength)
        return ExchangeProblem::EmailTooLong;
    for (const QString& address : SplitAddresses(params.email))
        if (!IsEmailAddress(address)) {
            if (bad)
                *bad = address;
            return ExchangeProblem::BadEmailAddress;
        }
    return ExchangeProblem::None;
}

bool PrefixHasInvalidChar(const QString& prefix)
{
    for (const QChar c : prefix)
        if (QStringLiteral("\"*/:<>?\\|").contains(c))
            return true;
    return false;
}

std::optional<double> ParseVat(const QString& typed)
{
    QString text = typed.trimmed();
    if (text.isEmpty())
        return 0.0;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    static const QRegularExpression number(QStringLiteral("^\\d{1,3}(\\.\\d{0,2})?$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    const double value = text.toDouble();
    if (value < 0 || value > 100)
        return std::nullopt;
    return value;
}

QString VatText(const QVariant& stored)
{
    if (stored.isNull() || !stored.isValid())
        return {};
    bool ok = false;
    const double value = stored.toDouble(&ok);
    if (!ok)
        return stored.toString();
    return QString::number(value, 'f', 2).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

BillingProblem CheckBilling(const BillingValues& values)
{
    if (PrefixHasInvalidChar(values.prefix))
        return BillingProblem::PrefixInvalidChar;
    if (values.prefix.size() > kMaxPrefixLength)
        return BillingProblem::PrefixTooLong;
    if (values.serviceName.size() > kMaxServiceNameLength)
        return BillingProblem::ServiceNameTooLong;
    if (!ParseVat(values.vat))
        return BillingProblem::BadVat;
    return BillingProblem::None;
}

bool BillingChanged(const BillingValues& values, bool storedUse, const QString& storedPrefix,
                    const QString& storedEscapedName, const QVariant& storedVat)
{
    if (values.useBilling != storedUse || values.prefix != storedPrefix ||
        EncodeUnicodeEscapes(values.serviceName) != storedEscapedName)
        return true;
    const std::optional<double> vat = ParseVat(values.vat);
    if (storedVat.isNull())
        return !values.vat.trimmed().isEmpty();
    return !vat || std::abs(*vat - storedVat.toDouble()) > 0.0001;
}

} // namespace emitentrules

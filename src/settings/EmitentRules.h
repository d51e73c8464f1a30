#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// Rules of the emitent settings windows, free of widgets and database so tables of cases check them.
namespace emitentrules {

// A 0/1 flag swapped: a value of 1 or more goes down by one, anything else becomes 1 - value.
int SwapFlag(int current);

// Widths of the emitent columns the dialogs write (characters as typed).
constexpr int kMaxFolderLength = 255;
constexpr int kMaxEmailLength = 255;
constexpr int kMaxPrefixLength = 3;
constexpr int kMaxServiceNameLength = 100;
constexpr int kMaxVatLength = 6; // "100.00"

// The exchange parameters of one emitent, as the list carries them and the procedure takes them.
struct ExchangeParams
{
    int typeChange = 0; // 0 exchange folder, 1 e-mail
    QString sharingFolder;
    QString email;
    int useHttp = 0;
    QString httpServer;
    QVariant httpPort;
    int useHttpProxy = 0;
    QString httpProxyServer;
    QVariant httpProxyPort;
    int useHttpProxyAuth = 0;
    QString httpProxyUser;
    QString httpProxyPswd;

    bool operator==(const ExchangeParams& other) const;
};

enum class ExchangeProblem
{
    None,
    NeedEmailAddress, // e-mail exchange without an address
    BadEmailAddress,  // a piece of the address list is no address
    EmailTooLong,
    FolderTooLong,
};
// What stops the dialog's values from being applied; `bad` receives the offending address.
ExchangeProblem CheckExchangeParams(const ExchangeParams& params, QString* bad = nullptr);
// The addresses of an e-mail field, split at ";" and ",", trimmed, empty pieces dropped.
QStringList SplitAddresses(const QString& field);
bool IsEmailAddress(const QString& address);

// The invoicing values of the billing dialog; the service name as typed (decoded).
struct BillingValues
{
    bool useBilling = false;
    QString prefix;
    QString serviceName;
    QString vat; // as typed
};

enum class BillingProblem
{
    None,
    PrefixInvalidChar,
    PrefixTooLong,
    ServiceNameTooLong,
    BadVat,
};
BillingProblem CheckBilling(const BillingValues& values);
bool PrefixHasInvalidChar(const QString& prefix);
// VAT typed with a comma or a full stop: a number from 0 to 100, at most two decimals. An empty
// text is 0. Nothing for anything else.
std::optional<double> ParseVat(const QString& text);
// The stored VAT as the dialog shows it: no trailing zeros, a full stop; empty for none.
QString VatText(const QVariant& stored);
// Whether the dialog's values differ from the stored ones (the service name compared in its
// stored, escaped form; VAT compared as numbers).
bool BillingChanged(const BillingValues& values, bool storedUse, const QString& storedPrefix,
                    const QString& storedEscapedName, const QVariant& storedVat);

} // namespace emitentrules

#pragma once

#include "EmitentRules.h"
#include "TTevBaseForm.h"

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class VatEdit;

// Invoicing of one emitent: allowed or not, invoice prefix, service name, VAT. "Применить" checks
// the values and hands them to the writer; when the writer fails the dialog says so and stays open
// with the values.
class TfrmEditBillingSettings : public TTevBaseForm
{
    Q_OBJECT

public:
    using Writer = std::function<void(const emitentrules::BillingValues&)>;

    explicit TfrmEditBillingSettings(QWidget* owner = nullptr);
    ~TfrmEditBillingSettings() override;

    void setEmitentName(const QString& decodedName);
    void setValues(const emitentrules::BillingValues& values);
    emitentrules::BillingValues values() const;
    void setWriter(Writer writer) { mWriter = std::move(writer); }

    QCheckBox* cbUseBilling() const { return mUse; }
    QLineEdit* edPrefix() const { return mPrefix; }
    QLineEdit* edServiceName() const { return mServiceName; }
    QLineEdit* edVat() const;
    QPushButton* btnApply() const { return mApply; }

    void btnApplyClick();

protected:
    void SetupCaptions() override;

private:
    void useChanged();
    void refuse(const QString& text, QWidget* field, bool error);

    QLabel* mHeader;
    QCheckBox* mUse;
    QLabel* mPrefixLabel;
    QLineEdit* mPrefix;
    QLabel* mServiceNameLabel;
    QLineEdit* mServiceName;
    QLabel* mVatLabel;
    VatEdit* mVat;
    QPushButton* mApply;
    QPushButton* mCancel;
    QString mEmitentName;
    Writer mWriter;
};

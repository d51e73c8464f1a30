#include "TfrmEditBillingSettings.h"

#include "Catalogue.h"
#include "EmitentTexts.h"
#include "ErrorText.h"
#include "MessageDialogs.h"
#include "VatEdit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using emitentrules::BillingProblem;
using emitentrules::BillingValues;

TfrmEditBillingSettings::TfrmEditBillingSettings(QWidget* owner) : TTevBaseForm(owner)
{
    setObjectName(QStringLiteral("frmEditBillingSettings"));
    mHeader = new QLabel(this);
    QFont bold = mHeader->font();
    bold.setBold(true);
    mHeader->setFont(bold);
    mUse = new QCheckBox(this);
    mUse->setObjectName(QStringLiteral("cbUseBilling"));
    mPrefixLabel = new QLabel(this);
    mPrefix = new QLineEdit(this);
    mPrefix->setObjectName(QStringLiteral("edPrefix"));
    mServiceNameLabel = new QLabel(this);
    mServiceName = new QLineEdit(this);
    mServiceName->setObjectName(QStringLiteral("edServiceName"));
    mVatLabel = new QLabel(this);
    mVat = new VatEdit(this);
    mVat->setObjectName(QStringLiteral("edVAT"));
    mPrefixLabel->setBuddy(mPrefix);
    mServiceNameLabel->setBuddy(mServiceName);
    mVatLabel->setBuddy(mVat);

    auto* form = new QFormLayout;
    form->addRow(mPrefixLabel, mPrefix);
    form->addRow(mServiceNameLabel, mServiceName);
    form->addRow(mVatLabel, mVat);
    mPrefix->setMaximumWidth(80);
    mVat->setMaximumWidth(80);

    mApply = new QPushButton(this);
    mApply->setObjectName(QStringLiteral("btnApply"));
    mApply->setDefault(true);
    mCancel = new QPushButton(this);
    mCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mApply);
    buttons->addWidget(mCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mHeader);
    layout->addWidget(mUse);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(520, 220);

    connect(mUse, &QCheckBox::toggled, this, &TfrmEditBillingSettings::useChanged);
    connect(mApply, &QPushButton::clicked, this, &TfrmEditBillingSettings::btnApplyClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    useChanged();
    ensureCreated();
}

TfrmEditBillingSettings::~TfrmEditBillingSettings() = default;

QLineEdit* TfrmEditBillingSettings::edVat() const
{
    return mVat;
}

void TfrmEditBillingSettings::SetupCaptions()
{
    setWindowTitle(lang::tr(u"vrstrEditingBillingSettings"));
    mHeader->setText(lang::tr(u"rstrEmitent") + QStringLiteral(": ") + mEmitentName);
    mUse->setText(lang::tr(u"vrstrUseBilling").trimmed());
    mPrefixLabel->setText(lang::tr(u"vrstrPrefix") + QLatin1Char(':'));
    mServiceNameLabel->setText(lang::tr(u"vrstrBillingServiceName") + QLatin1Char(':'));
    mVatLabel->setText(lang::tr(u"vrstrVAT") + QLatin1Char(':'));
    mApply->setText(lang::tr(u"rstrApply"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

void TfrmEditBillingSettings::setEmitentName(const QString& decodedName)
{
    mEmitentName = decodedName;
    mHeader->setText(lang::tr(u"rstrEmitent") + QStringLiteral(": ") + mEmitentName);
}

void TfrmEditBillingSettings::setValues(const BillingValues& values)
{
    mUse->setChecked(values.useBilling);
    mPrefix->setText(values.prefix);
    mServiceName->setText(values.serviceName);
    mVat->setText(values.vat);
    useChanged();
}

BillingValues TfrmEditBillingSettings::values() const
{
    return {mUse->isChecked(), mPrefix->text(), mServiceName->text(), mVat->text()};
}

void TfrmEditBillingSettings::useChanged()
{
    const bool on = mUse->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(mPrefix), static_cast<QWidget*>(mServiceName),
                       static_cast<QWidget*>(mVat), static_cast<QWidget*>(mPrefixLabel),
                       static_cast<QWidget*>(mServiceNameLabel), static_cast<QWidget*>(mVatLabel)})
        w->setEnabled(on);
}

void TfrmEditBillingSettings::refuse(const QString& text, QWidget* field, bool error)
{
    lang::MessageDlgLang(text, error ? lang::MsgDlgType::Error : lang::MsgDlgType::Warning, lang::mbOK);
    if (field->isEnabled())
        field->setFocus();
}

void TfrmEditBillingSettings::btnApplyClick()
{
    const BillingValues v = values();
    switch (emitentrules::CheckBilling(v)) {
    case BillingProblem::None:
        break;
    case BillingProblem::PrefixInvalidChar:
        refuse(lang::tr(u"vrstrPrefixInvalidChar"), mPrefix, true);
        return;
    case BillingProblem::PrefixTooLong:
        refuse(emitenttext::tooLong(lang::tr(u"vrstrPrefix"), emitentrules::kMaxPrefixLength), mPrefix, false);
        return;
    case BillingProblem::ServiceNameTooLong:
        refuse(emitenttext::tooLong(lang::tr(u"vrstrBillingServiceName"), emitentrules::kMaxServiceNameLength),
               mServiceName, false);
        return;
    case BillingProblem::BadVat:
        refuse(emitenttext::badVat(), mVat, false);
        return;
    }
    if (mWriter) {
        try {
            mWriter(v);
        } catch (const std::exception& e) {
            lang::ShowMsgBox(this, emitenttext::writeFailed(ErrorText(e)), 1);
            return;
        }
    }
    accept();
}

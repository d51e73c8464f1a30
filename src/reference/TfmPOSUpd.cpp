#include "TfmPOSUpd.h"

#include "Catalogue.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfmPOSUpd::TfmPOSUpd(QWidget* owner)
    : TTevBaseForm(owner), mEmitent(new QLineEdit(this)), mFilial(new QLineEdit(this)),
      mPosNumber(new QLineEdit(this)), mName(new QLineEdit(this)), mAddress(new QLineEdit(this)),
      mVisible(new QCheckBox(this)), mUpdate(new QCheckBox(this)), mApply(new QPushButton(this)),
      mCancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("fmPOSUpd"));
    for (QLineEdit* e : {mEmitent, mFilial, mPosNumber})
        e->setReadOnly(true);
    mName->setMaxLength(kMaxTextLength);
    mAddress->setMaxLength(kMaxTextLength);
    mName->setObjectName(QStringLiteral("edtName"));
    mAddress->setObjectName(QStringLiteral("edtAddress"));
    mVisible->setObjectName(QStringLiteral("chkVisible"));
    mUpdate->setObjectName(QStringLiteral("chkUpdate"));

    auto* form = new QFormLayout;
    QWidget* fields[5] = {mEmitent, mFilial, mPosNumber, mName, mAddress};
    for (int i = 0; i < 5; ++i) {
        mLabels[i] = new QLabel(this);
        form->addRow(mLabels[i], fields[i]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(mVisible);
    layout->addWidget(mUpdate);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(mApply, QDialogButtonBox::AcceptRole);
    buttons->addButton(mCancel, QDialogButtonBox::RejectRole);
    mApply->setDefault(true);
    layout->addWidget(buttons);
    connect(mApply, &QPushButton::clicked, this, &QDialog::accept);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(520, 260);
}

TfmPOSUpd::~TfmPOSUpd() = default;

void TfmPOSUpd::setValues(const QString& emitent, const QString& filial, const QString& posNumber,
                          const QString& name, const QString& address, bool visible, bool update)
{
    mEmitent->setText(emitent);
    mFilial->setText(filial);
    mPosNumber->setText(posNumber);
    mName->setText(name);
    mAddress->setText(address);
    mVisible->setChecked(visible);
    mUpdate->setChecked(update);
}

QString TfmPOSUpd::posName() const
{
    return mName->text();
}

QString TfmPOSUpd::posAddress() const
{
    return mAddress->text();
}

bool TfmPOSUpd::isVisibleOnWeb() const
{
    return mVisible->isChecked();
}

bool TfmPOSUpd::updatesFromCentre() const
{
    return mUpdate->isChecked();
}

void TfmPOSUpd::SetupCaptions()
{
    setWindowTitle(lang::tr(u"rstrChangePOS"));
    const char16_t* keys[5] = {u"rstrEmitent", u"rstrBranch", u"rstrPOSNumber", u"rstrName", u"rstrAddress"};
    for (int i = 0; i < 5; ++i)
        mLabels[i]->setText(lang::tr(keys[i]));
    mVisible->setText(lang::tr(u"rstrVisibility"));
    mUpdate->setText(lang::tr(u"rstrUpdateNameAndAddressFromOC"));
    mApply->setText(lang::tr(u"rstrApply"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

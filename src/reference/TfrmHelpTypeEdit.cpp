#include "TfrmHelpTypeEdit.h"

#include "Catalogue.h"
#include "ReferenceRules.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmHelpTypeEdit::TfrmHelpTypeEdit(QWidget* owner)
    : TfmMainTEV(owner), mNameLabel(new QLabel(this)), mDescLabel(new QLabel(this)),
      mTypeLabel(new QLabel(this)), mName(new QLineEdit(this)), mDesc(new QPlainTextEdit(this)),
      mApply(new QPushButton(this)), mCancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmHelpTypeEdit"));
    mName->setObjectName(QStringLiteral("edtName"));
    mName->setMaxLength(kMaxNameLength);
    mDesc->setObjectName(QStringLiteral("memDesc"));
    auto* kinds = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) {
        mKinds[i] = new QCheckBox(this);
        mKinds[i]->setObjectName(QStringLiteral("chkKind%1").arg(i));
        kinds->addWidget(mKinds[i]);
        connect(mKinds[i], &QCheckBox::toggled, this, &TfrmHelpTypeEdit::updateApply);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mNameLabel);
    layout->addWidget(mName);
    layout->addWidget(mDescLabel);
    layout->addWidget(mDesc, 1);
    layout->addWidget(mTypeLabel);
    layout->addLayout(kinds);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(mApply, QDialogButtonBox::AcceptRole);
    buttons->addButton(mCancel, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(mApply, &QPushButton::clicked, this, &QDialog::accept);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(mName, &QLineEdit::textChanged, this, &TfrmHelpTypeEdit::updateApply);
    connect(mDesc, &QPlainTextEdit::textChanged, this, &TfrmHelpTypeEdit::updateApply);
    resize(560, 420);
    updateApply();
}

TfrmHelpTypeEdit::~TfrmHelpTypeEdit() = default;

void TfrmHelpTypeEdit::setItem(const QString& name, const QString& desc, const QString& type, bool builtIn)
{
    mName->setText(name);
    mDesc->setPlainText(desc);
    for (int i = 0; i < 3; ++i) {
        mKinds[i]->setChecked(reference::HelpTypeTicked(type, i));
        mKinds[i]->setEnabled(!builtIn);
    }
    mName->setReadOnly(builtIn);
    mName->setEnabled(!builtIn);
    updateApply();
}

QString TfrmHelpTypeEdit::itemName() const
{
    return mName->text();
}

QString TfrmHelpTypeEdit::itemDesc() const
{
    return mDesc->toPlainText();
}

QString TfrmHelpTypeEdit::itemType() const
{
    return reference::HelpTypeString(mKinds[0]->isChecked(), mKinds[1]->isChecked(), mKinds[2]->isChecked());
}

bool TfrmHelpTypeEdit::isValid() const
{
    const bool kind = mKinds[0]->isChecked() || mKinds[1]->isChecked() || mKinds[2]->isChecked();
    return !mName->text().trimmed().isEmpty() && kind && mDesc->toPlainText().size() <= kMaxDescLength;
}

void TfrmHelpTypeEdit::accept()
{
    if (!isValid())
        return;
    TfmMainTEV::accept();
}

void TfrmHelpTypeEdit::updateApply()
{
    mApply->setEnabled(isValid());
}

void TfrmHelpTypeEdit::SetupCaptions()
{
    TfmMainTEV::SetupCaptions();
    setWindowTitle(lang::tr(u"rstrEditType"));
    mNameLabel->setText(lang::tr(u"rstrName"));
    mDescLabel->setText(lang::tr(u"rstrDescription"));
    mTypeLabel->setText(lang::tr(u"rstrType"));
    const char16_t* kinds[3] = {u"rstrOC", u"rstrLNR", u"rstrBC"};
    for (int i = 0; i < 3; ++i)
        mKinds[i]->setText(lang::tr(kinds[i]));
    mApply->setText(lang::tr(u"rstrApply"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

#include "TfrmEditEmitChangeParams.h"

#include "Catalogue.h"
#include "EmitentTexts.h"
#include "ErrorText.h"
#include "FormEnvironment.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

using emitentrules::ExchangeParams;
using emitentrules::ExchangeProblem;

TfrmEditEmitChangeParams::TfrmEditEmitChangeParams(QWidget* owner) : TTevBaseForm(owner)
{
    setObjectName(QStringLiteral("frmEditEmitChangeParams"));
    mHeader = new QLabel(this);
    mHeader->setObjectName(QStringLiteral("lblEmitent"));
    QFont bold = mHeader->font();
    bold.setBold(true);
    mHeader->setFont(bold);

    mTypeBox = new QGroupBox(this);
    mFolderType = new QRadioButton(mTypeBox);
    mFolderType->setObjectName(QStringLiteral("rbFolder"));
    mEmailType = new QRadioButton(mTypeBox);
    mEmailType->setObjectName(QStringLiteral("rbEmail"));
    auto* typeLayout = new QHBoxLayout(mTypeBox);
    typeLayout->addWidget(mFolderType);
    typeLayout->addWidget(mEmailType);
    typeLayout->addStretch();

    mFolderLabel = new QLabel(this);
    mFolder = new QLineEdit(this);
    mFolder->setObjectName(QStringLiteral("edFolder"));
    mFolder->setReadOnly(true); // chosen with the folder browser only
    mFolderSelect = new QToolButton(this);
    mFolderSelect->setObjectName(QStringLiteral("bbtnFoldExp"));
    mFolderSelect->setText(QStringLiteral("..."));
    mFolderSelect->setIcon(framework::themeIcon(QStringLiteral("folder-open")));
    mFolderClear = new QToolButton(this);
    mFolderClear->setObjectName(QStringLiteral("bbtnExpClear"));
    mFolderClear->setText(QStringLiteral("X"));
    mFolderClear->setIcon(framework::themeIcon(QStringLiteral("edit-clear")));
    mEmailLabel = new QLabel(this);
    mEmail = new QLineEdit(this);
    mEmail->setObjectName(QStringLiteral("edEmail"));
    mEmailLabel->setBuddy(mEmail);

    auto* fields = new QGridLayout;
    fields->addWidget(mFolderLabel, 0, 0);
    fields->addWidget(mFolder, 0, 1);
    fields->addWidget(mFolderSelect, 0, 2);
    fields->addWidget(mFolderClear, 0, 3);
    fields->addWidget(mEmailLabel, 1, 0);
    fields->addWidget(mEmail, 1, 1, 1, 3);
    fields->setColumnStretch(1, 1);

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
    layout->addWidget(mTypeBox);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(560, 230);

    connect(mFolderType, &QRadioButton::toggled, this, &TfrmEditEmitChangeParams::typeChanged);
    connect(mEmailType, &QRadioButton::toggled, this, &TfrmEditEmitChangeParams::typeChanged);
    connect(mFolderSelect, &QToolButton::clicked, this, &TfrmEditEmitChangeParams::btnFolderSelectClick);
    connect(mFolderClear, &QToolButton::clicked, mFolder, &QLineEdit::clear);
    connect(mApply, &QPushButton::clicked, this, &TfrmEditEmitChangeParams::btnApplyClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    mFolderType->setChecked(true);
    ensureCreated();
}

TfrmEditEmitChangeParams::~TfrmEditEmitChangeParams() = default;

void TfrmEditEmitChangeParams::SetupCaptions()
{
    setWindowTitle(lang::tr(u"rstrChangingSettingsChange"));
    mHeader->setText(lang::tr(u"rstrEmitent") + QStringLiteral(": ") + mEmitentName);
    mTypeBox->setTitle(lang::tr(u"rstrTypeOfChange"));
    mFolderType->setText(lang::tr(u"rstrExchangeFolder"));
    mEmailType->setText(lang::tr(u"rstrByEMail"));
    mFolderLabel->setText(lang::tr(u"rstrExchangeFolder") + QLatin1Char(':'));
    mEmailLabel->setText(lang::tr(u"rstrEmailAddr") + QLatin1Char(':'));
    mFolderSelect->setToolTip(lang::tr(u"rstrbbtnfoldexp"));
    mFolderClear->setToolTip(lang::tr(u"rstrbbtnexpclear"));
    mApply->setText(lang::tr(u"rstrApply"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

void TfrmEditEmitChangeParams::setEmitentName(const QString& decodedName)
{
    mEmitentName = decodedName;
    mHeader->setText(lang::tr(u"rstrEmitent") + QStringLiteral(": ") + mEmitentName);
}

void TfrmEditEmitChangeParams::setParams(const ExchangeParams& params)
{
    mCarried = params;
    mFolder->setText(params.sharingFolder);
    mEmail->setText(params.email);
    (params.typeChange == 1 ? mEmailType : mFolderType)->setChecked(true);
    typeChanged();
}

ExchangeParams TfrmEditEmitChangeParams::params() const
{
    ExchangeParams p = mCarried;
    p.typeChange = mEmailType->isChecked() ? 1 : 0;
    p.sharingFolder = mFolder->text();
    // Blanks around the address are no part of it; a field left as stored stays as stored.
    p.email = mEmail->text() == mCarried.email ? mCarried.email : mEmail->text().trimmed();
    return p;
}

void TfrmEditEmitChangeParams::typeChanged()
{
    const bool folder = mFolderType->isChecked();
    mFolderSelect->setEnabled(folder);
    mFolderClear->setEnabled(folder);
    mEmail->setReadOnly(folder);
    mEmail->setEnabled(!folder);
}

void TfrmEditEmitChangeParams::btnFolderSelectClick()
{
    const QString folder =
        framework::modalRunner().existingDirectory(this, lang::tr(u"rstrDirSelect"), mFolder->text());
    if (!folder.isEmpty())
        mFolder->setText(folder);
}

void TfrmEditEmitChangeParams::btnApplyClick()
{
    const ExchangeParams p = params();
    QString bad;
    switch (emitentrules::CheckExchangeParams(p, &bad)) {
    case ExchangeProblem::None:
        break;
    case ExchangeProblem::NeedEmailAddress:
        lang::MessageDlgLang(lang::tr(u"rstrNeedEMailAddress"), lang::MsgDlgType::Warning, lang::mbOK);
        mEmail->setFocus();
        return;
    case ExchangeProblem::BadEmailAddress:
        lang::MessageDlgLang(emitenttext::badAddress(bad), lang::MsgDlgType::Warning, lang::mbOK);
        mEmail->setFocus();
        return;
    case ExchangeProblem::EmailTooLong:
        lang::MessageDlgLang(emitenttext::tooLong(lang::tr(u"rstrEmailAddr"), emitentrules::kMaxEmailLength),
                             lang::MsgDlgType::Warning, lang::mbOK);
        mEmail->setFocus();
        return;
    case ExchangeProblem::FolderTooLong:
        lang::MessageDlgLang(
            emitenttext::tooLong(lang::tr(u"rstrExchangeFolder"), emitentrules::kMaxFolderLength),
            lang::MsgDlgType::Warning, lang::mbOK);
        mFolderSelect->setFocus();
        return;
    }
    if (mWriter) {
        try {
            mWriter(p);
        } catch (const std::exception& e) {
            lang::ShowMsgBox(this, emitenttext::writeFailed(ErrorText(e)), 1);
            return;
        }
    }
    accept();
}

#include "TfmEditClientGroup.h"

#include "Catalogue.h"
#include "ClientStates.h"
#include "DbHelpers.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace ClientPermissions;

TfmEditClientGroup::TfmEditClientGroup(QWidget* owner) : TTevBaseForm(owner)
{
    setObjectName(QStringLiteral("TfmEditClientGroup"));
    auto* layout = new QVBoxLayout(this);
    for (int p = 0; p < Count; ++p) {
        mBoxes[p] = new QCheckBox(this);
        mBoxes[p]->setObjectName(QString::fromLatin1(row(Permission(p)).checkBox));
        mBoxes[p]->setTristate(true);
        mBoxes[p]->setCheckState(Qt::PartiallyChecked);
        layout->addWidget(mBoxes[p]);
    }
    mChkState = new QCheckBox(this);
    mState = new QComboBox(this);
    mChkDescription = new QCheckBox(this);
    mDescription = new QPlainTextEdit(this);
    mDescription->setFixedHeight(70);
    auto* grid = new QGridLayout;
    grid->addWidget(mChkState, 0, 0);
    grid->addWidget(mState, 0, 1);
    grid->addWidget(mChkDescription, 1, 0, Qt::AlignTop);
    grid->addWidget(mDescription, 1, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    mOk = new QPushButton(this);
    mCancel = new QPushButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mOk);
    buttons->addWidget(mCancel);
    layout->addLayout(buttons);
    mOk->setDefault(true);
    // Disabled fields keep the window colour.
    for (QWidget* w : {static_cast<QWidget*>(mState), static_cast<QWidget*>(mDescription)}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Disabled, QPalette::Base, p.color(QPalette::Active, QPalette::Base));
        w->setPalette(p);
    }
    connect(mChkState, &QCheckBox::toggled, this, &TfmEditClientGroup::updateEnabled);
    connect(mChkDescription, &QCheckBox::toggled, this, &TfmEditClientGroup::updateEnabled);
    connect(mOk, &QPushButton::clicked, this, &TfmEditClientGroup::btnOkClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    ensureCreated();
    mState->setCurrentIndex(0);
    updateEnabled();
    resize(460, sizeHint().height());
}

TfmEditClientGroup::~TfmEditClientGroup() = default;

void TfmEditClientGroup::SetupCaptions()
{
    setWindowTitle(lang::tr(u"vrstrEditClientGroup"));
    for (int p = 0; p < Count; ++p)
        mBoxes[p]->setText(caption(Permission(p)));
    mChkState->setText(lang::tr(u"rstrState"));
    mChkDescription->setText(lang::tr(u"rstrDescription"));
    const int state = mState->currentIndex();
    mState->clear();
    mState->addItems(ClientStateTexts());
    mState->setCurrentIndex(qMax(0, state));
    mOk->setText(lang::tr(u"rstrOk"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

void TfmEditClientGroup::updateEnabled()
{
    mState->setEnabled(mChkState->isChecked());
    mDescription->setEnabled(mChkDescription->isChecked());
}

GroupChoice TfmEditClientGroup::choice() const
{
    GroupChoice c;
    for (int p = 0; p < Count; ++p) {
        const Qt::CheckState s = mBoxes[p]->checkState();
        c.boxes[p] = s == Qt::PartiallyChecked ? Box::Grey : s == Qt::Checked ? Box::Ticked : Box::Unticked;
    }
    c.stateOn = mChkState->isChecked();
    c.statePosition = mState->currentIndex();
    c.descriptionOn = mChkDescription->isChecked();
    c.description = mDescription->toPlainText();
    return c;
}

void TfmEditClientGroup::btnOkClick()
{
    const GroupChoice c = choice();
    if (!hasAnyChoice(c)) {
        lang::MessageDlgLang(lang::tr(u"vrstrNotSelectedProperty"), lang::MsgDlgType::Warning, lang::mbOK);
        return;
    }
    if (c.descriptionOn && storedLength(descriptionParam(c.description)) > kDescriptionLength) {
        lang::ShowMsgBox(
            this,
            LocaleText(
                QString::fromUtf8("Описание длиннее %1 символов.").arg(kDescriptionLength),
                QStringLiteral("The description is longer than %1 characters.").arg(kDescriptionLength)),
            0);
        return;
    }
    accept();
}

std::optional<GroupChoice> TfmEditClientGroup::Execute(QWidget* owner)
{
    TfmEditClientGroup dialog(owner);
    if (framework::execModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

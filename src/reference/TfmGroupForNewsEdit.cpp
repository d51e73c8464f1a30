#include "TfmGroupForNewsEdit.h"

#include "Catalogue.h"
#include "MessageDialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfmGroupForNewsEdit::TfmGroupForNewsEdit(bool adding, QWidget* owner)
    : TTevBaseForm(owner), mAdding(adding), mLabel(new QLabel(this)), mName(new QLineEdit(this)),
      mOk(new QPushButton(this)), mCancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("fmGroupForNewsEdit"));
    mName->setObjectName(QStringLiteral("edtName"));
    mName->setMaxLength(kMaxNameLength);
    mLabel->setBuddy(mName);
    auto* row = new QHBoxLayout;
    row->addWidget(mLabel);
    row->addWidget(mName, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(mOk, QDialogButtonBox::AcceptRole);
    buttons->addButton(mCancel, QDialogButtonBox::RejectRole);
    mOk->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addStretch(1);
    layout->addWidget(buttons);
    connect(mOk, &QPushButton::clicked, this, &TfmGroupForNewsEdit::OkClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(460, 110);
    ensureCreated();
}

TfmGroupForNewsEdit::~TfmGroupForNewsEdit() = default;

void TfmGroupForNewsEdit::setGroupName(const QString& name)
{
    mName->setText(name);
}

QString TfmGroupForNewsEdit::groupName() const
{
    return mName->text().trimmed();
}

void TfmGroupForNewsEdit::OkClick()
{
    if (groupName().isEmpty()) {
        lang::MessageDlgLang(lang::tr(u"vrstrGroupNameIsEmpty"), lang::MsgDlgType::Error, lang::mbOK);
        mName->setFocus();
        return;
    }
    accept();
}

void TfmGroupForNewsEdit::SetupCaptions()
{
    setWindowTitle(lang::tr(mAdding ? u"vrstrAddGroupCaption" : u"vrstrUpdGroupCaption"));
    mLabel->setText(lang::tr(u"rstrName") + QLatin1Char(':'));
    mOk->setText(QStringLiteral("OK"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

#include "TDesignForm.h"

#include "FormEnvironment.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TDesignForm::TDesignForm(QWidget* owner) : TComBaseForm(owner)
{
    mBottomPanel = new QWidget(this);
    mBottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    auto* row = new QHBoxLayout(mBottomPanel);
    row->setContentsMargins(8, 6, 8, 8);
    row->addStretch();
    mOkBtn = new QPushButton(mBottomPanel);
    mOkBtn->setObjectName(QStringLiteral("OkBtn"));
    mOkBtn->setDefault(true);
    mCancelBtn = new QPushButton(mBottomPanel);
    mCancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    row->addWidget(mOkBtn);
    row->addWidget(mCancelBtn);
    row->addStretch();
    windowLayout()->addWidget(mBottomPanel);
    windowLayout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(mOkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(mCancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    // Usable before creation completes.
    mOkBtn->setText(QStringLiteral("Применить"));
    mCancelBtn->setText(QStringLiteral("Отменить"));
}

TDesignForm::~TDesignForm() = default;

void TDesignForm::SetupImages()
{
    mOkBtn->setIcon(framework::themeIcon(QStringLiteral("dialog-ok-apply")));
    mCancelBtn->setIcon(framework::themeIcon(QStringLiteral("dialog-cancel")));
}

void TDesignForm::SetupCaptions()
{
    TComBaseForm::SetupCaptions();
    mOkBtn->setText(QStringLiteral("Применить"));
    mCancelBtn->setText(QStringLiteral("Отменить"));
}

void TDesignForm::showEvent(QShowEvent* event)
{
    TComBaseForm::showEvent(event);
    if (mCentred)
        return;
    mCentred = true;
    if (const QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

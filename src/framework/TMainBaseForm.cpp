#include "TMainBaseForm.h"

#include "FormEnvironment.h"
#include "Package.h"
#include "Session.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TMainBaseForm::TMainBaseForm(QWidget* owner, const QString& shema, db::Session* session)
    : TBaseForm(owner, shema, session)
{
    mParamPack = new db::Package(this);
    mParamPack->setObjectName(QStringLiteral("PARAM_PACK"));
    mParamPack->setPackageName(QStringLiteral("xxx.PARAM_PACK"));

    mBottomPanel = new QWidget(this);
    mBottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    auto* row = new QHBoxLayout(mBottomPanel);
    row->setContentsMargins(6, 6, 6, 6);
    row->addStretch();
    mOkBtn = new QPushButton(mBottomPanel);
    mOkBtn->setObjectName(QStringLiteral("OkBtn"));
    mOkBtn->setText(QStringLiteral("Закрыть"));
    row->addWidget(mOkBtn);
    windowLayout()->addWidget(mBottomPanel);
    connect(mOkBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TMainBaseForm::~TMainBaseForm() = default;

void TMainBaseForm::SetupImages()
{
    TBaseForm::SetupImages();
    mOkBtn->setIcon(framework::themeIcon(QStringLiteral("application-exit")));
}

void TMainBaseForm::SetupCaptions()
{
    TBaseForm::SetupCaptions();
    mOkBtn->setText(QStringLiteral("Выход"));
}

void TMainBaseForm::done(int result)
{
    if (isReady())
        if (db::Session* session = GetSession(); session && session->connected())
            session->commit();
    TBaseForm::done(result);
}

#include "TfrmSvcProgress.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kStep = 100;
}

TfrmSvcProgress::TfrmSvcProgress(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), mLabel(new QLabel(this)),
      mBar(new QProgressBar(this)), mTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("frmSvcProgress"));
    setWindowTitle(QStringLiteral("Service Control"));
    setWindowModality(Qt::ApplicationModal);
    mLabel->setAlignment(Qt::AlignCenter);
    mBar->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mLabel);
    layout->addWidget(mBar);
    setFixedWidth(320);
    mTimer->setInterval(kStep);
    connect(mTimer, &QTimer::timeout, this, &TfrmSvcProgress::tick);
}

void TfrmSvcProgress::Start(const QString& stateText, const QString& displayName, int waitHint)
{
    mLabel->setText(stateText + QStringLiteral("\n\n") + displayName);
    mBar->setRange(0, std::max(waitHint, kStep));
    mBar->setValue(0);
    mTimer->start();
    show();
}

void TfrmSvcProgress::Finish()
{
    mTimer->stop();
    hide();
}

void TfrmSvcProgress::tick()
{
    mBar->setValue(std::min(mBar->value() + kStep, mBar->maximum()));
    if (mBar->value() >= mBar->maximum())
        Finish();
}

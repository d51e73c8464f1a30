#include "TfrmLimitEdit.h"

#include "Catalogue.h"
#include "ModalRunner.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmLimitEdit::TfrmLimitEdit(int decimals, const QString& serviceName, const LimitValues& values,
                             bool currency, QWidget* owner)
    : TTevBaseForm(owner), mServiceName(serviceName)
{
    setObjectName(QStringLiteral("TfrmLimitEdit"));
    lblService = new QLabel(this);
    lblDay = new QLabel(this);
    lblWeek = new QLabel(this);
    lblMonth = new QLabel(this);
    mDay = new QDoubleSpinBox(this);
    mWeek = new QDoubleSpinBox(this);
    mMonth = new QDoubleSpinBox(this);
    mOk = new QPushButton(this);
    mCancel = new QPushButton(this);
    const double cap = currency ? kCurrencyCap : kAmountCap;
    const double given[] = {values.day, values.week, values.month};
    int i = 0;
    for (QDoubleSpinBox* box : {mDay, mWeek, mMonth}) {
        box->setDecimals(qMax(0, decimals));
        box->setRange(0, cap);
        box->setGroupSeparatorShown(false);
        box->setValue(given[i++]);
        box->setMinimumWidth(160);
    }
    auto* grid = new QGridLayout;
    grid->addWidget(lblService, 0, 0, 1, 2);
    grid->addWidget(lblDay, 1, 0);
    grid->addWidget(mDay, 1, 1);
    grid->addWidget(lblWeek, 2, 0);
    grid->addWidget(mWeek, 2, 1);
    grid->addWidget(lblMonth, 3, 0);
    grid->addWidget(mMonth, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mOk);
    buttons->addWidget(mCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    mOk->setDefault(true);
    connect(mOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    ensureCreated();
}

TfrmLimitEdit::~TfrmLimitEdit() = default;

void TfrmLimitEdit::SetupCaptions()
{
    setWindowTitle(lang::tr(u"vrstrMaxLimits"));
    lblService->setText(mServiceName + QLatin1Char(':'));
    lblDay->setText(lang::tr(u"vrstrDayLimit") + QLatin1Char(':'));
    lblWeek->setText(lang::tr(u"vrstrWeekLimit") + QLatin1Char(':'));
    lblMonth->setText(lang::tr(u"vrstrMonthLimit") + QLatin1Char(':'));
    mOk->setText(lang::tr(u"rstrOk"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

void TfrmLimitEdit::FormShow()
{
    mDay->setFocus();
    mDay->selectAll();
}

LimitValues TfrmLimitEdit::values() const
{
    return {mDay->value(), mWeek->value(), mMonth->value()};
}

std::optional<LimitValues> EditLimitValues(QWidget* owner, int decimals, const QString& serviceName,
                                           const LimitValues& current, bool currency)
{
    TfrmLimitEdit dialog(decimals, serviceName, current, currency, owner);
    if (framework::execModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.values();
}

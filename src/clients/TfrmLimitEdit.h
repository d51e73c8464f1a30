#pragma once

#include "TTevBaseForm.h"

#include <optional>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

// Day, week and month maximum limits of one service.
struct LimitValues
{
    double day = 0;
    double week = 0;
    double month = 0;
};

// The three maximum limits of one service: never negative, at most 2 000 000 for a currency
// service and 20 000 000 otherwise, shown with the service's decimals.
class TfrmLimitEdit : public TTevBaseForm
{
    Q_OBJECT

public:
    static constexpr double kCurrencyCap = 2000000;
    static constexpr double kAmountCap = 20000000;

    TfrmLimitEdit(int decimals, const QString& serviceName, const LimitValues& values, bool currency,
                  QWidget* owner = nullptr);
    ~TfrmLimitEdit() override;

    QDoubleSpinBox* edtDay() const { return mDay; }
    QDoubleSpinBox* edtWeek() const { return mWeek; }
    QDoubleSpinBox* edtMonth() const { return mMonth; }
    QPushButton* btnOk() const { return mOk; }
    LimitValues values() const;

protected:
    void SetupCaptions() override;
    void FormShow() override;

private:
    QString mServiceName;
    QLabel* lblService;
    QLabel* lblDay;
    QLabel* lblWeek;
    QLabel* lblMonth;
    QDoubleSpinBox* mDay;
    QDoubleSpinBox* mWeek;
    QDoubleSpinBox* mMonth;
    QPushButton* mOk;
    QPushButton* mCancel;
};

// Through the modal seam: the values entered, nothing when cancelled.
std::optional<LimitValues> EditLimitValues(QWidget* owner, int decimals, const QString& serviceName,
                                           const LimitValues& current, bool currency);

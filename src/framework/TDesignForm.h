#pragma once

#include "TComBaseForm.h"

class QPushButton;

// Fixed-size dialog centred on the screen, with `OkBtn` ("Применить", accepts) and `CancelBtn`
// ("Отменить", rejects) under its controls. Not a data window: no session, schema or grids.
//
// A derived dialog puts its controls into ClientPanel().
class TDesignForm : public TComBaseForm
{
    Q_OBJECT

public:
    explicit TDesignForm(QWidget* owner = nullptr);
    ~TDesignForm() override;

    QWidget* BottomPanel() const { return mBottomPanel; }
    QPushButton* OkBtn() const { return mOkBtn; }
    QPushButton* CancelBtn() const { return mCancelBtn; }

protected:
    void SetupImages() override;
    void SetupCaptions() override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* mBottomPanel = nullptr;
    QPushButton* mOkBtn = nullptr;
    QPushButton* mCancelBtn = nullptr;
    bool mCentred = false;
};

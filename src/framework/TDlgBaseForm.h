#pragma once

#include "TBaseForm.h"

#include <optional>
#include <utility>

class QPushButton;

namespace db {
class Package;
}

// Edit dialog on a data window: `OkBtn` ("Применить", accepts) and `CancelBtn` ("Отменить",
// rejects) under the window's controls, centred as a pair `ButtonsGap` pixels apart. The record
// actions are hidden and left out of the context menu; find, sort, report and filter stay.
// `PARAM_PACK` as in TMainBaseForm.
//
// A derived window puts its controls into ClientPanel().
class TDlgBaseForm : public TBaseForm
{
    Q_OBJECT

public:
    // displayMode and layout are 0 for every dialog of the console.
    TDlgBaseForm(QWidget* owner, const QString& shema, db::Session* session, int displayMode = 0,
                 int layout = 0);
    ~TDlgBaseForm() override;

    QWidget* BottomPanel() const { return mBottomPanel; }
    QPushButton* OkBtn() const { return mOkBtn; }
    QPushButton* CancelBtn() const { return mCancelBtn; }
    db::Package* PARAM_PACK() const { return mParamPack; }

    // Left edges of OK and Cancel that centre them as a pair: OK ends half the gap left of the
    // middle, Cancel starts half the gap right of it (rounded to whole pixels); nothing when they
    // would not fit inside the width.
    static std::optional<std::pair<int, int>> centredButtons(int clientWidth, int okWidth, int cancelWidth,
                                                             int gap);
    // Places the two buttons by centredButtons.
    void centreButtons();

protected:
    // Gap in pixels between OK and Cancel.
    virtual int ButtonsGap() const { return 40; }

    void SetupImages() override;
    void SetupCaptions() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* mBottomPanel = nullptr;
    QPushButton* mOkBtn = nullptr;
    QPushButton* mCancelBtn = nullptr;
    db::Package* mParamPack = nullptr;
};

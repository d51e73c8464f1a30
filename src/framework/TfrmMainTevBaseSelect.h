#pragma once

#include "TfmMainTEV.h"

#include <functional>
#include <memory>
#include <optional>

class DBGrid;
class QPushButton;
class QToolBar;
class RecordNavigator;

namespace Ui {
class TfrmMainTevBaseSelect;
}

// Check-list window: one grid over a list whose integer column `ISVISIBLE` marks the chosen rows,
// a navigator, the actions select all, clear all and invert, and the buttons "Выполнить" (OK)
// and "Выход" (cancel), which derived windows rename. A click on the `ISVISIBLE` cell of a
// non-empty list, or Space in the grid, flips the current row between 1 and 0. The marks stay in
// the list (it takes local edits) until the derived window applies them.
class TfrmMainTevBaseSelect : public TfmMainTEV
{
    Q_OBJECT

public:
    static constexpr char kCheckField[] = "ISVISIBLE";
    // Names of the window's own actions.
    struct Cmd : TfmMainTEV::Cmd
    {
        static constexpr char acCheckAll[] = "acCheckAll";
        static constexpr char acUnCheckAll[] = "acUnCheckAll";
        static constexpr char acInvertCheck[] = "acInvertCheck";
    };

    explicit TfrmMainTevBaseSelect(QWidget* owner = nullptr);
    ~TfrmMainTevBaseSelect() override;

    // The list; it is made to take local edits.
    void SetListDataset(db::Dataset* dataset);
    db::Dataset* ListDataset() const;

    DBGrid* grdList() const;
    RecordNavigator* navList() const;
    QToolBar* ToolBar() const { return mToolBar; }
    QPushButton* btnOk() const;
    QPushButton* btnCancel() const;

    QAction* acCheckAll() const { return &mCheckActions.action(Cmd::acCheckAll); }
    QAction* acUnCheckAll() const { return &mCheckActions.action(Cmd::acUnCheckAll); }
    QAction* acInvertCheck() const { return &mCheckActions.action(Cmd::acInvertCheck); }

    // Flips the current row's mark.
    void ToggleCurrent();
    // 0 rows become 1 / 1 rows become 0 / every row flips. The list's own filter is set aside
    // meanwhile, the current row stays, and the grid is repainted once at the end.
    void acCheckAllExecute();
    void acUnCheckAllExecute();
    void acInvertCheckExecute();

protected:
    void SetupCaptions() override;

private:
    static const QList<framework::ActionRow<TfrmMainTevBaseSelect>>& ActionRows();
    // Writes the value `change` gives for a mark (nothing for std::nullopt) into every row.
    void changeAll(const std::function<std::optional<int>(const QVariant&)>& change);
    int checkColumn() const;

    std::unique_ptr<Ui::TfrmMainTevBaseSelect> ui;
    QToolBar* mToolBar = nullptr;
    framework::ActionTable mCheckActions;
};

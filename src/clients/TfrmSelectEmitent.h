#pragma once

#include "EmitentPickList.h"
#include "TfmMainTEV.h"

#include <functional>
#include <memory>
#include <optional>

class DBGrid;

namespace Ui {
class TfrmSelectEmitent;
}

// The emitent picker of the work area's emitent bar: one row per emitent of the emitent list,
// "[number, filial] name", sorted by number and filial. Find and report work on it; sort and
// filter do not. A double click chooses like the OK button.
class TfrmSelectEmitent : public TfmMainTEV
{
    Q_OBJECT

public:
    // Shows the picker; the chosen emitent's web id, nothing when cancelled or nothing was chosen.
    using Runner = std::function<std::optional<int>(QWidget* owner, const QList<EmitentPickList::Row>& rows,
                                                    int currentId)>;

    explicit TfrmSelectEmitent(QWidget* owner = nullptr);
    ~TfrmSelectEmitent() override;

    // The rows, and the emitent whose row is current at first.
    void setRows(const QList<EmitentPickList::Row>& rows, int currentId);
    // Web id of the current row; nothing when the list is empty.
    std::optional<int> selectedEmitentId() const;

    DBGrid* grid() const;
    EmitentPickList* list() const { return mList; }

    // The picker as the work area opens it (replaceable by a test; nullptr restores the dialog).
    static std::optional<int> Execute(QWidget* owner, const QList<EmitentPickList::Row>& rows, int currentId);
    static void setRunner(Runner runner);

protected:
    void SetupCaptions() override;
    void ActionsUpdate() override;

private:
    std::unique_ptr<Ui::TfrmSelectEmitent> ui;
    EmitentPickList* mList;
};

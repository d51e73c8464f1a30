#pragma once

#include "EmitentPickList.h"
#include "TfmMainTEV.h"

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
    explicit TfrmSelectEmitent(QWidget* owner = nullptr);
    ~TfrmSelectEmitent() override;

    // The rows, and the emitent whose row is current at first.
    void setRows(const QList<EmitentPickList::Row>& rows, int currentId);
    // Web id of the current row; nothing when the list is empty.
    std::optional<int> selectedEmitentId() const;

    DBGrid* grid() const;
    EmitentPickList* list() const { return mList; }

    // Shows the picker through the modal seam; the chosen emitent's web id, nothing when cancelled
    // or nothing was chosen.
    static std::optional<int> Pick(QWidget* owner, const QList<EmitentPickList::Row>& rows, int currentId);

protected:
    void SetupCaptions() override;
    void ActionsUpdate() override;

private:
    std::unique_ptr<Ui::TfrmSelectEmitent> ui;
    EmitentPickList* mList;
};

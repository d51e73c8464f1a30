#pragma once

#include "ActionTable.h"
#include "TTevBaseForm.h"

#include <QList>
#include <QVariant>

class DBGrid;
class QPushButton;

namespace db {
class MemDataset;
}

// Picks emitents from a list by ticking them: a click on the choice cell or Space ticks or clears
// the current row; the three buttons tick all, clear all or swap all.
class TfrmEmitentSelection : public TTevBaseForm
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acCheckAll[] = "acCheckAll";
        static constexpr char acUnCheckAll[] = "acUnCheckAll";
        static constexpr char acInvertCheck[] = "acInvertCheck";
    };
    struct Row
    {
        int emitentIdWeb = 0;
        QVariant emitentNumber;
        QVariant filialNumber;
        QString name; // decoded
    };
    // Columns of the local list; the choice column is drawn as a check box.
    static constexpr char kChoice[] = "ISVISIBLE";
    static constexpr char kNumber[] = "EMITENT_NUMBER";
    static constexpr char kFilial[] = "FILIAL_NUMBER";
    static constexpr char kName[] = "EMITENT_NAME";
    static constexpr char kId[] = "EMITENT_ID_WEB";

    explicit TfrmEmitentSelection(QWidget* owner = nullptr);
    ~TfrmEmitentSelection() override;

    void setRows(const QList<Row>& rows);
    // Web ids of the ticked rows, in list order.
    QList<int> checkedIds() const;

    QAction* action(const char* name) const { return &mActions.action(name); }
    DBGrid* grid() const { return mGrid; }
    db::MemDataset* list() const { return mList; }
    QPushButton* btnOk() const { return mOk; }

    // The current row's choice swapped.
    void ToggleCurrent();
    // 1 for every row, 0, or the swapped value; the cursor stays on its row.
    void SetAll(int mode);

protected:
    void SetupCaptions() override;
    void ActionsUpdate() override;

private:
    static const QList<framework::ActionRow<TfrmEmitentSelection>>& ActionRows();

    framework::ActionTable mActions;
    db::MemDataset* mList;
    DBGrid* mGrid;
    QPushButton* mOk;
    QPushButton* mCancel;
};

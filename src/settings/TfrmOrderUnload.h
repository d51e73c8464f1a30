#pragma once

#include "ActionTable.h"
#include "ExchangeOrderModels.h"
#include "TTevBaseForm.h"

class DBGrid;
class QPushButton;
class QToolBar;
class TdmMain;

namespace db {
class MemDataset;
}

// The order in which the exchange services unload the owner emitents' files: moved up and down
// in a local copy, written in one transaction by "Применить". A failed write is rolled back and
// shown; the window stays open with the order as edited.
class TfrmOrderUnload : public TTevBaseForm
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char actUp[] = "actUp";
        static constexpr char actDown[] = "actDown";
    };
    // Columns of the local list.
    static constexpr char kName[] = "EMITENT_NAME";
    static constexpr char kNumber[] = "EMITENT_NUMBER";
    static constexpr char kFilial[] = "FILIAL_NUMBER";
    static constexpr char kId[] = "EMITENT_ID_WEB";

    explicit TfrmOrderUnload(TdmMain& dm, QWidget* owner = nullptr);
    ~TfrmOrderUnload() override;

    QAction* action(const char* name) const { return &mActions.action(name); }
    DBGrid* grid() const { return mGrid; }
    db::MemDataset* list() const { return mList; }
    const UnloadOrderModel& model() const { return mModel; }
    QPushButton* btnApply() const { return mApply; }

    void actUpExecute();
    void actDownExecute();
    void btnApplyClick();

protected:
    void SetupCaptions() override;
    void ActionsUpdate() override;

private:
    static const QList<framework::ActionRow<TfrmOrderUnload>>& ActionRows();
    void load();
    void showRows(int index);
    int currentIndex() const;

    TdmMain& mDm;
    framework::ActionTable mActions;
    UnloadOrderModel mModel;
    db::MemDataset* mList;
    DBGrid* mGrid;
    QPushButton* mApply;
    QPushButton* mCancel;
};

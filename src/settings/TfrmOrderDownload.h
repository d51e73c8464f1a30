#pragma once

#include "ActionTable.h"
#include "ExchangeOrderModels.h"
#include "TTevBaseForm.h"

class DBGrid;
class QPushButton;
class TdmMain;

namespace db {
class MemDataset;
}

// The priority levels in which the exchange services download the owner emitents' files; the last
// level holds the emitents without priority. Edited in a local copy and written in one transaction
// by "Применить"; a failed write is rolled back and shown, and the window stays open with the
// levels as edited.
class TfrmOrderDownload : public TTevBaseForm
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char actUp[] = "actUp";
        static constexpr char actDown[] = "actDown";
        static constexpr char actAddPriority[] = "actAddPriority";
        static constexpr char actDelPriority[] = "actDelPriority";
        static constexpr char actAddEmitent[] = "actAddEmitent";
        static constexpr char actDeleteEmitent[] = "actDeleteEmitent";
    };
    // Columns of the two local lists.
    static constexpr char kGroupOrder[] = "GroupOrder";
    static constexpr char kOrderStr[] = "OrderStr";
    static constexpr char kNumber[] = "EmitentNumber";
    static constexpr char kFilial[] = "FilialNumber";
    static constexpr char kName[] = "EmitentName";
    static constexpr char kId[] = "EmitentIDWeb";

    explicit TfrmOrderDownload(TdmMain& dm, QWidget* owner = nullptr);
    ~TfrmOrderDownload() override;

    QAction* action(const char* name) const { return &mActions.action(name); }
    DBGrid* levelGrid() const { return mLevelGrid; }
    DBGrid* emitentGrid() const { return mEmitentGrid; }
    db::MemDataset* levels() const { return mLevels; }
    db::MemDataset* emitents() const { return mEmitents; }
    const DownloadOrderModel& model() const { return mModel; }
    QPushButton* btnApply() const { return mApply; }
    QPushButton* btnCancel() const { return mCancel; }

    // The level shown (1..k).
    int selectedLevel() const { return mLevel; }
    void selectLevel(int level);

    void actUpExecute();
    void actDownExecute();
    void actAddPriorityExecute();
    void actDelPriorityExecute();
    void actAddEmitentExecute();
    void actDeleteEmitentExecute();
    void btnApplyClick();

    // Closing without applying asks first when something was changed.
    void reject() override;

protected:
    void SetupCaptions() override;
    void ActionsUpdate() override;

private:
    static const QList<framework::ActionRow<TfrmOrderDownload>>& ActionRows();
    void load();
    void showLevels();
    void showEmitents();

    TdmMain& mDm;
    framework::ActionTable mActions;
    DownloadOrderModel mModel;
    db::MemDataset* mLevels;
    db::MemDataset* mEmitents;
    DBGrid* mLevelGrid;
    DBGrid* mEmitentGrid;
    QPushButton* mApply;
    QPushButton* mCancel;
    int mLevel = 1;
    bool mFilling = false;
    bool mApplied = false;
};

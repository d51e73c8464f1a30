#pragma once

#include "ActionTable.h"
#include "EmitentRules.h"
#include "TfmMainTEV.h"

#include <functional>

class DBGrid;
class QPushButton;
class QToolBar;
class RecordNavigator;
class TdmMain;

namespace db {
class Query;
}

// The emitent settings: the emitents the signed-in user may manage with their export, visibility
// and discount flags (changed by a click, Space changes the export flag) and their exchange
// settings; from here the exchange, billing, acquirer visibility and limits dialogs and the two
// exchange order windows open. Every change goes to the portal at once.
class TfrmEmitentSelect : public TfmMainTEV
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acEmitentEditParams[] = "acEmitentEditParams";
        static constexpr char actEmitentPosVisible[] = "actEmitentPosVisible";
        static constexpr char actOrderUpdate[] = "actOrderUpdate";
        static constexpr char acOrderDownload[] = "acOrderDownload";
        static constexpr char actEditLimits[] = "actEditLimits";
        static constexpr char actBillingSettingsEdit[] = "actBillingSettingsEdit";
    };
    // Fields of the emitent list this window works with.
    struct F
    {
        static constexpr char kId[] = "EMITENT_ID_WEB";
        static constexpr char kName[] = "EMITENT_NAME";
        static constexpr char kUnload[] = "UNLOAD";
        static constexpr char kVisible[] = "ISVISIBLE";
        static constexpr char kHideDiscount[] = "HIDE_DISCONT";
    };

    explicit TfrmEmitentSelect(TdmMain& dm, QWidget* owner = nullptr);
    ~TfrmEmitentSelect() override;

    QAction* action(const char* name) const { return &mActions.action(name); }
    DBGrid* grid() const { return mGrid; }
    db::Query* list() const;
    // The regional manager sees no exchange order commands.
    bool managerMode() const { return mManager; }

    // The flags of the current emitent, written at once.
    void SwapUnload();
    void SwapNewPosVisibility();
    void ToggleHideDiscount();

    void acEmitentEditParamsExecute();
    void actEmitentPosVisibleExecute();
    void actOrderUpdateExecute();
    void acOrderDownloadExecute();
    void actEditLimitsExecute();
    void actBillingSettingsEditExecute();

    // The exchange parameters of the current row, as the dialog takes them.
    emitentrules::ExchangeParams currentExchangeParams() const;

protected:
    void SetupCaptions() override;
    void ActionsUpdate() override;
    bool DrawGridCell(DBGrid& grid, const DrawCellContext& cell) override;

private:
    static const QList<framework::ActionRow<TfrmEmitentSelect>>& ActionRows();
    bool hasRows() const;
    // Runs the calls in one transaction; a failure is rolled back and shown. The list is read again
    // and returns to the same row number.
    void writeFlag(const std::function<void()>& calls);
    // The list read again, on the emitent.
    void reread(const QVariant& emitentId);

    TdmMain& mDm;
    framework::ActionTable mActions;
    QToolBar* mToolBar;
    DBGrid* mGrid;
    RecordNavigator* mNavigator;
    QPushButton* mClose;
    bool mManager = false;
};

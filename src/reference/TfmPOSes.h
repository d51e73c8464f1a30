#pragma once

#include "ActionTable.h"
#include "ReferenceRules.h"
#include "TfmMainTEV.h"

class DBGrid;
class QToolBar;
class RecordNavigator;
class TdmMain;

namespace db {
class Query;
}

// The service points of the current emitent with their web visibility and whether the exchange
// may overwrite their name and address. Every change goes to the portal at once.
class TfmPOSes : public TfmMainTEV
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acUpdPOS[] = "acUpdPOS";
        static constexpr char acCheckAll[] = "acCheckAll";
        static constexpr char acInvertCheck[] = "acInvertCheck";
        static constexpr char acUnCheckAll[] = "acUnCheckAll";
        static constexpr char actSelectAllUpdate[] = "actSelectAllUpdate";
        static constexpr char actInvertSelectUpdate[] = "actInvertSelectUpdate";
        static constexpr char actUnSelectAllUpdate[] = "actUnSelectAllUpdate";
    };

    explicit TfmPOSes(TdmMain& dm, QWidget* owner = nullptr);
    ~TfmPOSes() override;

    QAction* action(const char* name) const { return &mActions.action(name); }
    DBGrid* grid() const { return mGrid; }
    RecordNavigator* navigator() const { return mNavigator; }
    db::Query* list() const;

    // The current row's visibility / "Обновлять" flag swapped and written back.
    void SwapVisibility();
    void SwapUpdate();
    // Every row's flag in `field` (ISVISIBLE or ISUPDATE) set by `mode`, one transaction.
    void SetAllFlags(const QString& field, reference::BulkFlag mode);
    // The edit dialog for the current service point.
    void acUpdPOSExecute();

protected:
    void SetupCaptions() override;
    void FormShow() override;
    void ActionsUpdate() override;
    void done(int result) override;

private:
    static const QList<framework::ActionRow<TfmPOSes>>& ActionRows();
    bool listEditable() const;
    void swapFlag(const QString& field);
    void updatePos(const QVariant& id, const QVariant& name, const QVariant& address, int visible,
                   int update);

    TdmMain& mDm;
    DBGrid* mGrid = nullptr;
    RecordNavigator* mNavigator = nullptr;
    QToolBar* mToolBar = nullptr;
    framework::ActionTable mActions;
};

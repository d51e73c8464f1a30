#pragma once

#include "ActionTable.h"
#include "TfmMainTEV.h"

#include <functional>

class DBGrid;
class QPushButton;
class RecordNavigator;
class TdmMain;

namespace db {
class Query;
}

// Automatic visibility of new service points, per acquirer: the other emitents whose service points
// the current emitent lists. Every change goes to the portal at once.
class TfrmSelectEmitentPos : public TfmMainTEV
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acCheckAll[] = "acCheckAll";
        static constexpr char acUnCheckAll[] = "acUnCheckAll";
        static constexpr char acInvertCheck[] = "acInvertCheck";
    };
    // What the bulk buttons give each row.
    enum class Bulk
    {
        CheckAll,
        UncheckAll,
        Invert
    };

    explicit TfrmSelectEmitentPos(TdmMain& dm, QWidget* owner = nullptr);
    ~TfrmSelectEmitentPos() override;

    QAction* action(const char* name) const { return &mActions.action(name); }
    DBGrid* grid() const { return mGrid; }
    db::Query* list() const;

    // The current acquirer's visibility swapped.
    void ToggleVisibility();
    // Every acquirer set at once, in one transaction.
    void SetAll(Bulk mode);

    // Opens the acquirers of the emitent; with none, says so and shows no dialog.
    static void Show(TdmMain& dm, int ownerEmitentId, QWidget* owner);

protected:
    void SetupCaptions() override;
    void ActionsUpdate() override;
    void done(int result) override;

private:
    static const QList<framework::ActionRow<TfrmSelectEmitentPos>>& ActionRows();
    void write(const std::function<void()>& calls);

    TdmMain& mDm;
    framework::ActionTable mActions;
    DBGrid* mGrid;
    RecordNavigator* mNavigator;
    QPushButton* mClose;
};

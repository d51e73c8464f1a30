#pragma once

#include "ActionTable.h"
#include "TfmMainTEV.h"

class DBGrid;
class RecordNavigator;
class TdmMain;

namespace db {
class Query;
}

// The transaction types with their visibility for the current emitent and their sign.
class TfmTrnTypes : public TfmMainTEV
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acChangeMark[] = "acChangeMark";
    };

    explicit TfmTrnTypes(TdmMain& dm, QWidget* owner = nullptr);
    ~TfmTrnTypes() override;

    QAction* acChangeMark() const { return &mActions.action(Cmd::acChangeMark); }
    DBGrid* grid() const { return mGrid; }
    db::Query* list() const;

    // The current type's visibility swapped and written for the emitent the list was opened for.
    void SwapVisibility();
    // The current type's sign turned to the other one.
    void acChangeMarkExecute();

protected:
    void SetupCaptions() override;
    void FormShow() override;
    void ActionsUpdate() override;
    void done(int result) override;

private:
    static const QList<framework::ActionRow<TfmTrnTypes>>& ActionRows();

    TdmMain& mDm;
    DBGrid* mGrid = nullptr;
    RecordNavigator* mNavigator = nullptr;
    framework::ActionTable mActions;
};

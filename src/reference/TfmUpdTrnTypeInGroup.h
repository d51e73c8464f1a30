#pragma once

#include "ActionTable.h"
#include "TDlgBaseForm.h"

class DBGrid;

// Chooses the members of one transaction group among its own types and those in no group. Nothing
// is written here: the caller stores chosenTypes() when the dialog is accepted.
class TfmUpdTrnTypeInGroup : public TDlgBaseForm
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acCheckAll[] = "acCheckAll";
        static constexpr char acUnCheckAll[] = "acUnCheckAll";
        static constexpr char acInvertCheck[] = "acInvertCheck";
    };

    TfmUpdTrnTypeInGroup(QWidget* owner, const QString& shema, db::Session* session, int groupId,
                         int languageId);
    ~TfmUpdTrnTypeInGroup() override;

    QAction* action(const char* name) const { return &mActions.action(name); }
    DBGrid* grid() const { return mGrid; }
    int groupId() const { return mGroupId; }
    // Type numbers marked "+", in list order.
    QList<int> chosenTypes() const;

protected:
    void FormShow() override;
    void SetupCaptions() override;
    void ActionsUpdate() override;

private:
    static const QList<framework::ActionRow<TfmUpdTrnTypeInGroup>>& ActionRows();

    int mGroupId;
    int mLanguageId;
    DBGrid* mGrid = nullptr;
    framework::ActionTable mActions;
};

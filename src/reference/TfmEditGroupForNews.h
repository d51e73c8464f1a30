#pragma once

#include "ActionTable.h"
#include "TfrmMainTevBaseSelect.h"

class TdmMain;

// The news subscriber groups: added, renamed and deleted here, their members edited from here.
// Built on the check list without its ticks: no tick column, no tick commands, no apply button.
class TfmEditGroupForNews : public TfrmMainTevBaseSelect
{
    Q_OBJECT

public:
    struct Cmd : TfrmMainTevBaseSelect::Cmd
    {
        static constexpr char acAddGroup[] = "acAddGroup";
        static constexpr char acUpdGroup[] = "acUpdGroup";
        static constexpr char acDeleteGroup[] = "acDeleteGroup";
        static constexpr char acSelectSubscriber[] = "acSelectSubscriber";
    };

    // The list is the data module's group list, fetched for the news item of the last binding.
    explicit TfmEditGroupForNews(TdmMain& dm, QWidget* owner = nullptr);
    ~TfmEditGroupForNews() override;

    QAction* action(const char* name) const { return &mActions.action(name); }

    void acAddGroupExecute();
    void acUpdGroupExecute();
    void acDeleteGroupExecute();
    void acSelectSubscriberExecute();

protected:
    void SetupCaptions() override;
    void FormShow() override;
    void ActionsUpdate() override;

private:
    static const QList<framework::ActionRow<TfmEditGroupForNews>>& ActionRows();
    bool hasGroups() const;
    // Fetches the list again and goes to the group (the first row when it is gone or null).
    void refetch(const QVariant& groupId);

    TdmMain& mDm;
    framework::ActionTable mActions;
};

#pragma once

#include "ActionTable.h"
#include "TfrmMainTevBaseSelect.h"

#include <functional>

class TdmMain;

// The groups a news item is bound to: every group with a tick where it is bound. "Применить" runs
// the caller's apply step while the window stays open; the window closes only when it succeeded.
// The current group's members can be edited from here.
class TfmSelectGroupForNews : public TfrmMainTevBaseSelect
{
    Q_OBJECT

public:
    struct Cmd : TfrmMainTevBaseSelect::Cmd
    {
        static constexpr char acSelectSubscriber[] = "acSelectSubscriber";
    };

    // The list is the data module's group list, fetched by the caller.
    explicit TfmSelectGroupForNews(TdmMain& dm, QWidget* owner = nullptr);
    ~TfmSelectGroupForNews() override;

    QAction* action(const char* name) const { return &mActions.action(name); }
    // Runs on "Применить"; false keeps the window open (the apply step has said why).
    void setApply(std::function<bool()> apply) { mApply = std::move(apply); }

    void ApplyClick();
    void acSelectSubscriberExecute();

protected:
    void SetupCaptions() override;
    void ActionsUpdate() override;

private:
    static const QList<framework::ActionRow<TfmSelectGroupForNews>>& ActionRows();

    TdmMain& mDm;
    std::function<bool()> mApply;
    framework::ActionTable mActions;
};

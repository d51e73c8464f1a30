#pragma once

#include "ActionTable.h"
#include "TfmMainTEV.h"

class DBGrid;
class MasterDetailLink;
class QPushButton;
class RecordNavigator;
class TdmMain;

namespace db {
class Package;
class Query;
} // namespace db

// The portal's news: the items on the left, the subscriber groups of the current item on the
// right. Items are added, edited and deleted here and bound to groups.
class TfrmNews : public TfmMainTEV
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acAddNews[] = "acAddNews";
        static constexpr char acEditNews[] = "acEditNews";
        static constexpr char acDeleteNews[] = "acDeleteNews";
        static constexpr char acSelectGroup[] = "acSelectGroup";
    };

    explicit TfrmNews(TdmMain& dm, QWidget* owner = nullptr);
    ~TfrmNews() override;

    QAction* action(const char* name) const { return &mActions.action(name); }
    db::Query* news() const { return mNews; }
    db::Query* groups() const { return mGroups; }
    DBGrid* grdNews() const { return mNewsGrid; }
    DBGrid* grdGroups() const { return mGroupsGrid; }
    MasterDetailLink* groupLink() const { return mLink; }

    void acAddNewsExecute();
    void acEditNewsExecute();
    void acDeleteNewsExecute();
    void acSelectGroupExecute();

protected:
    void SetupCaptions() override;
    void FormShow() override;
    void ActionsUpdate() override;

private:
    static const QList<framework::ActionRow<TfrmNews>>& ActionRows();
    bool hasNews() const;
    // Reads the list again and goes to the item (the first one when it is gone or null).
    void reopenNews(const QVariant& newsId);
    // Binds and unbinds the groups as ticked, in one transaction; false when the portal refused.
    bool applyBinding(int newsId);

    TdmMain& mDm;
    db::Query* mNews = nullptr;
    db::Query* mGroups = nullptr;
    db::Package* mTevUtils = nullptr;
    DBGrid* mNewsGrid = nullptr;
    DBGrid* mGroupsGrid = nullptr;
    RecordNavigator* mNavigator = nullptr;
    QPushButton* mClose = nullptr;
    MasterDetailLink* mLink = nullptr;
    framework::ActionTable mActions;
};

// The news windows as the main window opens them: modal, freed when they close.
namespace reference {
void ShowNews(QWidget* owner, TdmMain& dm);
void ShowEditGroupForNews(QWidget* owner, TdmMain& dm);
} // namespace reference

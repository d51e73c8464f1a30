#pragma once

#include "ActionTable.h"
#include "TfmMainTEV.h"

#include <array>

class DBGrid;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolBar;
class QToolButton;
class RecordNavigator;
class TdmMain;

namespace db {
class Dataset;
class Package;
class Query;
class StoredProc;
} // namespace db

// Who belongs to one news subscriber group: on each tab (emitents, web clients) the candidates not
// in the group on the left and the members on the right, each with a tick column. ">" puts the
// ticked candidates into the group, "<" takes the ticked members out, each as one transaction.
// The clients tab offers the candidates of one emitent, chosen above the lists.
class TfmSubscriberSelect : public TfmMainTEV
{
    Q_OBJECT

public:
    enum List
    {
        FreeEmitents,
        MemberEmitents,
        FreeClients,
        MemberClients
    };
    static constexpr int kListCount = 4;
    enum class Tick
    {
        All,
        None,
        Invert
    };
    struct Cmd
    {
        static constexpr char acIncludeEmitents[] = "acIncludeEmitents";
        static constexpr char acExcludeEmitents[] = "acExcludeEmitents";
        static constexpr char acIncludeClients[] = "acIncludeClients";
        static constexpr char acExcludeClients[] = "acExcludeClients";
        // Tick commands: one per list and kind, named after both (acCheckAllFreeEmitents, ...).
        static QString tickCommand(List list, Tick tick);
    };

    TfmSubscriberSelect(TdmMain& dm, int groupId, QWidget* owner = nullptr);
    ~TfmSubscriberSelect() override;

    int groupId() const { return mGroupId; }
    QAction* action(const QString& name) const { return &mActions.action(name.toStdString()); }
    db::Dataset* list(List which) const { return mPanes[which].dataset; }
    DBGrid* grid(List which) const { return mPanes[which].grid; }
    RecordNavigator* navigator(List which) const { return mPanes[which].navigator; }
    QTabWidget* tabs() const { return mTabs; }
    QComboBox* cbEmitent() const { return mEmitent; }
    QToolButton* includeButton(bool clients) const { return mMoveButtons[clients ? 2 : 0]; }
    QToolButton* excludeButton(bool clients) const { return mMoveButtons[clients ? 3 : 1]; }
    int reportNameSwitch() const { return mReportName; }
    // The emitent whose candidates the clients tab shows.
    int chosenEmitentId() const;
    // Chooses another emitent, as the chooser does: only the candidate clients are fetched again.
    void chooseEmitent(int emitentId);

    // Flips the tick of a list's current row.
    void toggleCurrent(List which);
    void changeTicks(List which, Tick tick);
    // Moves the ticked rows of a list to the other side of its tab, in one transaction. On a
    // failure nothing is moved, both lists are read again and the error is shown.
    void moveTicked(List from);

protected:
    void SetupCaptions() override;
    void FormShow() override;

private:
    struct Pane
    {
        db::Dataset* dataset = nullptr;
        DBGrid* grid = nullptr;
        RecordNavigator* navigator = nullptr;
        QToolBar* bar = nullptr;
    };
    static const QList<framework::ActionRow<TfmSubscriberSelect>>& ActionRows();
    QWidget* makePane(List which, QWidget* parent);
    void reopen(List which);
    int tickColumn(List which) const;

    TdmMain& mDm;
    int mGroupId;
    int mReportName = 0;
    bool mShownOnce = false;
    db::StoredProc* mFreeEmitents = nullptr;
    db::Query* mMemberEmitents = nullptr;
    db::StoredProc* mFreeClients = nullptr;
    db::Query* mMemberClients = nullptr;
    db::Query* mChooser = nullptr;
    db::Package* mTevUtils = nullptr;
    std::array<Pane, kListCount> mPanes;
    QTabWidget* mTabs = nullptr;
    QLabel* mEmitentLabel = nullptr;
    QComboBox* mEmitent = nullptr;
    std::array<QToolButton*, 4> mMoveButtons = {};
    QPushButton* mClose = nullptr;
    framework::ActionTable mActions;
};

// Opens the membership window of a group modally; `caption` (the group's name as shown) is its
// title.
void ShowGroupMembership(QWidget* owner, TdmMain& dm, int groupId, const QString& caption);

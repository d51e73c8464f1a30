#pragma once

#include "ActionTable.h"
#include "ClientPermissions.h"
#include "InvitationList.h"

#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>

class DBGrid;
class QAbstractButton;
class QAction;
class QActionGroup;
class QButtonGroup;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QToolBar;
class RecordNavigator;
class TdmMain;

namespace db {
class Dataset;
class Query;
} // namespace db

namespace Ui {
class ClientsWorkArea;
}

// The main window's work area: the emitent bar, the clients of that emitent with their filter
// panel, tick column and description line, and the detail pane that shows the current client's
// logins, visit journal or subscriptions. The clients query belongs to the main window (it is
// created as the window's child, so the window's schema binding and sort orders reach it); the
// detail and emitent queries are the data module's.
class ClientsWorkArea : public QWidget
{
    Q_OBJECT

public:
    enum class Pane
    {
        None,
        Logins,
        Journal,
        Describes
    };
    // Names of the work area's actions.
    struct Cmd
    {
        static constexpr char actShowLogins[] = "actShowLogins";
        static constexpr char actShowJournal[] = "actShowJournal";
        static constexpr char actShowDescribes[] = "actShowDescribes";
        static constexpr char actHideDetail[] = "actHideDetail";
        static constexpr char acSelectAll[] = "acSelectAll";
        static constexpr char acSelectNone[] = "acSelectNone";
        static constexpr char acInvertSelection[] = "acInvertSelection";
        static constexpr char actEditClient[] = "actEditClient";
        static constexpr char acEditClientKind[] = "acEditClientKind";
        static constexpr char actEditMaxLimits[] = "actEditMaxLimits";
        static constexpr char acSendInvitations[] = "acSendInvitations";
        static constexpr char acAddLogin[] = "acAddLogin";
        static constexpr char actEditLogin[] = "actEditLogin";
        static constexpr char actEditPassLogin[] = "actEditPassLogin";
        static constexpr char actResetLock[] = "actResetLock";
        static constexpr char actAddDescribe[] = "actAddDescribe";
        static constexpr char actEditDescribe[] = "actEditDescribe";
        static constexpr char actDelDescribe[] = "actDelDescribe";
    };
    // Opens the invitation composer with the ticked clients.
    using InvitationComposer = std::function<void(QWidget* owner, const TInvitationList& clients)>;

    // `window` is the main window: parent of the work area and owner of the clients query.
    ClientsWorkArea(TdmMain& dm, QWidget* window);
    ~ClientsWorkArea() override;

    int CurrentEmitentId() const { return mCurrentEmitentId; }
    bool AllEmitents() const { return mAllEmitents; }
    void setAllEmitents(bool all) { mAllEmitents = all; }
    int SelectedCount() const { return mSelectedCount; }

    db::Query* qryClients() const { return mClients; }
    DBGrid* grdClients() const;
    DBGrid* grdDetail() const;
    RecordNavigator* navClients() const;
    QToolBar* clientsToolBar() const { return mClientsTools; }
    QToolBar* detailToolBar() const { return mDetailTools; }
    QWidget* detailPane() const;
    QAbstractButton* paneButton(Pane pane) const;
    QAbstractButton* btnSelectEmitent() const;
    // The emitent bar's text and the description line's text.
    QString emitentCaption() const;
    QString descriptionText() const;
    Pane shownPane() const { return mPane; }

    // Chosen items of the two radio groups, and a click on an item.
    int sourceIndex() const;
    int clientTypeIndex() const;
    void clickSource(int index);
    void clickClientType(int index);

    // Pane commands
    QAction* actShowLogins() const { return &mActions.action(Cmd::actShowLogins); }
    QAction* actShowJournal() const { return &mActions.action(Cmd::actShowJournal); }
    QAction* actShowDescribes() const { return &mActions.action(Cmd::actShowDescribes); }
    QAction* actHideDetail() const { return &mActions.action(Cmd::actHideDetail); }
    // Ticks
    QAction* acSelectAll() const { return &mActions.action(Cmd::acSelectAll); }
    QAction* acSelectNone() const { return &mActions.action(Cmd::acSelectNone); }
    QAction* acInvertSelection() const { return &mActions.action(Cmd::acInvertSelection); }
    // Client commands
    QAction* actEditClient() const { return &mActions.action(Cmd::actEditClient); }
    QAction* acEditClientKind() const { return &mActions.action(Cmd::acEditClientKind); }
    QAction* actEditMaxLimits() const { return &mActions.action(Cmd::actEditMaxLimits); }
    QAction* acSendInvitations() const { return &mActions.action(Cmd::acSendInvitations); }
    QAction* acAddLogin() const { return &mActions.action(Cmd::acAddLogin); }
    QAction* actEditLogin() const { return &mActions.action(Cmd::actEditLogin); }
    QAction* actEditPassLogin() const { return &mActions.action(Cmd::actEditPassLogin); }
    QAction* actResetLock() const { return &mActions.action(Cmd::actResetLock); }
    QAction* actAddDescribe() const { return &mActions.action(Cmd::actAddDescribe); }
    QAction* actEditDescribe() const { return &mActions.action(Cmd::actEditDescribe); }
    QAction* actDelDescribe() const { return &mActions.action(Cmd::actDelDescribe); }
    // Every action of the work area, in the order of its table.
    const framework::ActionTable& actionTable() const { return mActions; }

    // The last emitent (DEDAdize.ini), else the portal's first; a manager gets one of the
    // manager's emitents.
    void ChooseStartEmitent();
    // Reopens the emitents this user may see, positioned on the emitent.
    void OpenEmitentList(int emitentId);
    // Remembers the emitent and reopens its clients, service points, transaction types and the
    // logins of the first client.
    void OpenEmitentData();
    // After the clients opened at start: with a client of the second data source among them the
    // source filter goes to "ОЦ и ЛНР".
    void ShowBothSourcesWhenLnr();

    void ShowLoginsPane(bool show);
    void ShowJournalPane(bool show);
    void ShowDescribesPane(bool show);

    void SetTick(int row, int value);
    // The bulk edit of every ticked client the list shows, as one transaction; the list is read
    // again whatever happens and an error is shown once.
    void ApplyGroupEdit(const ClientPermissions::GroupChoice& choice);
    // Ticks or unticks the current client (click in the tick column, Space).
    void ToggleCurrentTick();
    void acSelectAllExecute();
    void acSelectNoneExecute();
    void acInvertSelectionExecute();

    // Rebuilds the list filter from the two radio groups.
    void rgSrcClick();
    // The emitent picker; another emitent's data is opened and the transaction committed.
    void btnSelectEmitentClick();

    // The ticked clients the list shows, for the invitation composer.
    TInvitationList InvitationClients();
    void setInvitationComposer(InvitationComposer composer) { mComposer = std::move(composer); }

    // Catalogue texts for captions, hints, column titles and the SQL text macros of the clients
    // and logins queries; open queries are reopened at the same row.
    void ApplyLanguage();
    // Enabling and visibility of the work area's commands; `describesAvailable` is the portal's
    // subscription switch (TYPE_BLOCK_DESCRIBE of 0 or more).
    void UpdateActions(bool describesAvailable);

signals:
    // Another emitent was chosen in the picker; emitted before its data opens.
    void emitentChanged();
    void selectedCountChanged(int count);

private:
    static const QList<framework::ActionRow<ClientsWorkArea>>& ActionRows();
    void createActions();
    void setupGrids();
    void paneButtonClicked(Pane pane);
    void pressPaneButton(Pane pane);
    void showPane(Pane pane, bool show);
    void openLogins();
    void openJournal();
    void openDescribes();
    void reopenShownPane();
    void currentClientChanged();
    QVariant currentClientId() const;
    void setSelectedCount(int count);
    void applyColumnVisibility();
    void detailDoubleClick();
    bool clientsKeyDown(QKeyEvent* event);
    bool detailKeyDown(QKeyEvent* event);
    void commandNotYetAvailable(const char16_t* windowCaptionKey);
    void acSendInvitationsExecute();
    void actResetLockExecute();
    void actEditClientExecute();
    void acEditClientKindExecute();
    void actEditMaxLimitsExecute();
    void actAddDescribeExecute();
    void actEditDescribeExecute();
    void actDelDescribeExecute();
    void acAddLoginExecute();
    void actEditLoginExecute();
    void actEditPassLoginExecute();
    db::Dataset* paneDataset(Pane pane) const;

    TdmMain& mDm;
    std::unique_ptr<Ui::ClientsWorkArea> ui;
    db::Query* mClients;
    QButtonGroup* mSourceGroup;
    QButtonGroup* mTypeGroup;
    QToolBar* mClientsTools;
    QToolBar* mDetailTools;
    QActionGroup* mPaneGroup;
    framework::ActionTable mActions;

    int mCurrentEmitentId = -1;
    bool mAllEmitents = true;
    int mSelectedCount = 0;
    Pane mPane = Pane::None;
    // The client the shown pane was last opened for, so it reopens only when the client changes.
    QVariant mPaneClientId;
    bool mOpening = false;
    InvitationComposer mComposer;
};

#pragma once

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
    QAction* actShowLogins() const { return mShowLogins; }
    QAction* actShowJournal() const { return mShowJournal; }
    QAction* actShowDescribes() const { return mShowDescribes; }
    QAction* actHideDetail() const { return mHideDetail; }
    // Ticks
    QAction* acSelectAll() const { return mSelectAll; }
    QAction* acSelectNone() const { return mSelectNone; }
    QAction* acInvertSelection() const { return mInvertSelection; }
    // Client commands
    QAction* actEditClient() const { return mEditClient; }
    QAction* acEditClientKind() const { return mEditClientKind; }
    QAction* actEditMaxLimits() const { return mEditMaxLimits; }
    QAction* acSendInvitations() const { return mSendInvitations; }
    QAction* acAddLogin() const { return mAddLogin; }
    QAction* actEditLogin() const { return mEditLogin; }
    QAction* actEditPassLogin() const { return mEditPassLogin; }
    QAction* actResetLock() const { return mResetLock; }
    QAction* actAddDescribe() const { return mAddDescribe; }
    QAction* actEditDescribe() const { return mEditDescribe; }
    QAction* actDelDescribe() const { return mDelDescribe; }
    QList<QAction*> commands() const;

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
    QAction* makeAction(const char* name, const char* icon = nullptr);
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
    db::Dataset* paneDataset(Pane pane) const;

    TdmMain& mDm;
    std::unique_ptr<Ui::ClientsWorkArea> ui;
    db::Query* mClients;
    QButtonGroup* mSourceGroup;
    QButtonGroup* mTypeGroup;
    QToolBar* mClientsTools;
    QToolBar* mDetailTools;
    QActionGroup* mPaneGroup;

    QAction* mShowLogins = nullptr;
    QAction* mShowJournal = nullptr;
    QAction* mShowDescribes = nullptr;
    QAction* mHideDetail = nullptr;
    QAction* mSelectAll = nullptr;
    QAction* mSelectNone = nullptr;
    QAction* mInvertSelection = nullptr;
    QAction* mEditClient = nullptr;
    QAction* mEditClientKind = nullptr;
    QAction* mEditMaxLimits = nullptr;
    QAction* mSendInvitations = nullptr;
    QAction* mAddLogin = nullptr;
    QAction* mEditLogin = nullptr;
    QAction* mEditPassLogin = nullptr;
    QAction* mResetLock = nullptr;
    QAction* mAddDescribe = nullptr;
    QAction* mEditDescribe = nullptr;
    QAction* mDelDescribe = nullptr;

    int mCurrentEmitentId = -1;
    bool mAllEmitents = true;
    int mSelectedCount = 0;
    Pane mPane = Pane::None;
    // The client the shown pane was last opened for, so it reopens only when the client changes.
    QVariant mPaneClientId;
    bool mOpening = false;
    InvitationComposer mComposer;
};

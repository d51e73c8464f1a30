#pragma once

#include "CommandTable.h"
#include "TfmMainTEV.h"

#include <QHash>
#include <QString>

class ClientsWorkArea;
class QActionGroup;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class TdmMain;

namespace db {
class Query;
}

// The console's main window: menus with every command, the tool bar, the status bar and the
// clients work area. Created once the sign-in has succeeded; closing it ends the program.
class TfrmMain : public TfmMainTEV
{
    Q_OBJECT

public:
    explicit TfrmMain(TdmMain& dm, QWidget* parent = nullptr);
    ~TfrmMain() override;

    int CurrentEmitentId() const;
    const QString& PreviousScheme() const { return mPreviousScheme; }
    bool BonusModulePresent() const { return mBonusModulePresent; }
    int ServiceBinding() const { return mServiceBinding; }
    int LocalServices() const { return mLocalServices; }
    bool Initialized() const { return mInitialized; }
    bool AllEmitents() const;
    int SelectedCount() const;

    // The program is to end (a failed sign-in, a broken schema, a version mismatch).
    bool isTerminated() const { return mTerminated; }

    ClientsWorkArea* workArea() const { return mWorkArea; }
    // A menu command by its component name (MainCmd); never nullptr: a name that is none throws
    // std::out_of_range.
    QAction* command(const QString& name) const;
    const framework::ActionTable& commands() const { return mCommands; }
    // A menu by its component name (MainMenu); never nullptr: a name that is none throws
    // std::out_of_range.
    QMenu* menu(const QString& name) const;
    QMenuBar* menuBar() const { return mMenuBar; }
    QToolBar* mainToolBar() const { return mToolBar; }
    QStatusBar* statusBar() const { return mStatusBar; }
    QString statusPanelText(int panel) const;
    // The coupons-archive menu item (a command without a catalogue caption).
    QAction* couponsArchiveItem() const { return mCouponsArchive; }

    // Loads everything that depends on the session; run when the window is shown.
    void InitWorkspace();
    void ApplyUserRights();
    void ApplyLanguage();
    void FillInterfaceLanguages();
    void FillWebLanguages();
    void Disconnect();
    bool Reconnect();
    bool HasBonusModule();
    // Idle-time enabling and visibility of the commands.
    void actMainUpdate();
    // Saves the interface language and the sort orders; always allows closing.
    bool FormCloseQuery();

    void actReconnectExecute();
    void actChangeSchemeExecute();
    void actRegisterServicesExecute();
    void actAboutExecute();
    void actReportsExecute();
    void actExchangeSettingsExecute();
    // The portal settings; after a save the clients list is read again.
    void acSettingsExecute();
    // Reopens the emitent list on the row current in it, then the emitent settings.
    void acEmitentSelectExecute();
    // Reopens the help types, then the help window.
    void acHelpExecute();
    // The regional managers' window.
    void actManagerExecute();
    // The news window and the news subscriber groups editor.
    void actShowNewsExecute();
    void actShowEditGroupForNewsExecute();
    // An item of the interface-language submenu was chosen.
    void InterfaceLanguageClick(QAction* item);

signals:
    // The program is to end; the start-up quits the event loop.
    void terminated();

protected:
    void FormCreate() override;
    void SetupCaptions() override;
    void FormShow() override;
    void ActionsUpdate() override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The command table sets the handlers.
    friend const QList<MainCommand>& MainCommands();

    void createCommands();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    QMenu* addMenu(QMenu* parent, const char* name);
    QList<db::Query*> sortedQueries() const;
    void updateStatusBar();
    void updateEmitentPanels();
    void updateCaption();
    void bindServices();
    bool describesAvailable();
    // The bonus ranges of the command's kind.
    void acADBonusRangeExecute(QAction& command);
    void Terminate();
    void saveSortOrders();

    TdmMain& mDm;
    ClientsWorkArea* mWorkArea = nullptr;
    QMenuBar* mMenuBar = nullptr;
    QToolBar* mToolBar = nullptr;
    QStatusBar* mStatusBar = nullptr;
    QLabel* mPanels[5] = {};
    framework::ActionTable mCommands;
    QHash<QString, QMenu*> mMenus;
    QAction* mCouponsArchive = nullptr;
    QAction* mRussian = nullptr;
    QActionGroup* mLanguageGroup = nullptr;

    QString mPreviousScheme;
    QString mDbVersion;
    bool mBonusModulePresent = false;
    int mServiceBinding = 0;
    int mLocalServices = 0;
    bool mInitialized = false;
    bool mTerminated = false;
    bool mShown = false;
    // TYPE_BLOCK_DESCRIBE could not be read: the subscriptions stay hidden without asking again.
    bool mDescribeSwitchFailed = false;
};

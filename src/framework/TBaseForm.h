#pragma once

#include "ActionTable.h"
#include "Query.h"
#include "TComBaseForm.h"
#include "TDBIntList.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QRect>
#include <functional>
#include <map>
#include <memory>
#include <utility>

class DBGrid;
class QuickSearch;
class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class IdleActionUpdate;
class QToolBar;
class RecordNavigator;
class TDBGridOfQuery;
struct DrawCellContext;

namespace db {
class Dataset;
class Field;
class Macro;
class Query;
class Session;
} // namespace db

// Data window: a session and a schema, grid adapters, the shared find, sort, filter, report and
// record actions, the check column "RCHECK", mass selection and remembered sort orders.
//
// Created with (owner, schema, session); an empty schema means the session's user name. The
// window's data-access components are its direct children (queries, stored procedures, packages):
// those of the base are bound to the session and schema at once, those a derived constructor
// makes when creation completes (ensureCreated, before the first show), before FormCreate runs.
// Then the grids, navigators, edits and queries of the window are set up: grid adapters, check
// column, filter indicators, mouse wheel, navigator hints, restored sort orders. The window is not
// ready, and refuses to close, until that is done.
//
// A dataset whose rows are ticked through the check column must take local edits
// (setTakesLocalEdits(true)); a dataset that does not is read-only for the check column.
class TBaseForm : public TComBaseForm
{
    Q_OBJECT

public:
    static constexpr char kCheckFieldName[] = "RCHECK";
    // Names of the window's shared actions.
    struct Cmd
    {
        static constexpr char EmptyAction[] = "EmptyAction";
        static constexpr char EmptyAction1[] = "EmptyAction1";
        static constexpr char pFind[] = "pFind";
        static constexpr char pSort[] = "pSort";
        static constexpr char pReport[] = "pReport";
        static constexpr char pFilter[] = "pFilter";
        static constexpr char pFirst[] = "pFirst";
        static constexpr char pPrev[] = "pPrev";
        static constexpr char pNext[] = "pNext";
        static constexpr char pLast[] = "pLast";
        static constexpr char pRefresh[] = "pRefresh";
    };

    TBaseForm(QWidget* owner, const QString& shema, db::Session* session);
    ~TBaseForm() override;

    bool isReady() const { return mReady; }
    // Whether a session and a schema were given, so components are bound at creation.
    bool isBound() const { return mBound; }

    // An error box and nullptr (an empty text) when there is none.
    db::Session* GetSession();
    QString GetShema();
    // Rebind every component of the window at once.
    virtual void SetShema(const QString& shema);
    virtual void SetSession(db::Session* session);

    // Message boxes owned by the window (kinds as lang::ShowMsgBox).
    void ShowFormMessage(const QString& text, const QString& caption, int kind);
    void ShowFormMessageKind(const QString& text, int kind);
    // ShowFormMessage with the caption "Отчеты" and kind 1.
    void ReportFormError(const QString& text);

    // Mass selection over the grid's rows (or over the range HasSelectedRange gives); a grid
    // without an adapter only beeps.
    void CheckAllRows(DBGrid* grid);
    void UncheckAllRows(DBGrid* grid);
    void InvertCheckedRows(DBGrid* grid);
    // Refresh and return to the row with the same value in the first field / go to the last row.
    virtual void RefreshKeepPosition(db::Dataset* dataset);
    virtual void RefreshToLast(db::Dataset* dataset);
    // Flips the current row's check field and posts it (the check column's click and Space).
    // nullptr is a programming error (std::logic_error).
    void SetRCheck(db::Dataset* dataset);

    db::Query* CurrentQuery() const { return mCurrentQuery; }
    void SetCurrentQuery(db::Query* query);
    const QString& CheckFieldName() const { return mCheckFieldName; }

    // Grid adapters (one per data grid set up) and the filter indicators.
    TDBIntList& GridList() { return mGridList; }
    IDBGrid* GridAdapter(const DBGrid* grid) const;
    TDBGridOfQuery* FilterIndicator(const DBGrid* grid) const;
    // The field the last find on the dataset ended on; empty when none.
    QString SearchField(const db::Dataset* dataset) const;
    // Marks `detail` as a detail dataset of `master`: the report of master's grid takes its rows.
    void SetMasterDataset(db::Dataset* detail, db::Dataset* master);
    db::Dataset* MasterDataset(const db::Dataset* detail) const;

    // Components every data window has.
    db::Session* MainSession() const { return mMainSession; }
    db::Query* OraQuery1() const { return mOraQuery1; }
    QMenu* PopupMenu1() const { return mPopupMenu1; }
    QuickSearch* FrmQSearch1() const { return mQSearch; }
    QAction* EmptyAction() const { return &mActions.action(Cmd::EmptyAction); }
    QAction* EmptyAction1() const { return &mActions.action(Cmd::EmptyAction1); }
    QAction* pFind() const { return &mActions.action(Cmd::pFind); }
    QAction* pSort() const { return &mActions.action(Cmd::pSort); }
    QAction* pReport() const { return &mActions.action(Cmd::pReport); }
    QAction* pFilter() const { return &mActions.action(Cmd::pFilter); }
    QAction* pFirst() const { return &mActions.action(Cmd::pFirst); }
    QAction* pPrev() const { return &mActions.action(Cmd::pPrev); }
    QAction* pNext() const { return &mActions.action(Cmd::pNext); }
    QAction* pLast() const { return &mActions.action(Cmd::pLast); }
    QAction* pRefresh() const { return &mActions.action(Cmd::pRefresh); }
    const framework::ActionTable& sharedActions() const { return mActions; }

    // The grid holding the window's focus, without any message; nullptr when none.
    DBGrid* FocusedGrid() const;

    // Action state on the next idle moment / at once.
    void requestActionsUpdate();
    void updateActionsNow();

    // The screen a maximized data window takes: below the main window, or 500 pixels from the
    // top and 600 high without one.
    static QRect MaximizedGeometry(const QRect& workArea, const QWidget* mainWindow);

    // The window's own session never connects on purpose: this is the warning it shows.
    QString SuperfluousConnectText() const;

protected:
    // Throws db::Abort: the current operation ends silently.
    virtual void AbortOperation();
    virtual void CurrentQueryChanged(db::Query* query) {}
    virtual bool GetCheckFldValue(const db::Dataset& dataset, const db::Field* field);
    virtual void SetCheckFldValue(db::Dataset& dataset, const db::Field* field, bool value);
    // Space flips the check column; returns whether the key was taken.
    virtual bool GridKeyDown(IDBGrid& grid, QKeyEvent* event);
    virtual void DoFilter();
    virtual void DoFind();
    virtual void DoSort();
    virtual void DoReport();
    // A row range for mass selection: two (row, column) bound pairs.
    virtual bool HasSelectedRange() { return false; }
    virtual std::pair<int, int> GetRangeBoundA() { return {0, 0}; }
    virtual std::pair<int, int> GetRangeBoundB() { return {0, 0}; }
    // The focused grid; otherwise a box "Выберите таблицу" and nullptr.
    virtual DBGrid* ActiveGrid();
    virtual void SetupNavigatorHints(RecordNavigator* navigator);
    // The adapter class of a grid: TDBGridIntObj for the standard family, none otherwise.
    virtual GridIntClass DynamicAssignGridIntClass(DBGrid* grid);
    virtual void AfterComponentsLoaded() {}
    // The current query's rows or position changed.
    virtual void RecordCountChanged(db::Dataset* dataset) {}
    virtual void SetupQuery(db::Query* query);
    // pFind and pReport only for a dataset with rows.
    virtual void UpdateGridActions();
    virtual void RegisterSetupHandlers();
    virtual void UnregisterSetupHandlers();
    virtual void PrepareQueryMacros(db::Query* query, db::Macro& macro) {}
    virtual void SetupLabel(QLabel* label) {}
    virtual void SetupEdit(QLineEdit* edit);
    virtual void SetupToolBar(QToolBar* toolBar) {}
    virtual void SetupGrid(DBGrid* grid);
    virtual void SetupNavigator(RecordNavigator* navigator);
    // Called when the sort orders are saved.
    virtual void BeforeSaveSettings() {}
    // Enabling and visibility of the window's actions on every idle update; the base runs
    // UpdateGridActions while a grid has the focus.
    virtual void ActionsUpdate();

    // The check column's painter and click handler.
    bool DrawCheckCell(IDBGrid& grid, const DrawCellContext& cell);
    void CheckCellClick(IDBGrid& grid, db::Field* field);

    // Set-up handlers for the components of one class (and of classes derived from it), applied
    // to every component of the window of that class; RegisterSetupHandlers adds the base's.
    using SetupHandler = std::function<void(QObject*)>;
    void RegisterSetupHandler(const QMetaObject& componentClass, SetupHandler handler);

    // Saves the sort orders (once): on close, or on destruction of a window never closed.
    void SaveSettings();

    void DoCreate() override;
    void SetupCaptions() override;
    void done(int result) override;
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct ComponentGroup;
    static const QList<framework::ActionRow<TBaseForm>>& ActionRows();
    // Handlers of the shared actions: creation completes first.
    static std::function<void(TBaseForm&)> runStep(void (TBaseForm::*step)());
    static std::function<void(TBaseForm&)> moveStep(void (db::Dataset::*step)());
    void refreshActive();
    void bindComponent(QObject* component);
    void bindNewComponents();
    QList<QObject*> components() const;
    QList<db::Query*> registryQueries() const;
    void applySetupHandlers();
    void watchRecordCount(db::Dataset* dataset);
    void checkGridHints();
    void reportPrepareError(const db::Query& query, const QString& error);
    void massSelect(DBGrid* grid, int mode);
    db::Dataset* activeDataset();

    db::Session* mSession = nullptr;
    QString mShema;
    bool mBound = false;
    bool mReady = false;
    bool mSaved = false;
    bool mFilterIndicatorsOn = false;
    QString mBusyText;
    QString mCheckFieldName = QString::fromLatin1(kCheckFieldName);
    QPointer<db::Query> mCurrentQuery;

    TDBIntList mGridList;
    std::map<const DBGrid*, std::unique_ptr<TDBGridOfQuery>> mIndicators;
    QHash<const db::Dataset*, QString> mSearchFields;
    QHash<const db::Dataset*, QPointer<db::Dataset>> mMasters;
    std::vector<std::unique_ptr<ComponentGroup>> mRegistry;
    QList<QPointer<QObject>> mBoundComponents;
    QList<QPointer<QObject>> mCountWatched;
    QList<QMetaObject::Connection> mConnections; // to senders that may outlive the window

    db::Session* mMainSession = nullptr;
    db::Query* mOraQuery1 = nullptr;
    QMenu* mPopupMenu1 = nullptr;
    QuickSearch* mQSearch = nullptr;
    QObject* mBeepFilter = nullptr;
    IdleActionUpdate* mIdleUpdate = nullptr;
    framework::ActionTable mActions;
    bool mPlacing = false;
};

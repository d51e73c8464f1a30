#pragma once

#include "ActionTable.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class DBGrid;
class QAction;
class QTimer;
class IdleActionUpdate;
class RecordNavigator;
struct DrawCellContext;

namespace db {
class Dataset;
}

// Light base of the console's own windows. It has no session or schema of its own: its windows
// work with the data module's components. At creation every record navigator gets its hints
// (first, prior, next, last, five empty ones, refresh) and images, every data grid the window's
// cell painting, every standard grid moves its record with the mouse wheel, and Ctrl+Del is
// swallowed by `actCtrlDelBlock` so no grid ever deletes a row on it.
//
// A derived window builds its controls in its constructor (a .ui layout on the window itself, or
// code). Creation is completed by ensureCreated(), which runs on its own before the window is
// first shown and before any of the base's actions does its work; a window whose constructor
// needs its grids set up may call it at its end, provided no class derives from it further.
class TTevBaseForm : public QDialog
{
    Q_OBJECT

public:
    // Names of the window's actions.
    struct Cmd
    {
        static constexpr char actCtrlDelBlock[] = "actCtrlDelBlock";
    };

    explicit TTevBaseForm(QWidget* owner = nullptr);
    ~TTevBaseForm() override;

    // Runs FormCreate and SetupCaptions, then sets up every grid and navigator of the window.
    // Only the first call does anything.
    void ensureCreated();
    bool isCreated() const { return mCreated; }

    QAction* actCtrlDelBlock() const { return &mTevActions.action(Cmd::actCtrlDelBlock); }

    // Fields the light base draws as check boxes: "ISVISIBLE" and "ISUPDATE", and for the Unicode
    // grid family also "RCHECK"; a box is marked when the field's integer value is 1.
    static bool isCheckBoxField(const DBGrid& grid, const QString& fieldName);

    // The window's action state is brought up to date on the next idle moment (focus changes,
    // dataset changes of its grids and navigators and showing the window ask for it already).
    void requestActionsUpdate();
    // The same at once.
    void updateActionsNow();

    // Sets up a grid or navigator added after creation.
    void setupLateGrid(DBGrid* grid) { SetupGrid(grid); }
    void setupLateNavigator(RecordNavigator* navigator) { SetupNavigator(navigator); }

protected:
    // The window's own creation handler: its controls exist, they are not set up yet.
    virtual void FormCreate() {}
    // Captions and hints of the window; called at creation and again after a language switch.
    virtual void SetupCaptions() {}
    // Each time the window is shown, after creation.
    virtual void FormShow() {}
    // Enabling and visibility of the window's actions, on every idle update.
    virtual void ActionsUpdate() {}

    virtual void SetupGrid(DBGrid* grid);
    virtual void SetupNavigator(RecordNavigator* navigator);
    // Check boxes for the check-box fields, background colours for every other cell; returns
    // true when it painted the cell itself.
    virtual bool DrawGridCell(DBGrid& grid, const DrawCellContext& cell);

    void showEvent(QShowEvent* event) override;

    // Datasets whose changes ask for an action update.
    void watchDataset(db::Dataset* dataset);

private:
    static const QList<framework::ActionRow<TTevBaseForm>>& ActionRows();

    framework::ActionTable mTevActions;
    IdleActionUpdate* mIdleUpdate = nullptr;
    QList<QPointer<QObject>> mWatched;
    QList<QMetaObject::Connection> mConnections; // to senders that may outlive the window
    bool mCreated = false;
    bool mCreating = false;
};

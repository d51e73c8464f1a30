#pragma once

#include "ActionTable.h"
#include "TMainBaseForm.h"

class DBGrid;
class MasterDetailLink;
class RecordNavigator;
class TdmMain;

namespace db {
class Package;
class Query;
} // namespace db

// The regional managers: their names, passwords and the emitents given to each. Left the managers,
// right the emitents of the current one.
class TfmManager : public TMainBaseForm
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acAddManager[] = "acAddManager";
        static constexpr char acDelManager[] = "acDelManager";
        static constexpr char acEditPassword[] = "acEditPassword";
        static constexpr char acAddEmitent[] = "acAddEmitent";
        static constexpr char acDelEmitent[] = "acDelEmitent";
    };

    explicit TfmManager(TdmMain& dm, QWidget* owner = nullptr);
    ~TfmManager() override;

    QAction* action(const char* name) const { return &mActions.action(name); }
    db::Query* managers() const { return OraQuery1(); }
    db::Query* emitents() const { return mEmitents; }
    DBGrid* grdManagers() const { return mManagersGrid; }
    DBGrid* grdEmitents() const { return mEmitentsGrid; }
    RecordNavigator* navManagers() const { return mManagersNavigator; }
    RecordNavigator* navEmitents() const { return mEmitentsNavigator; }
    MasterDetailLink* emitentLink() const { return mLink; }

    void acAddManagerExecute();
    void acDelManagerExecute();
    void acEditPasswordExecute();
    void acAddEmitentExecute();
    void acDelEmitentExecute();

    // The message when giving emitents failed (the database's reason on the next line).
    static QString AddEmitentsErrorText(const QString& reason);

protected:
    void FormShow() override;
    void SetupCaptions() override;
    void SetupNavigatorHints(RecordNavigator* navigator) override;
    void ActionsUpdate() override;

private:
    static const QList<framework::ActionRow<TfmManager>>& ActionRows();
    bool hasManager() const;
    bool hasEmitent() const;
    QVariant currentManagerId() const;
    // The key of the row after the current one, or of the one before it at the end.
    static QVariant neighbourKey(db::Dataset* dataset, const QString& keyField);
    void reopenManagers(const QVariant& managerId);
    void reopenEmitents(const QVariant& emitentId);

    TdmMain& mDm;
    db::Query* mEmitents = nullptr;
    db::Package* mTevUtils = nullptr;
    DBGrid* mManagersGrid = nullptr;
    DBGrid* mEmitentsGrid = nullptr;
    RecordNavigator* mManagersNavigator = nullptr;
    RecordNavigator* mEmitentsNavigator = nullptr;
    MasterDetailLink* mLink = nullptr;
    framework::ActionTable mActions;
};

namespace reference {

// The managers' window as the main window opens it: modal, freed when it closes.
void ShowManagers(QWidget* owner, TdmMain& dm);

} // namespace reference

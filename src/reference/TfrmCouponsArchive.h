#pragma once

#include "ActionTable.h"
#include "TfmMainTEV.h"

#include <QDate>
#include <memory>
#include <optional>

class DBGrid;
class QDateEdit;
class QPushButton;
class RecordNavigator;
class TdmMain;

namespace db {
class Query;
}

namespace Ui {
class TfrmCouponsArchive;
}

// Moves the coupons created before a chosen day into the portal's archive, in sessions the portal
// records; an unfinished last session can be continued. A finished run is committed at once, a
// failed one rolled back, so the archive and the live coupons never part company.
class TfrmCouponsArchive : public TfmMainTEV
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acArchive[] = "acArchive";
        static constexpr char acClose[] = "acClose";
    };
    static constexpr char kIdField[] = "ID";
    static constexpr char kStateField[] = "STATE";
    static constexpr int kFinished = 3;

    explicit TfrmCouponsArchive(TdmMain& dm, QWidget* owner = nullptr);
    ~TfrmCouponsArchive() override;

    // The texts of the session list and of the active-connections check.
    static QString SessionsSql();
    static QString ActiveConnectionsSql();

    QAction* acArchive() const { return &mActions.action(Cmd::acArchive); }
    QAction* acClose() const { return &mActions.action(Cmd::acClose); }
    db::Query* qryArchive() const { return mSessions; }
    DBGrid* dbgSessions() const;
    RecordNavigator* DBNavigator1() const;
    QDateEdit* ArchiveDate() const;

    // The latest session the portal recorded (latest date, then highest id), whatever the list's
    // order and filter: its id and state; none when there is no session.
    struct LastSession
    {
        int id = 0;
        QVariant state;
    };
    std::optional<LastSession> ReadLastSession();
    // Whether another program holds a connection of an account of the portal.
    bool HasActiveConnections();

    // The archive run ("Переместить талоны в архив").
    void acArchiveExecute();
    // "Закрыть" and Esc: asks first when the last session is unfinished.
    void reject() override;

protected:
    void FormShow() override;
    void SetupCaptions() override;

private:
    static const QList<framework::ActionRow<TfrmCouponsArchive>>& ActionRows();
    // Whether the window may close: asks when the last session is unfinished.
    bool CanClose();
    void reopenSessions();

    TdmMain& mDm;
    std::unique_ptr<Ui::TfrmCouponsArchive> ui;
    framework::ActionTable mActions;
    db::Query* mSessions = nullptr;
    db::Query* mConnections = nullptr;
    db::Query* mLast = nullptr;
    bool mCloseAsked = false;
};

// Opens the coupons archive modally and frees the window afterwards.
void ShowCouponsArchive(TdmMain& dm, QWidget* owner);

#pragma once

#include "ActionTable.h"
#include "TTevBaseForm.h"

class DBGrid;
class QLabel;
class QPushButton;
class RecordNavigator;
class TdmMain;

namespace db {
class Query;
}

// Maximum limits per active service, of one client (rows still at the emitent's values are
// greyed, and can all be brought back to them) or of one emitent.
class TfrmLimitsEdit : public TTevBaseForm
{
    Q_OBJECT

public:
    enum class Mode
    {
        Client,
        Emitent
    };
    struct Cmd
    {
        static constexpr char actEditMaxLimit[] = "actEditMaxLimit";
        static constexpr char actLoadDefaults[] = "actLoadDefaults";
    };

    TfrmLimitsEdit(TdmMain& dm, Mode mode, int id, QWidget* owner = nullptr);
    ~TfrmLimitsEdit() override;

    DBGrid* grid() const { return mGrid; }
    db::Query* query() const { return mQuery; }
    QLabel* legend() const { return mLegend; }
    QAction* actEditMaxLimit() const { return &mActions.action(Cmd::actEditMaxLimit); }
    QAction* actLoadDefaults() const { return &mActions.action(Cmd::actLoadDefaults); }

    void actEditMaxLimitExecute();
    void actLoadDefaultsExecute();

    // A row still at the emitent's value (client mode).
    bool isDefaultRow(int row) const;

    static void ShowClientLimits(TdmMain& dm, int clientId, QWidget* owner);
    static void ShowEmitentLimits(TdmMain& dm, int emitentId, QWidget* owner);

protected:
    void SetupCaptions() override;
    bool DrawGridCell(DBGrid& grid, const DrawCellContext& cell) override;
    void done(int result) override;

private:
    static const QList<framework::ActionRow<TfrmLimitsEdit>>& ActionRows();
    void refreshAt(const QVariant& serviceId);

    TdmMain& mDm;
    Mode mMode;
    int mId;
    db::Query* mQuery;
    framework::ActionTable mActions;
    DBGrid* mGrid;
    RecordNavigator* mNavigator;
    QLabel* mNote;
    QLabel* mSwatch;
    QLabel* mLegend;
    QPushButton* mClose;
};

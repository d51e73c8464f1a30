#pragma once

#include "DRRequestQuery.h"
#include "TMainBaseForm.h"

#include <memory>

class DBGrid;
class QRadioButton;
class RecordNavigator;
struct DrawCellContext;

namespace Ui {
class TfmDRRequest;
}

// The requests the clients of one emitent filed on the web, of all four kinds, with their state.
// Three radio groups filter the rows already read; each row is coloured by its kind.
class TfmDRRequest : public TMainBaseForm
{
    Q_OBJECT

public:
    TfmDRRequest(QWidget* owner, const QString& shema, db::Session* session, int emitentId);
    ~TfmDRRequest() override;

    int EmitentId() const { return mEmitentId; }
    DBGrid* dbgRequests() const;
    RecordNavigator* DBNavigator1() const;
    // The radio buttons of the groups, in item order (the last one is "Все").
    QList<QRadioButton*> KindItems() const;
    QList<QRadioButton*> ClientTypeItems() const;
    QList<QRadioButton*> StateItems() const;

    // The filter the three groups give now.
    QString CurrentFilter() const;

protected:
    void FormShow() override;
    void SetupCaptions() override;
    void SetupNavigatorHints(RecordNavigator* navigator) override;

private:
    void ApplyFilter();
    bool DrawRequestCell(const DrawCellContext& cell);
    void setColumnTitles();

    std::unique_ptr<Ui::TfmDRRequest> ui;
    int mEmitentId;
};

// Opens the requests of the emitent modally and frees the window afterwards.
void ShowDRRequests(QWidget* owner, db::Session* session, const QString& shema, int emitentId);

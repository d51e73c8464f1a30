#pragma once

#include "ActionTable.h"
#include "TTevBaseForm.h"

#include <QHash>
#include <QPointer>
#include <QString>

class QAction;

// Light list window: the find, sort, filter and report actions of the grid tools on whichever grid
// has the focus (nothing happens when the focus is not on a grid). Before each call the dataset's
// fields are marked for the grid tools; the grid's hint is the tools' title.
//
// Menus, tool bars and context menus of derived windows reuse these actions.
class TfmMainTEV : public TTevBaseForm
{
    Q_OBJECT

public:
    // Names of the window's actions.
    struct Cmd
    {
        static constexpr char acFind[] = "acFind";     // Ctrl+F
        static constexpr char acSort[] = "acSort";     // Ctrl+S
        static constexpr char acFilter[] = "acFilter"; // Ctrl+A
        static constexpr char acReport[] = "acReport"; // Ctrl+R
    };

    explicit TfmMainTEV(QWidget* owner = nullptr);
    ~TfmMainTEV() override;

    QAction* acFind() const { return &mGridActions.action(Cmd::acFind); }
    QAction* acSort() const { return &mGridActions.action(Cmd::acSort); }
    QAction* acFilter() const { return &mGridActions.action(Cmd::acFilter); }
    QAction* acReport() const { return &mGridActions.action(Cmd::acReport); }
    const framework::ActionTable& gridActions() const { return mGridActions; }

    // The grid that has the window's focus, nullptr when the focus is on anything else.
    DBGrid* FocusedGrid() const;

    // Name of the field the last search on this dataset ended on; empty when none.
    QString SearchField(const db::Dataset* dataset) const;

    // When the grid's dataset has rows: the find dialog, starting at the remembered search field
    // (the first field when none); the field it ends on is remembered.
    void acFindExecute();
    // The sort dialog over the grid's query (a box says so for a dataset that is no query).
    void acSortExecute();
    // The filter dialog over the grid's query.
    void acFilterExecute();
    // When the grid's dataset has rows: the grid report.
    void acReportExecute();

protected:
    // The four actions' captions and hints from the catalogue (rstrFind, rstrSort, rstrFilter,
    // rstrReport); a derived window calls it first when it sets its own.
    void SetupCaptions() override;

private:
    static const QList<framework::ActionRow<TfmMainTEV>>& ActionRows();

    framework::ActionTable mGridActions;
    QHash<const db::Dataset*, QString> mSearchFields;
    QList<QMetaObject::Connection> mConnections;
};

#pragma once

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
    explicit TfmMainTEV(QWidget* owner = nullptr);
    ~TfmMainTEV() override;

    QAction* acFind() const { return mFind; }     // Ctrl+F
    QAction* acSort() const { return mSort; }     // Ctrl+S
    QAction* acFilter() const { return mFilter; } // Ctrl+A
    QAction* acReport() const { return mReport; } // Ctrl+R

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
    QAction* mFind = nullptr;
    QAction* mSort = nullptr;
    QAction* mFilter = nullptr;
    QAction* mReport = nullptr;
    QHash<const db::Dataset*, QString> mSearchFields;
    QList<QMetaObject::Connection> mConnections;
};

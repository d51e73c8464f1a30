#pragma once

#include "DBGrid.h"
#include "Query.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QToolButton>

class QAction;

// Filter indicator of a grid whose dataset is an SQL query: a 24 by 24 button in the grid's
// bottom-right corner, shown after the query opens with a filter condition and hidden when it
// opens without one or closes. Clicking it focuses the grid and runs the window's filter action.
class TDBGridOfQuery : public QObject
{
    Q_OBJECT

public:
    // The filter dialog's text for "no condition".
    static constexpr char kNoCondition[] = "((1=1)aNd(1=1))";
    static constexpr int kButtonSize = 24;

    TDBGridOfQuery(DBGrid* grid, db::Query* query, QAction* filterAction, QObject* parent = nullptr);
    // Removes the button and stops listening to the query.
    ~TDBGridOfQuery() override;

    DBGrid* grid() const { return mGrid; }
    db::Query* query() const { return mQuery; }
    QToolButton* button() const { return mButton; }

    // Whether a query's SQL filter text is a condition the button reports.
    static bool showsFilter(const QString& filterSql);

    // Shows or hides the button for the query's state now.
    void update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QPointer<DBGrid> mGrid;
    QPointer<db::Query> mQuery;
    QPointer<QAction> mFilterAction;
    QPointer<QToolButton> mButton;
    QList<QMetaObject::Connection> mConnections;
};

#pragma once

#include "ActionTable.h"

#include <QDialog>

class DBGrid;
class RecordNavigator;
class TADBonusRanges;

namespace db {
class Session;
}

// The bonus ranges of one kind: the list with a navigator and the add, edit and delete buttons
// (a double click edits). The ranges object does the work.
class TfmADBonusRanges : public QDialog
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acAddRange[] = "acAddRange";
        static constexpr char acEditRange[] = "acEditRange";
        static constexpr char acDeleteRange[] = "acDeleteRange";
    };

    TfmADBonusRanges(TADBonusRanges& ranges, QWidget* parent = nullptr);
    ~TfmADBonusRanges() override;

    TADBonusRanges& Ranges() const { return mRanges; }
    QAction* action(const char* name) const { return &mActions.action(name); }
    DBGrid* dbgRanges() const { return mGrid; }
    RecordNavigator* DBNavigator1() const { return mNavigator; }

private:
    static const QList<framework::ActionRow<TfmADBonusRanges>>& ActionRows();

    TADBonusRanges& mRanges;
    framework::ActionTable mActions;
    DBGrid* mGrid = nullptr;
    RecordNavigator* mNavigator = nullptr;
};

// The ranges of one kind (0 ПРМЕС, 1 Поправка) in their window, shown modally; both are freed
// afterwards.
void ShowBonusRanges(QWidget* owner, db::Session* session, const QString& shema, int bonusType);

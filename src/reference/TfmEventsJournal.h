#pragma once

#include "ActionTable.h"
#include "TMainBaseForm.h"

#include <QDateTime>
#include <memory>

class DBGrid;
class DateRangeSelector;
class QPlainTextEdit;
class RecordNavigator;

namespace Ui {
class TfmEventsJournal;
}

// The portal's journal of changes over a period: who changed which parameter of which object,
// with the value before and after the change shown decoded below the list.
class TfmEventsJournal : public TMainBaseForm
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acSetFilter[] = "acSetFilter";
    };
    static constexpr char kJournalId[] = "JOURNAL_ID";
    static constexpr char kJournalDate[] = "JOURNAL_DATE";
    static constexpr char kValueBefore[] = "PARAM_VALUE_BEFORE";
    static constexpr char kValueAfter[] = "PARAM_VALUE_AFTER";

    TfmEventsJournal(QWidget* owner, const QString& shema, db::Session* session);
    ~TfmEventsJournal() override;

    // The main query's text: lines joined by CR LF, macros unexpanded.
    static QString JournalSql();

    QAction* acSetFilter() const { return &mActions.action(Cmd::acSetFilter); }
    DateRangeSelector* Period() const;
    DBGrid* dbgJournal() const;
    RecordNavigator* DBNavigator1() const;
    QPlainTextEdit* BeforeValue() const;
    QPlainTextEdit* AfterValue() const;

    // Reads the journal of the period as it now stands.
    void acSetFilterExecute();

protected:
    void FormShow() override;
    void SetupCaptions() override;
    void SetupNavigatorHints(RecordNavigator* navigator) override;

private:
    static const QList<framework::ActionRow<TfmEventsJournal>>& ActionRows();
    void showDetail();
    void setColumnTitles();

    std::unique_ptr<Ui::TfmEventsJournal> ui;
    framework::ActionTable mActions;
    bool mShown = false;
};

// Opens the events journal modally and frees the window afterwards.
void ShowEventsJournal(QWidget* owner, db::Session* session, const QString& shema);

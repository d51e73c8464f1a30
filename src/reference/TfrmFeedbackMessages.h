#pragma once

#include "ActionTable.h"
#include "TMainBaseForm.h"

#include <memory>

class DBGrid;
class DateRangeSelector;
class QComboBox;
class QPlainTextEdit;
class RecordNavigator;

namespace Ui {
class TfrmFeedbackMessages;
}

// The messages the portal's users sent through its feedback function, over a period and of one
// type or of all, with the text of the current message below the list.
class TfrmFeedbackMessages : public TMainBaseForm
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acSetFilter[] = "acSetFilter";
    };
    static constexpr char kMessageNum[] = "MESSAGE_NUM";
    static constexpr char kTextMsg[] = "TEXT_MSG";
    static constexpr char kTypeId[] = "TYPE_ID";
    static constexpr char kTypeName[] = "TYPE_NAME";

    TfrmFeedbackMessages(QWidget* owner, const QString& shema, db::Session* session);
    ~TfrmFeedbackMessages() override;

    // The texts of the list and of the type choice: lines joined by CR LF, macros unexpanded.
    static QString MessagesSql();
    static QString TypesSql();

    QAction* acSetFilter() const { return &mActions.action(Cmd::acSetFilter); }
    db::Query* qryTypes() const { return mTypes; }
    DateRangeSelector* Period() const;
    QComboBox* TypeChoice() const;
    DBGrid* dbgMessages() const;
    RecordNavigator* DBNavigator1() const;
    QPlainTextEdit* MessageText() const;

    // Reads the list for the period and the chosen type as they now stand.
    void acSetFilterExecute();

protected:
    void FormShow() override;
    void SetupCaptions() override;
    void SetupNavigatorHints(RecordNavigator* navigator) override;

private:
    static const QList<framework::ActionRow<TfrmFeedbackMessages>>& ActionRows();
    void fillTypes();
    void showText();
    void setColumnTitles();

    std::unique_ptr<Ui::TfrmFeedbackMessages> ui;
    framework::ActionTable mActions;
    db::Query* mTypes = nullptr;
    bool mShown = false;
};

// Opens the feedback messages modally and frees the window afterwards.
void ShowFeedbackMessages(QWidget* owner, db::Session* session, const QString& shema);

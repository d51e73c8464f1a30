#pragma once

#include "ActionTable.h"
#include "TMainBaseForm.h"

#include <memory>

class DBGrid;
class QAction;
class RecordNavigator;

namespace db {
class Package;
class Session;
} // namespace db

namespace Ui {
class TfrmPhraseTranslate;
}

// The translations of one portal phrase: every web language once, with the phrase's text in it or
// an empty cell, each editable through the one-line text dialog.
class TfrmPhraseTranslate : public TMainBaseForm
{
    Q_OBJECT

public:
    TfrmPhraseTranslate(QWidget* owner, const QString& shema, db::Session* session, int phraseTypeId,
                        int phraseId);
    ~TfrmPhraseTranslate() override;

    int PhraseTypeId() const { return mTypeId; }
    int PhraseId() const { return mPhraseId; }

    struct Cmd
    {
        static constexpr char acEditPhrase[] = "acEditPhrase";
    };
    QAction* acEditPhrase() const;
    DBGrid* dbgPhrases() const;
    RecordNavigator* DBNavigator1() const;
    db::Package* TEV_UTILS() const { return mTevUtils; }

    // The main query's text: lines joined by CR LF, macros unexpanded.
    static QString PhrasesSql();

protected:
    void FormShow() override;
    void SetupCaptions() override;
    void SetupNavigatorHints(RecordNavigator* navigator) override;
    GridIntClass DynamicAssignGridIntClass(DBGrid* grid) override;

private:
    static const QList<framework::ActionRow<TfrmPhraseTranslate>>& ActionRows();
    void acEditPhraseExecute();

    std::unique_ptr<Ui::TfrmPhraseTranslate> ui;
    int mTypeId;
    int mPhraseId;
    framework::ActionTable mActions;
    db::Package* mTevUtils = nullptr;
};

// Opens the translations of a phrase (type: 3 transaction group, 4 feedback type) modally and
// frees the window afterwards; the caller re-reads its own list.
void ShowPhraseTranslation(QWidget* owner, db::Session* session, const QString& shema, int phraseTypeId,
                           int phraseId);

#pragma once

#include "ActionTable.h"
#include "TfmMainTEV.h"

class DBGrid;
class MasterDetailLink;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class RecordNavigator;
class TdmMain;

namespace db {
class Query;
}

// The web help system of one web language: its items with the client kinds they apply to, the
// current item's description below. Items with ids up to 9999 come with the portal.
class TfrmHelpEdit : public TfmMainTEV
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acAddTrnType[] = "acAddTrnType";
        static constexpr char acEditTrnType[] = "acEditTrnType";
        static constexpr char acDelTrnType[] = "acDelTrnType";
    };

    explicit TfrmHelpEdit(TdmMain& dm, QWidget* owner = nullptr);
    ~TfrmHelpEdit() override;

    QAction* action(const char* name) const { return &mActions.action(name); }
    DBGrid* grid() const { return mGrid; }
    QComboBox* cbWebLang() const { return mWebLang; }
    QPlainTextEdit* memDesc() const { return mDesc; }
    db::Query* list() const;
    int webLanguageId() const;
    // Picks another web language (as the combo box does).
    void selectWebLanguage(int langId);

    void acAddTrnTypeExecute();
    void acEditTrnTypeExecute();
    void acDelTrnTypeExecute();

protected:
    void SetupCaptions() override;
    void FormShow() override;
    void ActionsUpdate() override;

private:
    static const QList<framework::ActionRow<TfrmHelpEdit>>& ActionRows();
    bool hasItems() const;
    void reopen(const QVariant& id);

    TdmMain& mDm;
    DBGrid* mGrid = nullptr;
    RecordNavigator* mNavigator = nullptr;
    QLabel* mWebLangLabel = nullptr;
    QComboBox* mWebLang = nullptr;
    QPlainTextEdit* mDesc = nullptr;
    QPushButton* mClose = nullptr;
    MasterDetailLink* mDescLink = nullptr;
    framework::ActionTable mActions;
};

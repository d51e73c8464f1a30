#pragma once

#include "TMainBaseForm.h"

#include <QStringList>

class DBGrid;
class QCheckBox;
class QComboBox;
class QLabel;
class RecordNavigator;

namespace db {
class Package;
}

// What the web calls a processing notion (a service scheme, a term) in each web language: a list
// for the chosen web language, renamed one row at a time. The check box tells the main window
// whether the web uses these names. TfmSchemesForWeb and TfmTermsForWeb say which notion.
class TfmWebNames : public TMainBaseForm
{
    Q_OBJECT

public:
    // What differs between the notions.
    struct Kind
    {
        const char* objectName;
        const char* editAction;     // name of the edit action
        const char16_t* captionKey; // the window's caption
        const char16_t* shortNameKey;
        const char16_t* promptKey; // caption of the edit dialog
        int maxLength;             // of a web name, in characters
        QString sql;
        QStringList keyFields;
        QString shortNameField;
        QString nameField;
        QString procedure; // called with the key values, the name (escaped) and the web language
    };

    TfmWebNames(QWidget* owner, const QString& shema, db::Session* session, int languageId, Kind kind);
    ~TfmWebNames() override;

    QAction* acEdit() const { return mEdit; }
    QCheckBox* chkUseInWeb() const { return mUseInWeb; }
    bool useInWeb() const;
    void setUseInWeb(bool on);
    QComboBox* cbWebLang() const { return mWebLang; }
    DBGrid* grid() const { return mGrid; }
    db::Query* list() const { return OraQuery1(); }
    int webLanguageId() const;
    // Picks another web language (as the combo box does): the list is reopened on the same row.
    void selectWebLanguage(int langId);

    void acEditExecute();

protected:
    void FormShow() override;
    void SetupCaptions() override;
    void ActionsUpdate() override;

private:
    QVariantList currentKey() const;
    void reopen(const QVariantList& key);

    int mLanguageId;
    Kind mKind;
    QAction* mEdit = nullptr;
    db::Package* mTevUtils = nullptr;
    QCheckBox* mUseInWeb = nullptr;
    QLabel* mWebLangLabel = nullptr;
    QComboBox* mWebLang = nullptr;
    DBGrid* mGrid = nullptr;
    RecordNavigator* mNavigator = nullptr;
};

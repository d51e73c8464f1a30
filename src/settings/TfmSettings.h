#pragma once

#include "ActionTable.h"
#include "PortalSettingsKeys.h"
#include "TDlgBaseForm.h"

#include <QHash>
#include <QList>
#include <optional>

class ClientsWorkArea;
class DBGrid;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class RecordNavigator;
class TdmMain;

// "Общие настройки": the portal's settings on four pages, the feedback types, the letter templates
// per web language and the order of service points on the web.
//
// The settings are read when the window is created. "Применить" checks the entries and writes
// everything that changed in one transaction while the window is still open; on a failure nothing is
// stored and the window stays with its edits. A control the administrator did not change leaves its
// key as stored, so odd stored values are never rewritten behind anyone's back.
class TfmSettings : public TDlgBaseForm
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acAddFeedbackType[] = "acAddFeedbackType";
        static constexpr char acEditFeedbackType[] = "acEditFeedbackType";
        static constexpr char acDeleteFeedbackType[] = "acDeleteFeedbackType";
        static constexpr char acEditTranslations[] = "acEditTranslations";
    };
    enum TemplateGroup
    {
        FeedbackTemplates = 0, // template 1
        RecoveryTemplates = 1  // templates 2 and 3
    };
    static constexpr int kMaxTypeNameLength = 255;
    static constexpr int kMaxTemplateHeader = 255;
    static constexpr int kMaxRecoveryMessage = 10000;

    // The first check that fails on "Применить": its message, page and the control to focus.
    struct Failure
    {
        QString message;
        int page = 0;
        QWidget* focus = nullptr;
    };

    TfmSettings(QWidget* owner, TdmMain& dm);
    ~TfmSettings() override;

    QAction* action(const char* name) const { return &mActions.action(name); }
    QTabWidget* pages() const { return mPages; }
    // The check box, edit, spin box or list of a key (for a box with choices: the box).
    QWidget* control(const QString& key) const;
    // A radio button of a key shown as choices (also the choices of the send and blocking boxes).
    QAbstractButton* choiceButton(const QString& key, int choice) const;
    PortalSettingsKeys::ControlState state(const QString& key) const;
    void setState(const QString& key, const PortalSettingsKeys::ControlState& state);
    // Service points on the web: 0 by number, 1 by name.
    int sortChoice() const;
    QAbstractButton* sortButton(int choice) const;

    DBGrid* grdFeedbackTypes() const { return mTypesGrid; }
    db::Query* feedbackTypes() const;
    RecordNavigator* typesNavigator() const { return mNavigator; }

    QComboBox* templateLanguages(TemplateGroup group) const { return mTemplates[group].languages; }
    QLineEdit* templateHeader(int templateId) const;
    QPlainTextEdit* templateMessage(int templateId) const;
    bool templatesChanged(TemplateGroup group) const { return mTemplates[group].changed; }
    // The web language the group's templates show; 0 when none is chosen.
    int templateLanguage(TemplateGroup group) const { return mTemplates[group].langId; }

    void acAddFeedbackTypeExecute();
    void acEditFeedbackTypeExecute();
    void acDeleteFeedbackTypeExecute();
    void acEditTranslationsExecute();

    std::optional<Failure> Validate() const;
    // Validates and saves; the window closes only when everything was stored.
    void accept() override;

protected:
    void FormShow() override;
    void SetupCaptions() override;
    void ActionsUpdate() override;

private:
    struct KeyControls
    {
        QCheckBox* box = nullptr;
        QButtonGroup* group = nullptr;
        QComboBox* combo = nullptr;
        QSpinBox* spin = nullptr;
        QLineEdit* edit = nullptr;
        QPlainTextEdit* lines = nullptr;
    };
    struct Templates
    {
        QComboBox* languages = nullptr;
        QList<int> ids; // templates of the group
        bool changed = false;
        int langId = 0;
    };
    struct Caption
    {
        QWidget* widget;
        const char16_t* key;
    };

    static const QList<framework::ActionRow<TfmSettings>>& ActionRows();
    QWidget* createGeneralPage();
    QWidget* createFeedbackPage();
    QWidget* createRecoveryPage();
    QWidget* createSecurityPage();
    QWidget* createTemplateGroup(TemplateGroup group, QWidget* parent);
    QTableWidget* createLegend(QWidget* parent, int rows);

    QCheckBox* addBox(const char* key, const char16_t* captionKey, QWidget* parent);
    QLineEdit* addEdit(const char* key, QWidget* parent);
    QSpinBox* addSpin(const char* key, QWidget* parent);
    QButtonGroup* addChoices(const char* key, QList<const char16_t*> captionKeys, QWidget* parent,
                             QList<QAbstractButton*>& buttons);
    QLabel* addLabel(const char16_t* captionKey, QWidget* parent);
    QList<QWidget*> addMailServerRows(const char* prefix, QFormLayout* form, QWidget* parent);
    void caption(QWidget* widget, const char16_t* key);
    static void checkChoice(QButtonGroup* group, int choice);

    void readSettings();
    void readSortChoice();
    void updateEnabling();
    void reopenTypes(const QVariant& typeId);
    bool hasTypes() const;
    int currentTypeId() const;

    void fillTemplateLanguages();
    void templateLanguageChosen(TemplateGroup group);
    void loadTemplates(TemplateGroup group);
    // The group's templates for its language: writes each (the caller commits).
    void writeTemplates(TemplateGroup group);
    std::optional<Failure> templateLengthFailure(TemplateGroup group) const;
    void markChanged(TemplateGroup group);

    // Everything "Применить" stores, as one transaction; false (after the message) when it failed.
    bool save();
    QList<QPair<QString, QString>> changedKeys() const;

    // A text of this window that the catalogue lacks, in the interface language.
    QString own(const char* russian, const char* english) const;

    TdmMain& mDm;
    framework::ActionTable mActions;
    QTabWidget* mPages = nullptr;
    QHash<QString, KeyControls> mKeys;
    QHash<QString, QList<QAbstractButton*>> mChoiceButtons;
    QHash<QString, PortalSettingsKeys::ControlState> mLoaded;
    QList<Caption> mCaptions;
    QButtonGroup* mSort = nullptr;
    QList<QAbstractButton*> mSortButtons;
    // The choice shown after reading; -1 when the portal could not be asked.
    int mSortLoaded = -1;
    DBGrid* mTypesGrid = nullptr;
    RecordNavigator* mNavigator = nullptr;
    Templates mTemplates[2];
    QHash<int, QLineEdit*> mTemplateHeaders;
    QHash<int, QPlainTextEdit*> mTemplateMessages;
    QList<QTableWidget*> mLegends;
    QLabel* mDaysLabel = nullptr;
    QWidget* mFeedbackBody = nullptr;
    QWidget* mRecoveryBody = nullptr;
    QList<QWidget*> mFeedbackAuth;
    QList<QWidget*> mRecoveryAuth;
    QList<QWidget*> mPasswordRules;
    bool mLoading = false;
};

// The main window's "Общие настройки": opens the window; after a save the clients list is read
// again (the report-name switch may have changed) on the same client, with the detail panes hidden.
void ShowPortalSettings(QWidget* owner, TdmMain& dm, ClientsWorkArea* workArea);

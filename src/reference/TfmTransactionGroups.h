#pragma once

#include "ActionTable.h"
#include "TMainBaseForm.h"

class DBGrid;
class MasterDetailLink;
class QCheckBox;
class QLabel;
class RecordNavigator;

namespace db {
class Package;
class Query;
} // namespace db

// The transaction groups under which the web groups transaction types: the groups named in the
// interface language, the members of the current group, and how many types belong to no group.
// The check box tells the main window whether the web uses the groups at all.
class TfmTransactionGroups : public TMainBaseForm
{
    Q_OBJECT

public:
    struct Cmd
    {
        static constexpr char acInsTrnTypeGroup[] = "acInsTrnTypeGroup";
        static constexpr char acUpdTrnTypeGroup[] = "acUpdTrnTypeGroup";
        static constexpr char acDelTrnTypeGroup[] = "acDelTrnTypeGroup";
        static constexpr char acEditTranslations[] = "acEditTranslations";
        static constexpr char acUpdTrnTypeInGroup[] = "acUpdTrnTypeInGroup";
    };
    static constexpr int kMaxNameLength = 100;

    TfmTransactionGroups(QWidget* owner, const QString& shema, db::Session* session, int languageId);
    ~TfmTransactionGroups() override;

    QAction* action(const char* name) const { return &mActions.action(name); }
    QCheckBox* chkUseInWeb() const { return mUseInWeb; }
    bool useInWeb() const;
    void setUseInWeb(bool on);
    DBGrid* grdGroups() const { return mGroupsGrid; }
    DBGrid* grdMembers() const { return mMembersGrid; }
    QLabel* lblFreeTypes() const { return mFreeTypes; }
    db::Query* groups() const { return OraQuery1(); }
    db::Query* members() const { return mMembers; }
    // Transaction types in no group, as last counted.
    int freeTypeCount() const { return mFreeCount; }
    MasterDetailLink* memberLink() const { return mLink; }

    void acInsTrnTypeGroupExecute();
    void acUpdTrnTypeGroupExecute();
    void acDelTrnTypeGroupExecute();
    void acEditTranslationsExecute();
    void acUpdTrnTypeInGroupExecute();

    // The bottom line for a count of types in no group: its text and whether it warns.
    static QString freeTypesText(int count);
    static QColor freeTypesColour(int count);

protected:
    void FormShow() override;
    void SetupCaptions() override;
    void ActionsUpdate() override;

private:
    static const QList<framework::ActionRow<TfmTransactionGroups>>& ActionRows();
    bool hasGroups() const;
    int currentGroupId() const;
    void followGroup(const QVariant& groupId);
    void reopenGroups(const QVariant& groupId);

    int mLanguageId;
    db::Query* mMembers = nullptr;
    db::Query* mFreeQuery = nullptr;
    db::Package* mTevUtils = nullptr;
    DBGrid* mGroupsGrid = nullptr;
    DBGrid* mMembersGrid = nullptr;
    RecordNavigator* mNavigator = nullptr;
    QCheckBox* mUseInWeb = nullptr;
    QLabel* mFreeTypes = nullptr;
    MasterDetailLink* mLink = nullptr;
    int mFreeCount = 0;
    framework::ActionTable mActions;
};

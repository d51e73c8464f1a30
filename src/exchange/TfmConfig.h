#pragma once

#include "ExchangeFolders.h"
#include "ExchangeParams.h"
#include "TTevBaseForm.h"

#include <QHash>
#include <QList>
#include <functional>

class DBGrid;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class TSvcActionSet;
class TSvcControler;
class TdmMain;

namespace db {
class Query;
}

// "Настройки обмена": the exchange services' settings, their connection files, their control and
// the emitents' encryption. The window edits a copy of the parameters; they reach the portal
// through the write operation its caller gives it: before a service is started from the window,
// before connection files are generated, and on "Сохранить" (which then restarts the running
// services).
class TfmConfig : public TTevBaseForm
{
    Q_OBJECT

public:
    static constexpr char kImportService[] = "srvTEVWebInSrvc";
    static constexpr char kExportService[] = "srvTEVWebOutSrvc";

    using ParamsWriter = std::function<void(const ExchangeParams&)>;

    // kind: 1 import only, 2 export only, 3 both.
    TfmConfig(QWidget* owner, TdmMain& dm, int kind, const ExchangeParams& params, ParamsWriter writeParams);
    ~TfmConfig() override;

    int Kind() const { return mKind; }
    // The parameters as the window shows them.
    ExchangeParams Params() const;

    QAction* action(const QString& name) const { return mActions.value(name); }
    // Page titles in their order.
    QStringList PageTitles() const;
    QStackedWidget* pages() const { return mPages; }
    QListWidget* sideBar() const { return mSideBar; }
    TSvcControler* svcIn() const { return mSvcIn; }
    TSvcControler* svcOut() const { return mSvcOut; }
    DBGrid* grdEmitents() const { return mGrdEmitents; }
    db::Query* oqEmitents() const { return mEmitents; }
    QPushButton* btnSave() const { return mSave; }
    QPushButton* btnCancel() const { return mCancel; }
    QLineEdit* folderEdit(ExchangeFolders::Field field) const;
    QToolButton* chooseButton(ExchangeFolders::Field field) const;
    QToolButton* defaultButton(ExchangeFolders::Field field) const;

    // The emitents that own themselves, with their encryption settings.
    static QString EmitentsSql();
    // "[0042, 3] Name" of the emitents list.
    static QString EmitentLabel(const QVariant& number, const QVariant& filial, const QString& name);

    void actGenerateConnectionFileExecute();
    void actEditEmitentSecurityExecute();
    void btnSaveClick();

protected:
    void FormShow() override;
    void SetupCaptions() override;
    void ActionsUpdate() override;

private:
    struct FolderRow
    {
        ExchangeFolders::Field field;
        QLineEdit* edit = nullptr;
        QToolButton* choose = nullptr;
        QToolButton* byDefault = nullptr;
        QLabel* label = nullptr;
    };

    void createActions();
    QWidget* createGeneralPage();
    QWidget* createImportPage();
    QWidget* createExportPage();
    QWidget* createMailPage();
    QWidget* createServicesPage();
    QWidget* createSecurityPage();
    QWidget* folderRow(ExchangeFolders::Field field);
    void addPage(QWidget* page, const char16_t* titleKey);
    void load(const ExchangeParams& p);
    void updateDependents();
    void chooseFolder(ExchangeFolders::Field field);
    void defaultFolder(ExchangeFolders::Field field);
    void writeParams();
    void restartRunning();
    bool anyRunning() const;
    void openEmitents(int emitentId);
    QLabel* caption(QWidget* parent, const char16_t* key);

    TdmMain& mDm;
    int mKind;
    ExchangeParams mParams;
    ParamsWriter mWriteParams;
    QHash<QString, QAction*> mActions;
    QList<QPair<QWidget*, const char16_t*>> mCaptions; // widget, catalogue key
    QList<QPair<QWidget*, const char16_t*>> mPageTitles;
    QList<FolderRow> mFolders;

    QListWidget* mSideBar = nullptr;
    QStackedWidget* mPages = nullptr;
    QPushButton* mSave = nullptr;
    QPushButton* mCancel = nullptr;

    QLineEdit* mServer = nullptr;
    QLineEdit* mScheme = nullptr;
    QLineEdit* mOraHome = nullptr;
    QCheckBox* mExtendedLogs = nullptr;
    QSpinBox* mTimeOutInterval = nullptr;
    QSpinBox* mTimeOutCount = nullptr;
    QWidget* mRetryRow = nullptr;

    QSpinBox* mMailInterval = nullptr;
    QCheckBox* mPop3Enable = nullptr;
    QCheckBox* mCheckEmailThreadSeparate = nullptr;
    QCheckBox* mSaveToBackup = nullptr;
    QCheckBox* mGenerateLogin = nullptr;
    QButtonGroup* mLoginBasis = nullptr;
    QCheckBox* mPasswordIsLogin = nullptr;
    QCheckBox* mGenerateLoginForFirm = nullptr;
    QButtonGroup* mFirmLoginBasis = nullptr;
    QCheckBox* mCheckTrnExists = nullptr;

    QSpinBox* mSessionInterval = nullptr;

    QGroupBox* mSmtp = nullptr;
    QLineEdit* mSmtpServer = nullptr;
    QSpinBox* mSmtpPort = nullptr;
    QCheckBox* mSmtpAuth = nullptr;
    QLineEdit* mSmtpLogin = nullptr;
    QLineEdit* mSmtpPass = nullptr;
    QLineEdit* mSmtpSender = nullptr;
    QCheckBox* mSmtpSsl = nullptr;
    QGroupBox* mPop3 = nullptr;
    QLineEdit* mPop3Server = nullptr;
    QSpinBox* mPop3Port = nullptr;
    QLineEdit* mPop3Login = nullptr;
    QLineEdit* mPop3Pass = nullptr;
    QLineEdit* mPop3Get = nullptr;
    QCheckBox* mPop3Ssl = nullptr;

    TSvcControler* mSvcIn = nullptr;
    TSvcControler* mSvcOut = nullptr;
    TSvcActionSet* mSvcInActions = nullptr;
    TSvcActionSet* mSvcOutActions = nullptr;
    QWidget* mSvcInRow = nullptr;
    QWidget* mSvcOutRow = nullptr;

    db::Query* mEmitents = nullptr;
    DBGrid* mGrdEmitents = nullptr;
};

// What the main window's "Настройки обмена" does: reads the parameters from the portal settings,
// opens the window for the kind of exchange and lets it write them back.
void ShowExchangeSettings(QWidget* owner, TdmMain& dm, int kind);

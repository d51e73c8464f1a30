#include "TfmConfig.h"

#include "Catalogue.h"
#include "ConnectionFile.h"
#include "CryptConfig.h"
#include "DBGrid.h"
#include "DbHelpers.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "PortalCodec.h"
#include "Query.h"
#include "ScrambleText.h"
#include "ServiceManager.h"
#include "Session.h"
#include "SvcRules.h"
#include "TSvcActionSet.h"
#include "TSvcControler.h"
#include "TdmMain.h"
#include "TfrmCryptDataSettings.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

using ExchangeFolders::Field;

namespace {

// The window's actions in one place: name, caption key, hint key.
struct ConfigAction
{
    const char* name;
    const char16_t* caption;
    const char16_t* hint;
};
constexpr ConfigAction kActions[] = {
    {"actGenerateConnectionFile", u"vrstrGenerateConnectionFile", u"vrstrGenerateConnectionFile"},
    {"actEditEmitentSecurity", u"vrstrEditEmitentSecurity", u"vrstrEditEmitentSecurity"},
    {"actStartIn", u"vrstrRun", u"vrstrRunService"},
    {"actStopIn", u"vrstrStop", u"vrstrStopService"},
    {"actStartOut", u"vrstrRun", u"vrstrRunService"},
    {"actStopOut", u"vrstrStop", u"vrstrStopService"},
};

const QString kEmitentId = QStringLiteral("EMITENT_ID_WEB");
const QString kEmitentLabel = QStringLiteral("EMITENT_LABEL");

// Mail logins and passwords are stored scrambled: only what scrambles to storable text is typed in.
class ScrambleValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return ScrambleText::Accepts(input) ? Acceptable : Invalid;
    }
};

bool importKind(int kind)
{
    return kind == 1 || kind == 3;
}

bool exportKind(int kind)
{
    return kind == 2 || kind == 3;
}

QSpinBox* spin(QWidget* parent, const char* name, int max)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, max);
    return s;
}

QLineEdit* edit(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QCheckBox* check(QWidget* parent, const char* name)
{
    auto* c = new QCheckBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

} // namespace

QString TfmConfig::EmitentsSql()
{
    QString text;
    for (const char* line :
         {"SELECT e.emitent_id_web, e.emitent_number, e.filial_number, e.emitent_name,",
          "       p.use_import_crypt, p.use_export_crypt, p.export_key_data",
          "FROM   &shema.v_tev_emitent e, &shema.v_tev_emitent_params p",
          "WHERE  p.emitent_id = e.emitent_id_web", "AND    e.emitent_number = e.emitent_num_owner",
          "AND    e.filial_number = e.filial_num_owner",
          "ORDER BY e.emitent_number, e.filial_number, e.emitent_name, e.emitent_id_web"})
        text += QString::fromLatin1(line) + QLatin1String("\r\n");
    return text;
}

QString TfmConfig::EmitentLabel(const QVariant& number, const QVariant& filial, const QString& name)
{
    const int filialNumber = filial.isNull() ? 0 : filial.toInt();
    return QStringLiteral("[%1, %2] ").arg(number.toInt(), 4, 10, QLatin1Char('0')).arg(filialNumber) +
           DecodeUnicodeEscapes(name);
}

TfmConfig::TfmConfig(QWidget* owner, TdmMain& dm, int kind, const ExchangeParams& params,
                     ParamsWriter writeParams)
    : TTevBaseForm(owner), mDm(dm), mKind(kind), mParams(params), mWriteParams(std::move(writeParams))
{
    setObjectName(QStringLiteral("fmConfig"));
    createActions();

    mSideBar = new QListWidget(this);
    mSideBar->setObjectName(QStringLiteral("sbPages"));
    mSideBar->setFixedWidth(170);
    mPages = new QStackedWidget(this);
    connect(mSideBar, &QListWidget::currentRowChanged, mPages, &QStackedWidget::setCurrentIndex);

    addPage(createGeneralPage(), u"vrstrCommonSettings");
    QWidget* import = createImportPage();
    QWidget* exportPage = createExportPage();
    // A page this computer does not configure still carries its values, unseen.
    for (auto [page, shown, title] : {std::tuple{import, importKind(kind), u"vrstrImport"},
                                      std::tuple{exportPage, exportKind(kind), u"vrstrExport"}}) {
        if (shown) {
            addPage(page, title);
        } else {
            page->setParent(this);
            page->hide();
        }
    }
    addPage(createMailPage(), u"rstrEMail");
    addPage(createServicesPage(), u"vrstrServices");
    addPage(createSecurityPage(), u"vrstrSecurity");
    mSideBar->setCurrentRow(0);

    mSave = new QPushButton(this);
    mSave->setObjectName(QStringLiteral("btnSave"));
    mCancel = new QPushButton(this);
    mCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(mSave, &QPushButton::clicked, this, &TfmConfig::btnSaveClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mSave);
    buttons->addWidget(mCancel);

    auto* body = new QHBoxLayout;
    body->addWidget(mSideBar);
    body->addWidget(mPages, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    resize(760, 520);

    // What this computer configures.
    for (QWidget* w : {static_cast<QWidget*>(mPop3), mSvcInRow})
        w->setVisible(importKind(kind));
    for (QWidget* w : {static_cast<QWidget*>(mSmtp), mSvcOutRow})
        w->setVisible(exportKind(kind));
    for (const FolderRow& row : std::as_const(mFolders)) {
        const bool shown = row.field == Field::ImportLog   ? importKind(kind)
                           : row.field == Field::ExportLog ? exportKind(kind)
                                                           : true;
        for (QWidget* w : {static_cast<QWidget*>(row.edit), static_cast<QWidget*>(row.choose),
                           static_cast<QWidget*>(row.byDefault), static_cast<QWidget*>(row.label)})
            if (w)
                w->setVisible(shown);
    }

    load(params);
    for (QCheckBox* box : {mGenerateLogin, mGenerateLoginForFirm, mPop3Enable, mSmtpAuth})
        connect(box, &QCheckBox::toggled, this, &TfmConfig::updateDependents);
    connect(mLoginBasis, &QButtonGroup::idToggled, this, &TfmConfig::updateDependents);
    // Unticked by the user, not merely shown unticked: the stored value stays as it was.
    connect(mPop3Enable, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            mCheckEmailThreadSeparate->setChecked(false);
    });
    updateDependents();

    // The services, with English texts.
    mSvcIn->SetLabelSet(slsEnglish);
    mSvcOut->SetLabelSet(slsEnglish);
    mSvcIn->SetServiceName(QString::fromLatin1(kImportService));
    mSvcOut->SetServiceName(QString::fromLatin1(kExportService));
    for (TSvcControler* c : {mSvcIn, mSvcOut})
        connect(c, &TSvcControler::OnBeforeSvcStart, this, &TfmConfig::writeParams);
}

TfmConfig::~TfmConfig() = default;

void TfmConfig::createActions()
{
    for (const ConfigAction& a : kActions) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(a.name));
        addAction(action);
        mActions.insert(action->objectName(), action);
    }
    connect(action(QStringLiteral("actGenerateConnectionFile")), &QAction::triggered, this,
            &TfmConfig::actGenerateConnectionFileExecute);
    connect(action(QStringLiteral("actEditEmitentSecurity")), &QAction::triggered, this,
            &TfmConfig::actEditEmitentSecurityExecute);
}

void TfmConfig::addPage(QWidget* page, const char16_t* titleKey)
{
    mPages->addWidget(page);
    auto* item = new QListWidgetItem(mSideBar);
    item->setData(Qt::UserRole, QString::fromUtf16(titleKey));
}

QStringList TfmConfig::PageTitles() const
{
    QStringList titles;
    for (int i = 0; i < mSideBar->count(); ++i)
        titles << mSideBar->item(i)->text();
    return titles;
}

QLabel* TfmConfig::caption(QWidget* parent, const char16_t* key)
{
    auto* label = new QLabel(parent);
    mCaptions.append({label, key});
    return label;
}

QWidget* TfmConfig::folderRow(Field field)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    FolderRow f;
    f.field = field;
    static const char* const names[] = {"edtFolderWebImport", "edtFolderSharing", "edtFolderWebInSrvc",
                                        "edtFolderWebExport", "edtFolderOutWeb"};
    f.edit = edit(row, names[int(field)]);
    f.edit->setReadOnly(true);
    f.choose = new QToolButton(row);
    f.choose->setText(QStringLiteral("..."));
    f.byDefault = new QToolButton(row);
    f.byDefault->setIcon(QIcon::fromTheme(QStringLiteral("edit-undo")));
    f.byDefault->setText(QStringLiteral("*"));
    layout->addWidget(f.edit, 1);
    layout->addWidget(f.choose);
    layout->addWidget(f.byDefault);
    connect(f.choose, &QToolButton::clicked, this, [this, field] { chooseFolder(field); });
    connect(f.byDefault, &QToolButton::clicked, this, [this, field] { defaultFolder(field); });
    mFolders.append(f);
    return row;
}

QLineEdit* TfmConfig::folderEdit(Field field) const
{
    for (const FolderRow& f : mFolders)
        if (f.field == field)
            return f.edit;
    return nullptr;
}

QToolButton* TfmConfig::chooseButton(Field field) const
{
    for (const FolderRow& f : mFolders)
        if (f.field == field)
            return f.choose;
    return nullptr;
}

QToolButton* TfmConfig::defaultButton(Field field) const
{
    for (const FolderRow& f : mFolders)
        if (f.field == field)
            return f.byDefault;
    return nullptr;
}

QWidget* TfmConfig::createGeneralPage()
{
    auto* page = new QWidget;
    auto* db = new QGroupBox(page);
    mCaptions.append({db, u"vrstrDBConnectionParams"});
    auto* dbForm = new QFormLayout(db);
    mServer = edit(db, "edtServerNameWeb");
    mScheme = edit(db, "edtShemaWeb");
    mOraHome = edit(db, "edtOraHomeWeb");
    for (QLineEdit* e : {mServer, mScheme, mOraHome})
        e->setReadOnly(true);
    dbForm->addRow(caption(db, u"vrstrDBServer"), mServer);
    dbForm->addRow(caption(db, u"vrstrConnectionScheme"), mScheme);
    dbForm->addRow(new QLabel(QStringLiteral("Oracle Home"), db), mOraHome);
    auto* generate = new QToolButton(db);
    generate->setObjectName(QStringLiteral("btnGenerateConnectionFile"));
    generate->setToolButtonStyle(Qt::ToolButtonTextOnly);
    generate->setDefaultAction(action(QStringLiteral("actGenerateConnectionFile")));
    dbForm->addRow(QString(), generate);

    auto* logs = new QGroupBox(page);
    mCaptions.append({logs, u"vrstrJournalsDirs"});
    auto* logForm = new QGridLayout(logs);
    QLabel* inLabel = caption(logs, u"vrstrImportJournal");
    QLabel* outLabel = caption(logs, u"vrstrExportJourmal");
    logForm->addWidget(inLabel, 0, 0);
    logForm->addWidget(folderRow(Field::ImportLog), 0, 1);
    mFolders.last().label = inLabel;
    logForm->addWidget(outLabel, 1, 0);
    logForm->addWidget(folderRow(Field::ExportLog), 1, 1);
    mFolders.last().label = outLabel;
    mExtendedLogs = check(logs, "cbWebExtendedLogs");
    mCaptions.append({mExtendedLogs, u"vrstrExtendedJoutnals"});
    logForm->addWidget(mExtendedLogs, 2, 0, 1, 2);

    // Kept and written back; not offered in the window.
    mRetryRow = new QWidget(page);
    auto* retry = new QHBoxLayout(mRetryRow);
    mTimeOutInterval = spin(mRetryRow, "seTimeOutIntervalWeb", 86400);
    mTimeOutCount = spin(mRetryRow, "seTimeOutCountWeb", ExchangeParams::kMaxTimeOutCount);
    retry->addWidget(caption(mRetryRow, u"vrstrWhenErrorRepeat"));
    retry->addWidget(mTimeOutInterval);
    retry->addWidget(caption(mRetryRow, u"vrstrSecNotMore"));
    retry->addWidget(mTimeOutCount);
    retry->addWidget(caption(mRetryRow, u"vrstrTimes"));
    mRetryRow->setVisible(false);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(db);
    layout->addWidget(logs);
    layout->addWidget(mRetryRow);
    layout->addStretch();
    return page;
}

QWidget* TfmConfig::createImportPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout;
    mMailInterval = spin(page, "seIntervalWebInSrvc", 86400);
    auto* interval = new QHBoxLayout;
    interval->addWidget(mMailInterval);
    interval->addWidget(caption(page, u"vrstrSeconds"));
    interval->addStretch();
    grid->addWidget(caption(page, u"vrstrEmailCheckInterval"), 0, 0);
    grid->addLayout(interval, 0, 1);
    grid->addWidget(caption(page, u"vrstrWorkDir"), 1, 0);
    grid->addWidget(folderRow(Field::ImportWork), 1, 1);
    grid->addWidget(caption(page, u"vrstrExchDir"), 2, 0);
    grid->addWidget(folderRow(Field::Sharing), 2, 1);
    QLabel* remark = caption(page, u"vrstrExchDirRemark");
    remark->setEnabled(false);
    grid->addWidget(remark, 3, 1);

    mPop3Enable = check(page, "cbPop3Enable");
    mCaptions.append({mPop3Enable, u"vrstrReceivePacketsWithEmail"});
    mCheckEmailThreadSeparate = check(page, "cbCheckEmailThreadSeparate");
    mCaptions.append({mCheckEmailThreadSeparate, u"vrstrCheckEmailThreadSeparate"});
    mSaveToBackup = check(page, "cbSaveToBackup");
    mCaptions.append({mSaveToBackup, u"vrstrSaveToBackup"});

    auto* logins = new QGroupBox(page);
    auto* l = new QGridLayout(logins);
    mGenerateLogin = check(logins, "cbGenerateLogin");
    mCaptions.append({mGenerateLogin, u"vrstrGeneratePSLoginOn"});
    mLoginBasis = new QButtonGroup(this);
    mGenerateLoginForFirm = check(logins, "cbGenerateLoginForFirm");
    mCaptions.append({mGenerateLoginForFirm, u"vrstrGenerateFrmLoginOn"});
    mFirmLoginBasis = new QButtonGroup(this);
    int row = 0;
    for (auto [box, group, prefix] : {std::tuple{mGenerateLogin, mLoginBasis, "rbLogin"},
                                      std::tuple{mGenerateLoginForFirm, mFirmLoginBasis, "rbFirmLogin"}}) {
        l->addWidget(box, row++, 0, 1, 2);
        for (int id : {0, 1}) {
            auto* radio = new QRadioButton(logins);
            radio->setObjectName(QString::fromLatin1(prefix) +
                                 (id ? QStringLiteral("CardNumber") : QStringLiteral("Email")));
            mCaptions.append({radio, id ? u"vrstrOnCardGrafNum" : u"vrstrOnClientsEmail"});
            group->addButton(radio, id);
            l->addWidget(radio, row++, 1);
        }
        if (box == mGenerateLogin) {
            mPasswordIsLogin = check(logins, "cbPasswordIsLogin");
            mCaptions.append({mPasswordIsLogin, u"vrstrPasswordIsLogin"});
            l->addWidget(mPasswordIsLogin, row++, 1);
        }
    }
    mCheckTrnExists = check(logins, "cbCheckTrnExists");
    mCaptions.append({mCheckTrnExists, u"vrstrDoNotGenerateLogin"});
    l->addWidget(mCheckTrnExists, row++, 0, 1, 2);
    l->setColumnMinimumWidth(0, 20);
    l->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(mPop3Enable);
    layout->addWidget(mCheckEmailThreadSeparate);
    layout->addWidget(mSaveToBackup);
    layout->addWidget(logins);
    layout->addStretch();
    return page;
}

QWidget* TfmConfig::createExportPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout;
    mSessionInterval = spin(page, "seIntervalWeb", 86400);
    auto* interval = new QHBoxLayout;
    interval->addWidget(mSessionInterval);
    interval->addWidget(caption(page, u"vrstrSeconds"));
    interval->addStretch();
    grid->addWidget(caption(page, u"vrstrSessionsInterval"), 0, 0);
    grid->addLayout(interval, 0, 1);
    grid->addWidget(caption(page, u"vrstrWorkDir"), 1, 0);
    grid->addWidget(folderRow(Field::ExportWork), 1, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

QWidget* TfmConfig::createMailPage()
{
    auto* page = new QWidget;
    mSmtp = new QGroupBox(page);
    mSmtp->setObjectName(QStringLiteral("gbSMTP"));
    mCaptions.append({mSmtp, u"vrstrSMTPExport"});
    auto* s = new QFormLayout(mSmtp);
    mSmtpServer = edit(mSmtp, "edtSMTPServer");
    mSmtpPort = spin(mSmtp, "seSMTPPort", 65535);
    mSmtpAuth = check(mSmtp, "cbSMTPUseAuthentication");
    mCaptions.append({mSmtpAuth, u"vrstrUseAuthentication"});
    mSmtpLogin = edit(mSmtp, "edtSMTPLogin");
    mSmtpPass = edit(mSmtp, "edtSMTPPass");
    mSmtpSender = edit(mSmtp, "edtSMTPSender");
    mSmtpSsl = check(mSmtp, "cbSMTPSsl");
    mSmtpSsl->setText(QStringLiteral("TLS"));
    s->addRow(caption(mSmtp, u"vrstrOutgoingServer"), mSmtpServer);
    s->addRow(caption(mSmtp, u"vrstrPort1"), mSmtpPort);
    s->addRow(QString(), mSmtpAuth);
    s->addRow(caption(mSmtp, u"rstrUser"), mSmtpLogin);
    s->addRow(caption(mSmtp, u"vrstrPassword"), mSmtpPass);
    s->addRow(caption(mSmtp, u"vrstrSenderAddress"), mSmtpSender);
    s->addRow(QString(), mSmtpSsl);

    mPop3 = new QGroupBox(page);
    mPop3->setObjectName(QStringLiteral("gbPOP3"));
    mCaptions.append({mPop3, u"vrstrPOP3Import"});
    auto* p = new QFormLayout(mPop3);
    mPop3Server = edit(mPop3, "edtPOP3Server");
    mPop3Port = spin(mPop3, "sePOP3Port", 65535);
    mPop3Login = edit(mPop3, "edtPOP3Login");
    mPop3Pass = edit(mPop3, "edtPOP3Pass");
    mPop3Get = edit(mPop3, "edtPOP3Get");
    mPop3Ssl = check(mPop3, "cbPOP3Ssl");
    mPop3Ssl->setText(QStringLiteral("TLS"));
    p->addRow(caption(mPop3, u"vrstrServerIncoming"), mPop3Server);
    p->addRow(caption(mPop3, u"vrstrPort1"), mPop3Port);
    p->addRow(caption(mPop3, u"rstrUser"), mPop3Login);
    p->addRow(caption(mPop3, u"vrstrPassword"), mPop3Pass);
    p->addRow(caption(mPop3, u"vrstrReceiverAddress"), mPop3Get);
    p->addRow(QString(), mPop3Ssl);

    for (QLineEdit* e : {mSmtpLogin, mSmtpPass, mPop3Login, mPop3Pass})
        e->setValidator(new ScrambleValidator(e));
    for (QLineEdit* e : {mSmtpPass, mPop3Pass})
        e->setEchoMode(QLineEdit::Password);

    auto* layout = new QGridLayout(page);
    layout->addWidget(mSmtp, 0, 0);
    layout->addWidget(mPop3, 0, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
    return page;
}

QWidget* TfmConfig::createServicesPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto row = [&](const char16_t* titleKey, const char* start, const char* stop, const char* suffix,
                   TSvcControler*& controler, TSvcActionSet*& actions, QWidget*& box) {
        box = new QGroupBox(page);
        box->setObjectName(QStringLiteral("gbService") + QString::fromLatin1(suffix));
        auto* grid = new QGridLayout(box);
        auto* state = new QLabel(box);
        state->setObjectName(QStringLiteral("lblState") + QString::fromLatin1(suffix));
        QFont bold = state->font();
        bold.setBold(true);
        state->setFont(bold);
        auto* combo = new QComboBox(box);
        combo->setObjectName(QStringLiteral("cbRunType") + QString::fromLatin1(suffix));
        grid->addWidget(caption(box, titleKey), 0, 0, 1, 4);
        grid->addWidget(state, 1, 0);
        grid->addWidget(combo, 1, 1);
        int column = 2;
        for (const char* name : {start, stop}) {
            auto* b = new QToolButton(box);
            b->setToolButtonStyle(Qt::ToolButtonTextOnly);
            b->setDefaultAction(action(QString::fromLatin1(name)));
            grid->addWidget(b, 1, column++);
        }
        grid->setColumnStretch(0, 1);
        controler = new TSvcControler(this);
        actions = new TSvcActionSet(this);
        actions->SetStart(action(QString::fromLatin1(start)));
        actions->SetStop(action(QString::fromLatin1(stop)));
        controler->SetServiceLabel(state);
        controler->SetComboRunType(combo);
        controler->SetActions(actions);
        layout->addWidget(box);
    };
    row(u"vrstrReceivingDataFromOC", "actStartIn", "actStopIn", "In", mSvcIn, mSvcInActions, mSvcInRow);
    row(u"vrstrTransferDataToOC", "actStartOut", "actStopOut", "Out", mSvcOut, mSvcOutActions, mSvcOutRow);
    layout->addStretch();
    return page;
}

QWidget* TfmConfig::createSecurityPage()
{
    auto* page = new QWidget;
    mEmitents = new db::Query(this);
    mEmitents->setObjectName(QStringLiteral("oqEmitents"));
    mEmitents->setSql(EmitentsSql());
    for (const char* name : {"EMITENT_ID_WEB", "EMITENT_NUMBER", "FILIAL_NUMBER", "EMITENT_NAME",
                             "USE_IMPORT_CRYPT", "USE_EXPORT_CRYPT", "EXPORT_KEY_DATA"})
        mEmitents->defineField(QString::fromLatin1(name)).setVisible(false);
    mEmitents->addCalculatedField(
        kEmitentLabel, db::DataType::String,
        [](const db::Dataset& d, int row) -> QVariant {
            return EmitentLabel(
                d.physicalValue(row, d.fieldIndex(QStringLiteral("EMITENT_NUMBER"))),
                d.physicalValue(row, d.fieldIndex(QStringLiteral("FILIAL_NUMBER"))),
                d.physicalValue(row, d.fieldIndex(QStringLiteral("EMITENT_NAME"))).toString());
        },
        0,
        {QStringLiteral("EMITENT_NUMBER"), QStringLiteral("FILIAL_NUMBER"), QStringLiteral("EMITENT_NAME")});
    mEmitents->defineField(kEmitentLabel).setDisplayWidth(60);

    mGrdEmitents = new DBGrid(page);
    mGrdEmitents->setObjectName(QStringLiteral("grdEmitents"));
    mGrdEmitents->setFamily(DBGrid::Family::Unicode);
    mGrdEmitents->setDataset(mEmitents);
    connect(mGrdEmitents, &QAbstractItemView::doubleClicked, action(QStringLiteral("actEditEmitentSecurity")),
            &QAction::trigger);
    watchDataset(mEmitents);

    auto* edit = new QToolButton(page);
    edit->setToolButtonStyle(Qt::ToolButtonTextOnly);
    edit->setDefaultAction(action(QStringLiteral("actEditEmitentSecurity")));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(caption(page, u"vrstrEmitentSecurExchangeSettings"));
    layout->addWidget(mGrdEmitents, 1);
    layout->addWidget(edit, 0, Qt::AlignLeft);
    return page;
}

void TfmConfig::load(const ExchangeParams& p)
{
    mServer->setText(p.ServerNameWeb);
    mScheme->setText(p.ShemaWeb);
    mOraHome->setText(QString::number(p.OraHomeWeb));
    mExtendedLogs->setChecked(p.WebExtendedLogs);
    mTimeOutInterval->setValue(p.TimeOutIntervalWeb);
    mTimeOutCount->setValue(p.TimeOutCountWeb);
    mMailInterval->setValue(p.IntervalWebInSrvc);
    mPop3Enable->setChecked(p.Pop3Enable);
    mCheckEmailThreadSeparate->setChecked(p.CheckEmailThreadSeparate);
    mSaveToBackup->setChecked(p.SAVE_TO_BACKUP);
    mGenerateLogin->setChecked(p.GenerateLogin);
    mLoginBasis->button(p.CardGrNumToLogin == 1 ? 1 : 0)->setChecked(true);
    mPasswordIsLogin->setChecked(p.PasswordIsLogin);
    mGenerateLoginForFirm->setChecked(p.GenerateLoginForFirm);
    mFirmLoginBasis->button(p.CardGrNumToLoginFirm == 1 ? 1 : 0)->setChecked(true);
    mCheckTrnExists->setChecked(p.CheckTrnExists);
    mSessionInterval->setValue(p.IntervalWeb);
    mSmtpServer->setText(p.SMTPServer);
    mSmtpPort->setValue(p.SMTPPort);
    mSmtpAuth->setChecked(p.SMTPUseAuthentication);
    mSmtpLogin->setText(p.SMTPLogin);
    mSmtpPass->setText(p.SMTPPass);
    mSmtpSender->setText(p.SMTPSender);
    mSmtpSsl->setChecked(p.SMTPSsl);
    mPop3Server->setText(p.POP3Server);
    mPop3Port->setValue(p.POP3Port);
    mPop3Login->setText(p.POP3Login);
    mPop3Pass->setText(p.POP3Pass);
    mPop3Get->setText(p.POP3Get);
    mPop3Ssl->setChecked(p.POP3Ssl);
    const std::pair<Field, QString> folders[] = {{Field::ImportWork, p.FolderWebImport},
                                                 {Field::Sharing, p.FolderSharing},
                                                 {Field::ImportLog, p.FolderWebInSrvc},
                                                 {Field::ExportWork, p.FolderWebExport},
                                                 {Field::ExportLog, p.FolderOutWeb}};
    for (const auto& [field, value] : folders)
        folderEdit(field)->setText(value);
}

ExchangeParams TfmConfig::Params() const
{
    ExchangeParams p = mParams;
    p.ServerNameWeb = mServer->text();
    p.ShemaWeb = mScheme->text();
    p.OraHomeWeb = mOraHome->text().toInt();
    p.WebExtendedLogs = mExtendedLogs->isChecked();
    p.TimeOutIntervalWeb = mTimeOutInterval->value();
    p.TimeOutCountWeb = mTimeOutCount->value();
    p.IntervalWebInSrvc = mMailInterval->value();
    p.Pop3Enable = mPop3Enable->isChecked();
    p.CheckEmailThreadSeparate = mCheckEmailThreadSeparate->isChecked();
    p.SAVE_TO_BACKUP = mSaveToBackup->isChecked();
    p.GenerateLogin = mGenerateLogin->isChecked();
    p.CardGrNumToLogin = mLoginBasis->checkedId() == 1 ? 1 : 0;
    p.PasswordIsLogin = mPasswordIsLogin->isChecked();
    p.GenerateLoginForFirm = mGenerateLoginForFirm->isChecked();
    p.CardGrNumToLoginFirm = mFirmLoginBasis->checkedId() == 1 ? 1 : 0;
    p.CheckTrnExists = mCheckTrnExists->isChecked();
    p.IntervalWeb = mSessionInterval->value();
    p.SMTPServer = mSmtpServer->text();
    p.SMTPPort = mSmtpPort->value();
    p.SMTPUseAuthentication = mSmtpAuth->isChecked();
    p.SMTPLogin = mSmtpLogin->text();
    p.SMTPPass = mSmtpPass->text();
    p.SMTPSender = mSmtpSender->text();
    p.SMTPSsl = mSmtpSsl->isChecked();
    p.POP3Server = mPop3Server->text();
    p.POP3Port = mPop3Port->value();
    p.POP3Login = mPop3Login->text();
    p.POP3Pass = mPop3Pass->text();
    p.POP3Get = mPop3Get->text();
    p.POP3Ssl = mPop3Ssl->isChecked();
    p.FolderWebImport = folderEdit(Field::ImportWork)->text();
    p.FolderSharing = folderEdit(Field::Sharing)->text();
    p.FolderWebInSrvc = folderEdit(Field::ImportLog)->text();
    p.FolderWebExport = folderEdit(Field::ExportWork)->text();
    p.FolderOutWeb = folderEdit(Field::ExportLog)->text();
    return p;
}

void TfmConfig::updateDependents()
{
    const bool persons = mGenerateLogin->isChecked();
    const bool firms = mGenerateLoginForFirm->isChecked();
    for (QAbstractButton* b : mLoginBasis->buttons())
        b->setEnabled(persons);
    for (QAbstractButton* b : mFirmLoginBasis->buttons())
        b->setEnabled(firms);
    mCheckTrnExists->setEnabled(persons || firms);
    mPasswordIsLogin->setEnabled(persons && mLoginBasis->checkedId() == 1);
    const bool mail = mPop3Enable->isChecked();
    mMailInterval->setEnabled(mail);
    mCheckEmailThreadSeparate->setEnabled(mail);
    const bool auth = mSmtpAuth->isChecked();
    mSmtpLogin->setEnabled(auth);
    mSmtpPass->setEnabled(auth);
}

void TfmConfig::chooseFolder(Field field)
{
    QLineEdit* target = folderEdit(field);
    const QString chosen =
        framework::modalRunner().existingDirectory(this, lang::tr(u"vrstrDirSelection"), target->text());
    if (chosen.isEmpty())
        return;
    const bool pair = field == Field::ImportWork || field == Field::Sharing;
    if (pair) {
        const QString other =
            folderEdit(field == Field::ImportWork ? Field::Sharing : Field::ImportWork)->text();
        if (ExchangeFolders::SameFolder(chosen, other)) {
            lang::MessageDlgLang(lang::tr(u"vrstrExchDirCannotBeSameAsWorkDir"), lang::MsgDlgType::Error,
                                 lang::mbOK);
            return;
        }
    }
    QString reason;
    if (!ExchangeFolders::IsWritable(chosen, &reason)) {
        lang::ShowMsgBox(this,
                         LocaleText(QStringLiteral("Нет прав записи в каталог \"%1\": %2"),
                                    QStringLiteral("The folder \"%1\" is not writable: %2"))
                             .arg(chosen, reason),
                         1);
        return;
    }
    target->setText(chosen);
}

void TfmConfig::defaultFolder(Field field)
{
    const QString folder = ExchangeFolders::DefaultFolder(field, mSvcIn->ExePath(), mSvcOut->ExePath());
    if (folder.isEmpty())
        return;
    ExchangeFolders::EnsureFolder(folder);
    folderEdit(field)->setText(folder);
}

void TfmConfig::writeParams()
{
    if (mWriteParams)
        mWriteParams(Params());
}

bool TfmConfig::anyRunning() const
{
    return SvcRules::IsRunning(mSvcIn->Status()) || SvcRules::IsRunning(mSvcOut->Status());
}

void TfmConfig::restartRunning()
{
    for (TSvcControler* c : {mSvcIn, mSvcOut})
        if (SvcRules::IsRunning(c->Status()))
            c->Restart();
}

void TfmConfig::btnSaveClick()
{
    // Written first, so that the restarted services read the new settings.
    writeParams();
    restartRunning();
    accept();
}

void TfmConfig::actGenerateConnectionFileExecute()
{
    if (anyRunning() &&
        lang::MessageDlgLang(lang::tr(u"vrstrGenerateConfigFileWarning"), lang::MsgDlgType::Warning,
                             lang::mbYes | lang::mbNo) != lang::mrYes)
        return;
    if (mScheme->text().trimmed().isEmpty()) {
        lang::MessageDlgLang(lang::tr(u"vrstrConnectionSchemeEmpty"), lang::MsgDlgType::Error, lang::mbOK);
        return;
    }
    writeParams();
    QStringList files;
    try {
        db::Session* session = mDm.session();
        files = ConnectionFile::Generate(mKind, Params(), mSvcIn->ExePath(), mSvcOut->ExePath(),
                                         ExchangeAccount(mDm.settings().defaultUser()),
                                         crypto::CryptConfig::connectionPassPhrase(),
                                         [this, session](const QString& password, const QString& user) {
                                             session->startTransaction();
                                             try {
                                                 mDm.ChangeUserPassword(password, user);
                                                 session->commit();
                                             } catch (...) {
                                                 if (session->connected())
                                                     session->rollback();
                                                 throw;
                                             }
                                         });
    } catch (const db::OraError& e) {
        lang::ShowMsgBox(this, e.message(), 1);
        return;
    } catch (const std::exception& e) {
        lang::ShowMsgBox(this, QString::fromUtf8(e.what()), 1);
        return;
    }
    restartRunning();
    lang::MessageDlgLang(lang::tr(u"vrstrDBConnectionFileGenerated") + QLatin1Char('\n') +
                             files.join(QLatin1Char('\n')),
                         lang::MsgDlgType::Information, lang::mbOK);
}

void TfmConfig::openEmitents(int emitentId)
{
    mEmitents->close();
    mEmitents->open();
    if (emitentId >= 0)
        mEmitents->locate(kEmitentId, emitentId);
}

void TfmConfig::actEditEmitentSecurityExecute()
{
    if (!mEmitents->isOpen() || mEmitents->isEmpty())
        return;
    const int id = int(mEmitents->asInteger(kEmitentId));
    TfrmCryptDataSettings::Storage storage;
    storage.StoreExportKey = [this](int emitent, const QString& data) {
        mDm.SetEmitentExportKey(emitent, data);
    };
    storage.StoreCrypt = [this](int emitent, int in, int out) { mDm.SetEmitentCrypt(emitent, in, out); };
    {
        TfrmCryptDataSettings dialog(this, mKind, id,
                                     mEmitents->asInteger(QStringLiteral("USE_IMPORT_CRYPT")) == 1,
                                     mEmitents->asInteger(QStringLiteral("USE_EXPORT_CRYPT")) == 1,
                                     mEmitents->asString(QStringLiteral("EXPORT_KEY_DATA")), storage);
        dialog.ensureCreated();
        framework::execModal(dialog);
    }
    openEmitents(id);
}

void TfmConfig::FormShow()
{
    if (!mEmitents->isOpen()) {
        fSetSession(this, mDm.session());
        fSetShema(this, mDm.ActiveScheme());
        openEmitents(-1);
    }
}

void TfmConfig::SetupCaptions()
{
    setWindowTitle(lang::tr(u"vrstrExchangeSettings"));
    for (const ConfigAction& a : kActions) {
        QAction* act = action(QString::fromLatin1(a.name));
        act->setText(lang::tr(a.caption));
        act->setToolTip(lang::tr(a.hint));
    }
    for (const auto& [widget, key] : std::as_const(mCaptions)) {
        const QString text = lang::tr(key);
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(text);
        else if (auto* box = qobject_cast<QGroupBox*>(widget))
            box->setTitle(text);
    }
    for (int i = 0; i < mSideBar->count(); ++i)
        mSideBar->item(i)->setText(lang::tr(mSideBar->item(i)->data(Qt::UserRole).toString()));
    for (const FolderRow& f : std::as_const(mFolders)) {
        f.choose->setToolTip(lang::tr(u"vrstrDirSelection"));
        f.byDefault->setToolTip(lang::tr(u"vrstrSetDefaultDir"));
    }
    mEmitents->defineField(kEmitentLabel).setDisplayLabel(lang::tr(u"rstrEmitent"));
    mSave->setText(lang::tr(u"vrstrSave"));
    mCancel->setText(lang::tr(u"rstrCanceling"));
}

void TfmConfig::ActionsUpdate()
{
    action(QStringLiteral("actEditEmitentSecurity"))
        ->setEnabled(mEmitents->isOpen() && !mEmitents->isEmpty());
}

void ShowExchangeSettings(QWidget* owner, TdmMain& dm, int kind)
{
    db::Session* session = dm.session();
    const ExchangeParams params =
        ExchangeParams::Read([&dm](const QString& key) { return dm.GetConfigValue(key); }, session->server(),
                             dm.ActiveScheme(), session->homeNumber());
    // The import service's folders exist before it runs; relative ones lie in its own folder.
    const QString importFolder =
        ExchangeFolders::ServiceFolder(ServiceBinaryPath(QString::fromLatin1(TfmConfig::kImportService)));
    for (const QString& folder : {params.FolderWebImport, params.FolderSharing}) {
        if (QDir::isAbsolutePath(folder))
            ExchangeFolders::EnsureFolder(folder);
        else if (!importFolder.isEmpty() && !folder.trimmed().isEmpty())
            ExchangeFolders::EnsureFolder(QDir(importFolder).filePath(folder));
    }
    TfmConfig window(owner, dm, kind, params, [&dm](const ExchangeParams& p) {
        p.Write([&dm](const QString& key, const QString& value) { dm.SetConfigValue(key, value); });
    });
    window.ensureCreated();
    framework::execModal(window);
}

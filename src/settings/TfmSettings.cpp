#include "TfmSettings.h"

#include "Catalogue.h"
#include "ClientsQuery.h"
#include "ClientsWorkArea.h"
#include "DBGrid.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "OraError.h"
#include "Package.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "Session.h"
#include "SharedQueries.h"
#include "StoredProc.h"
#include "TdmMain.h"
#include "TfmEditString.h"
#include "TfrmPhraseTranslate.h"
#include "WebLanguages.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <functional>
#include <tuple>

using namespace PortalSettingsKeys;

namespace {

constexpr char kTypeIdField[] = "TYPE_ID";
constexpr char kTypeNameField[] = "TYPE_NAME";
constexpr char kLangParam[] = "pLang";
constexpr int kRussian = 25;

QString latin(const char* text)
{
    return QString::fromLatin1(text);
}

// Runs the calls as one transaction: one commit, or a roll-back of all of them and the error
// passed on.
void inOneTransaction(db::Session& session, const std::function<void()>& calls)
{
    try {
        calls();
        session.commit();
    } catch (...) {
        session.rollback();
        throw;
    }
}

QString errorText(const std::exception& e)
{
    if (const auto* ora = dynamic_cast<const db::OraError*>(&e))
        return ora->message();
    return QString::fromLocal8Bit(e.what());
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Construction

const QList<framework::ActionRow<TfmSettings>>& TfmSettings::ActionRows()
{
    static const QList<framework::ActionRow<TfmSettings>> rows = {
        {Cmd::acAddFeedbackType, u"vrstrAddFeedbackType", {}, "list-add", {}, &TfmSettings::acAddFeedbackTypeExecute},
        {Cmd::acEditFeedbackType,
         u"vrstrEditFeedbackType",
         {},
         "document-edit",
         {},
         &TfmSettings::acEditFeedbackTypeExecute},
        {Cmd::acDeleteFeedbackType,
         u"vrstrDeleteFeedbackType",
         {},
         "list-remove",
         {},
         &TfmSettings::acDeleteFeedbackTypeExecute},
        // The key has two entries; this caption is the second (SetupCaptions).
        {Cmd::acEditTranslations,
         {},
         {},
         "preferences-desktop-locale",
         {},
         &TfmSettings::acEditTranslationsExecute},
    };
    return rows;
}

TfmSettings::TfmSettings(QWidget* owner, TdmMain& dm)
    : TDlgBaseForm(owner, dm.ActiveScheme(), dm.session()), mDm(dm)
{
    setObjectName(QStringLiteral("fmSettings"));
    mActions.create(this, ActionRows());
    mTemplates[FeedbackTemplates].ids = {1};
    mTemplates[RecoveryTemplates].ids = {2, 3};

    mPages = new QTabWidget(ClientPanel());
    mPages->setObjectName(QStringLiteral("pcSettings"));
    auto* general = new QScrollArea(mPages);
    general->setWidgetResizable(true);
    general->setFrameShape(QFrame::NoFrame);
    general->setWidget(createGeneralPage());
    mPages->addTab(general, QString());
    mPages->addTab(createFeedbackPage(), QString());
    mPages->addTab(createRecoveryPage(), QString());
    mPages->addTab(createSecurityPage(), QString());
    auto* layout = new QVBoxLayout(ClientPanel());
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(mPages);
    resize(1180, 800);

    mLoading = true;
    readSettings();
    mLoading = false;
    updateEnabling();
}

TfmSettings::~TfmSettings() = default;

QString TfmSettings::own(const char* russian, const char* english) const
{
    return mDm.LanguageId() == kRussian ? QString::fromUtf8(russian) : QString::fromUtf8(english);
}

void TfmSettings::caption(QWidget* widget, const char16_t* key)
{
    mCaptions.append({widget, key});
}

QLabel* TfmSettings::addLabel(const char16_t* captionKey, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    caption(label, captionKey);
    return label;
}

QCheckBox* TfmSettings::addBox(const char* key, const char16_t* captionKey, QWidget* parent)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(QStringLiteral("chk") + latin(key));
    caption(box, captionKey);
    mKeys[latin(key)].box = box;
    connect(box, &QCheckBox::toggled, this, [this] {
        if (!mLoading)
            updateEnabling();
    });
    return box;
}

QLineEdit* TfmSettings::addEdit(const char* key, QWidget* parent)
{
    // No length limit on the edit: a longer stored value must not be cut on showing; the length
    // is checked on "Применить".
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("edt") + latin(key));
    mKeys[latin(key)].edit = edit;
    return edit;
}

QSpinBox* TfmSettings::addSpin(const char* key, QWidget* parent)
{
    const KeyDef& def = Key(latin(key));
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QStringLiteral("sed") + latin(key));
    spin->setRange(def.min, def.max);
    spin->setMinimumWidth(80);
    mKeys[latin(key)].spin = spin;
    return spin;
}

QButtonGroup* TfmSettings::addChoices(const char* key, QList<const char16_t*> captionKeys, QWidget* parent,
                                      QList<QAbstractButton*>& buttons)
{
    auto* group = new QButtonGroup(parent);
    for (int i = 0; i < captionKeys.size(); ++i) {
        auto* button = new QRadioButton(parent);
        button->setObjectName(QStringLiteral("rb%1_%2").arg(latin(key)).arg(i));
        caption(button, captionKeys[i]);
        group->addButton(button, i);
        buttons.append(button);
    }
    if (key)
        mKeys[latin(key)].group = group;
    return group;
}

void TfmSettings::checkChoice(QButtonGroup* group, int choice)
{
    if (choice >= 0 && group->button(choice)) {
        group->button(choice)->setChecked(true);
        return;
    }
    // An exclusive group cannot clear its last button.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

QWidget* TfmSettings::createGeneralPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsGeneral"));
    auto* columns = new QHBoxLayout(page);

    // Left: the portal's names and its switches.
    auto* left = new QVBoxLayout;
    auto* names = new QFormLayout;
    names->addRow(addLabel(u"rstrWEBOwner", page), addEdit("EMT_NAME", page));
    auto* contacts = new QPlainTextEdit(page);
    contacts->setObjectName(QStringLiteral("memEMT_CONTACTS"));
    contacts->setTabChangesFocus(true);
    contacts->setFixedHeight(64);
    mKeys[QStringLiteral("EMT_CONTACTS")].lines = contacts;
    names->addRow(addLabel(u"rstrWEBContacts", page), contacts);
    names->addRow(addLabel(u"rstrWEBHeader", page), addEdit("APP_TITLE", page));
    left->addLayout(names);
    const QList<std::pair<const char*, const char16_t*>> flags = {
        {"CAN_DR_ON_WEB", u"rstrWEBDREnabled"},
        {"CAN_DD_ON_WEB", u"vrstrWEBDDEnabled"},
        {"CAN_OIL_ON_WEB", u"rstrWEBOILEnabled"},
        {"CAN_CHANGE_HOLDER", u"vrstrChangeHolderEnabled"},
        {"CAN_LOST_CARD", u"vrstrLostCardEnabled"},
        {"ALLOW_UNBLOCK_CARD", u"vrstrAllowUnblockCard"},
        {"CAN_CH_ONL_PARAMS", u"vrstrWEBChOnlParamsEnabled"},
    };
    for (const auto& [key, text] : flags)
        left->addWidget(addBox(key, text, page));
    addBox("CAN_SEND_OC_IMM", u"vrstrSendtoOCImmediateEnabled", page);
    left->addWidget(mKeys[QStringLiteral("CAN_SEND_OC_IMM")].box);
    QList<QAbstractButton*>& sendButtons = mChoiceButtons[QStringLiteral("CAN_SEND_OC_IMM")];
    addChoices("CAN_SEND_OC_IMM", {u"vrstrSendChecksAfter", u"vrstrSendWithoutChecking"}, page, sendButtons);
    for (QAbstractButton* b : sendButtons) {
        auto* row = new QHBoxLayout;
        row->addSpacing(24);
        row->addWidget(b);
        left->addLayout(row);
    }
    connect(mKeys[QStringLiteral("CAN_SEND_OC_IMM")].box, &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            checkChoice(mKeys[QStringLiteral("CAN_SEND_OC_IMM")].group, 0);
    });
    const QList<std::pair<const char*, const char16_t*>> shows = {
        {"SHOW_REPORT_NAME", u"rstrShowReport"},
        {"SHOW_MAX_CONSUMPTION", u"vrstrShowMacConsumption"},
        {"SHOW_PETROLTANK", u"vrstrShowPetrolTank"},
        {"SHOW_ODOMETR", u"vrstrShowOdometr"},
        {"SHOW_INVSBL_POS_TRN", u"vrstrShowInvisiblePosTrn"},
        {"DONT_SHOW_LNR_HOLDER", u"vrstrDontShowLnrHolder"},
        {"POPUP_CARD_SELECTION", u"rstrShowPopupSelectCard"},
        {"HIDE_LOCATOR", u"vrstrHideLocator"},
        {"ALLOW_API", u"vrstrAllowUseAPI"},
    };
    for (const auto& [key, text] : shows)
        left->addWidget(addBox(key, text, page));
    left->addStretch(1);
    columns->addLayout(left, 1);

    // Right: the groups.
    auto* right = new QVBoxLayout;
    auto* precision = new QGroupBox(page);
    caption(precision, u"vrstrNumbersDecimalCount");
    auto* precisionRows = new QHBoxLayout(precision);
    const QList<std::pair<const char*, const char16_t*>> decimals = {
        {"AMOUNT_DECIMAL_COUNT", u"vrstrDecimalCountForAmount"},
        {"COST_DECIMAL_COUNT", u"vrstrDecimalCountForCost"},
        {"CURR_DECIMAL_COUNT", u"vrstrDecimalCountForPrice"},
    };
    for (const auto& [key, text] : decimals) {
        auto* combo = new QComboBox(precision);
        combo->setObjectName(QStringLiteral("cb") + latin(key));
        combo->addItems(Key(latin(key)).choices);
        combo->setFixedWidth(64);
        mKeys[latin(key)].combo = combo;
        QLabel* label = addLabel(text, precision);
        label->setWordWrap(false);
        precisionRows->addWidget(label);
        precisionRows->addWidget(combo);
        precisionRows->addSpacing(12);
    }
    precisionRows->addStretch(1);
    right->addWidget(precision);

    auto* blocking = new QGroupBox(page);
    caption(blocking, u"vrstrClientBlock");
    auto* blockRows = new QVBoxLayout(blocking);
    QCheckBox* useBlock = addBox("TYPE_BLOCK_DESCRIBE", u"rstrUseBlockClient", blocking);
    blockRows->addWidget(useBlock);
    QList<QAbstractButton*>& blockButtons = mChoiceButtons[QStringLiteral("TYPE_BLOCK_DESCRIBE")];
    addChoices("TYPE_BLOCK_DESCRIBE", {u"rstrMonthBegin", u"rstrSpecDate"}, blocking, blockButtons);
    auto* blockChoices = new QHBoxLayout;
    blockChoices->addSpacing(24);
    for (QAbstractButton* b : blockButtons)
        blockChoices->addWidget(b);
    blockChoices->addStretch(1);
    blockRows->addLayout(blockChoices);
    auto* warning = new QHBoxLayout;
    warning->addWidget(addBox("USE_BLOCK_WARNING", u"vrstrUseClientBlock", blocking));
    QSpinBox* days = addSpin("BLOCK_WARNING_DAYS", blocking);
    // Changed with the spin buttons only.
    days->findChild<QLineEdit*>()->setReadOnly(true);
    warning->addWidget(days);
    mDaysLabel = new QLabel(blocking);
    warning->addWidget(mDaysLabel);
    warning->addStretch(1);
    blockRows->addLayout(warning);
    connect(useBlock, &QCheckBox::clicked, this, [this](bool on) {
        checkChoice(mKeys[QStringLiteral("TYPE_BLOCK_DESCRIBE")].group, on ? 0 : -1);
    });
    right->addWidget(blocking);

    auto* reports = new QGroupBox(page);
    caption(reports, u"vrstrRepAndDRSettings");
    auto* reportRows = new QVBoxLayout(reports);
    reportRows->addWidget(addLabel(u"vrstrReportOrderBy", reports));
    QList<QAbstractButton*>& reportButtons = mChoiceButtons[QStringLiteral("REPORT_ORDER_BY")];
    addChoices("REPORT_ORDER_BY", {u"vrstrReportOrderBy0", u"vrstrReportOrderBy1"}, reports, reportButtons);
    auto* reportChoices = new QHBoxLayout;
    for (QAbstractButton* b : reportButtons)
        reportChoices->addWidget(b);
    reportChoices->addStretch(1);
    reportRows->addLayout(reportChoices);
    reportRows->addWidget(addLabel(u"vrstrDROrderBy", reports));
    QList<QAbstractButton*>& drButtons = mChoiceButtons[QStringLiteral("DR_ORDER_BY")];
    addChoices("DR_ORDER_BY", {u"vrstrDROrderBy0", u"vrstrDROrderBy1", u"vrstrDROrderBy2"}, reports, drButtons);
    for (QAbstractButton* b : drButtons)
        reportRows->addWidget(b);
    reportRows->addWidget(addBox("HIDE_TIME", u"vrstrHideTime", reports));
    right->addWidget(reports);

    auto* holders = new QGroupBox(page);
    caption(holders, u"vrstrChangeHolderRequests");
    auto* holderRows = new QVBoxLayout(holders);
    holderRows->addWidget(addBox("CH_HOLDER_AFTER_SEND", u"vrstrChangeHolderImmediately", holders));
    right->addWidget(holders);

    auto* documents = new QGroupBox(page);
    caption(documents, u"vrstrDocuments");
    auto* documentRows = new QVBoxLayout(documents);
    documentRows->addWidget(addLabel(u"vrstrIsEmitentPath", documents));
    QList<QAbstractButton*>& pathButtons = mChoiceButtons[QStringLiteral("USE_EMITENT_PATH")];
    addChoices("USE_EMITENT_PATH", {u"vrstrWebIDPath", u"vrstrPetrolIDPath"}, documents, pathButtons);
    auto* pathChoices = new QHBoxLayout;
    for (QAbstractButton* b : pathButtons)
        pathChoices->addWidget(b);
    pathChoices->addStretch(1);
    documentRows->addLayout(pathChoices);
    right->addWidget(documents);

    auto* poses = new QGroupBox(page);
    caption(poses, u"rstrPOSes");
    auto* posRows = new QVBoxLayout(poses);
    posRows->addWidget(addLabel(u"rstrSortWebInterface", poses));
    mSort = addChoices(nullptr, {u"rstrByNumber", u"rstrByName"}, poses, mSortButtons);
    auto* sortChoices = new QHBoxLayout;
    for (QAbstractButton* b : mSortButtons)
        sortChoices->addWidget(b);
    sortChoices->addStretch(1);
    posRows->addLayout(sortChoices);
    right->addWidget(poses);
    right->addStretch(1);
    columns->addLayout(right, 1);
    return page;
}

QTableWidget* TfmSettings::createLegend(QWidget* parent, int rows)
{
    auto* legend = new QTableWidget(rows, 2, parent);
    legend->setEditTriggers(QAbstractItemView::NoEditTriggers);
    legend->setSelectionMode(QAbstractItemView::NoSelection);
    legend->verticalHeader()->hide();
    legend->verticalHeader()->setDefaultSectionSize(legend->fontMetrics().height() + 6);
    legend->horizontalHeader()->setStretchLastSection(true);
    legend->setColumnWidth(0, 90);
    legend->setFocusPolicy(Qt::NoFocus);
    mLegends.append(legend);
    return legend;
}

QWidget* TfmSettings::createTemplateGroup(TemplateGroup group, QWidget* parent)
{
    auto* box = new QGroupBox(parent);
    caption(box, u"vrstrLetterTemplate");
    auto* rows = new QVBoxLayout(box);
    auto* langRow = new QHBoxLayout;
    langRow->addWidget(addLabel(u"vrstrLanguage", box));
    auto* languages = new QComboBox(box);
    languages->setObjectName(group == FeedbackTemplates ? QStringLiteral("cbFeedbackLang")
                                                        : QStringLiteral("cbRecoveryLang"));
    languages->setMinimumWidth(160);
    mTemplates[group].languages = languages;
    langRow->addWidget(languages);
    langRow->addStretch(1);
    rows->addLayout(langRow);
    connect(languages, &QComboBox::currentIndexChanged, this, [this, group] {
        if (!mLoading)
            templateLanguageChosen(group);
    });
    struct Texts
    {
        const char16_t* header;
        const char16_t* message;
    };
    const QHash<int, Texts> texts = {
        {1, {u"vrstrTemplateHeader", u"vrstrTemplateMessage"}},
        {2, {u"vrstrMessageHeaderPR", u"vrstrMessageText_PR"}},
        {3, {u"vrstrMessageHeaderConfirmPR", u"vrstrMessaegText_PR_confirm"}},
    };
    for (int id : mTemplates[group].ids) {
        rows->addWidget(addLabel(texts[id].header, box));
        auto* header = new QLineEdit(box);
        header->setObjectName(QStringLiteral("edtTemplateHeader%1").arg(id));
        rows->addWidget(header);
        rows->addWidget(addLabel(texts[id].message, box));
        auto* message = new QPlainTextEdit(box);
        message->setObjectName(QStringLiteral("memTemplateMessage%1").arg(id));
        rows->addWidget(message, 1);
        mTemplateHeaders[id] = header;
        mTemplateMessages[id] = message;
        connect(header, &QLineEdit::textEdited, this, [this, group] { markChanged(group); });
        connect(message, &QPlainTextEdit::textChanged, this, [this, group] { markChanged(group); });
    }
    rows->addWidget(createLegend(box, group == FeedbackTemplates ? 6 : 5));
    return box;
}

void TfmSettings::markChanged(TemplateGroup group)
{
    if (!mLoading)
        mTemplates[group].changed = true;
}

// The mail server rows of the feedback and recovery pages; their keys differ by the prefix.
// Returns the widgets that follow the authentication box.
QList<QWidget*> TfmSettings::addMailServerRows(const char* prefix, QFormLayout* form, QWidget* parent)
{
    const auto key = [prefix](const char* name) { return QByteArray(prefix) + name; };
    form->addRow(addLabel(u"rstrSMTPServer", parent), addEdit(key("SMTP_SERVER").constData(), parent));
    form->addRow(addLabel(u"rstrPort", parent), addEdit(key("SMTP_PORT").constData(), parent));
    form->addRow(addBox(key("USE_AUTH").constData(), u"rstrAuth", parent));
    QLabel* user = addLabel(u"rstrUser", parent);
    QLineEdit* login = addEdit(key("SMTP_LOGIN").constData(), parent);
    form->addRow(user, login);
    QLabel* pass = addLabel(u"rstrPass", parent);
    QLineEdit* password = addEdit(key("SMTP_PASSWORD").constData(), parent);
    password->setEchoMode(QLineEdit::Password);
    form->addRow(pass, password);
    QCheckBox* ssl = addBox(key("SMTP_USE_SSL").constData(), u"vrstrUseEncription", parent);
    form->addRow(ssl);
    form->addRow(addLabel(u"vrstrSenderAddress", parent), addEdit(key("SENDER_EMAIL").constData(), parent));
    form->addRow(addLabel(u"vrstrSenderName", parent), addEdit(key("SENDER_NAME").constData(), parent));
    return {user, login, pass, password, ssl};
}

QWidget* TfmSettings::createFeedbackPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsFeedback"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(addBox("USE_FEEDBACK", u"vrstrUseFeedbackFunction", page));
    mFeedbackBody = new QWidget(page);
    layout->addWidget(mFeedbackBody, 1);
    auto* columns = new QHBoxLayout(mFeedbackBody);
    columns->setContentsMargins(0, 0, 0, 0);

    auto* left = new QVBoxLayout;
    auto* form = new QFormLayout;
    mFeedbackAuth = addMailServerRows("FB_", form, mFeedbackBody);
    form->addRow(addLabel(u"vrstrAdminAddress", mFeedbackBody), addEdit("FB_RECEIVER_EMAIL", mFeedbackBody));
    form->addRow(addBox("FB_SEND_TO_MANAGER", u"vrstrSendToManager", mFeedbackBody));
    left->addLayout(form);

    // Two rows: the captions are long, and a hidden overflow menu would hide commands.
    auto* bar = new QToolBar(mFeedbackBody);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(bar, {Cmd::acAddFeedbackType, Cmd::acEditFeedbackType, Cmd::acDeleteFeedbackType});
    auto* secondBar = new QToolBar(mFeedbackBody);
    secondBar->setIconSize(QSize(16, 16));
    secondBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(secondBar, {Cmd::acEditTranslations});
    mNavigator = new RecordNavigator(mFeedbackBody);
    mNavigator->setObjectName(QStringLiteral("nvFeedbackTypes"));
    mNavigator->setDataset(feedbackTypes());
    secondBar->addSeparator();
    secondBar->addWidget(mNavigator);
    left->addWidget(bar);
    left->addWidget(secondBar);
    mTypesGrid = new DBGrid(DBGrid::Family::Standard, mFeedbackBody);
    mTypesGrid->setObjectName(QStringLiteral("grdFeedbackTypes"));
    mTypesGrid->setOptions(DBGrid::readOnlyOptions() | GridOption::RowSelect);
    mTypesGrid->setDataset(feedbackTypes());
    mTypesGrid->horizontalHeader()->setStretchLastSection(true);
    left->addWidget(mTypesGrid, 1);
    connect(mTypesGrid, &QAbstractItemView::doubleClicked, this,
            [this] { action(Cmd::acEditFeedbackType)->trigger(); });
    columns->addLayout(left, 1);
    columns->addWidget(createTemplateGroup(FeedbackTemplates, mFeedbackBody), 1);
    return page;
}

QWidget* TfmSettings::createRecoveryPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsRecovery"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(addBox("USE_PASS_RECOVERY", u"vrstrUsePasswordRecovery", page));
    mRecoveryBody = new QWidget(page);
    layout->addWidget(mRecoveryBody, 1);
    auto* columns = new QHBoxLayout(mRecoveryBody);
    columns->setContentsMargins(0, 0, 0, 0);

    auto* left = new QVBoxLayout;
    auto* form = new QFormLayout;
    mRecoveryAuth = addMailServerRows("PR_", form, mRecoveryBody);
    form->addRow(addLabel(u"vrstrOrganizationSender", mRecoveryBody), addEdit("PR_ORG_SENDER", mRecoveryBody));
    form->addRow(addLabel(u"vrstrTempPasswordLength", mRecoveryBody), addSpin("PR_PASSWORD_LENGTH", mRecoveryBody));
    left->addLayout(form);
    left->addStretch(1);
    columns->addLayout(left, 1);
    columns->addWidget(createTemplateGroup(RecoveryTemplates, mRecoveryBody), 1);
    return page;
}

QWidget* TfmSettings::createSecurityPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsSecurity"));
    auto* layout = new QVBoxLayout(page);

    auto* signIn = new QGroupBox(page);
    caption(signIn, u"vrstrPercSuteEnter");
    auto* grid = new QGridLayout(signIn);
    grid->setColumnStretch(0, 1);
    const QList<std::pair<const char*, const char16_t*>> counts = {
        {"ALERT_FAILED_LOGINS", u"vrstrAlertFailedLogins"},
        {"PSW_ATTEMPTS_COUNT", u"vrstrMaxWrongPswCount"},
        {"LOGIN_BLOCK_TIMEOUT", u"vrstrBlockTimeout"},
    };
    int row = 0;
    for (const auto& [key, text] : counts) {
        grid->addWidget(addLabel(text, signIn), row, 0);
        grid->addWidget(addSpin(key, signIn), row, 1);
        ++row;
    }
    auto* unit = new QComboBox(signIn);
    unit->setObjectName(QStringLiteral("cbLOGIN_BLOCK_TO_HMS"));
    unit->addItems({QString(), QString(), QString()});
    mKeys[QStringLiteral("LOGIN_BLOCK_TO_HMS")].combo = unit;
    grid->addWidget(unit, row - 1, 2);
    layout->addWidget(signIn);

    auto* passwords = new QGroupBox(page);
    caption(passwords, u"vrstrPasswordSecuritySettings");
    auto* rules = new QVBoxLayout(passwords);
    rules->addWidget(addBox("ADV_PASS_SECUR", u"vrstrUseAdvPassSecur", passwords));
    const QList<std::pair<const char*, const char16_t*>> required = {
        {"PSW_CHARS_REQ", u"vrstrCharsMandatoryInPsw"},
        {"PSW_NUMBERS_REQ", u"vrstrNumbersMandatoryInPsw"},
        {"PSW_CAPITALS_REQ", u"vrstrCapitalsMandatoryInPsw"},
        {"TEV_SYMBOLS_REQ", u"vrstrSymbolsMandatoryInPsw"},
    };
    for (const auto& [key, text] : required) {
        QCheckBox* box = addBox(key, text, passwords);
        rules->addWidget(box);
        mPasswordRules.append(box);
    }
    auto* minRow = new QHBoxLayout;
    QLabel* minLabel = addLabel(u"vrstrMinPasswordLength", passwords);
    minLabel->setWordWrap(false);
    QSpinBox* minLength = addSpin("PSW_MIN_LENGTH", passwords);
    minRow->addWidget(minLabel);
    minRow->addWidget(minLength);
    minRow->addStretch(1);
    rules->addLayout(minRow);
    mPasswordRules << minLabel << minLength;
    layout->addWidget(passwords);
    layout->addStretch(1);
    return page;
}

// ---------------------------------------------------------------------------------------------
// Keys and their controls

QWidget* TfmSettings::control(const QString& key) const
{
    const KeyControls c = mKeys.value(key);
    if (c.box)
        return c.box;
    if (c.combo)
        return c.combo;
    if (c.spin)
        return c.spin;
    if (c.edit)
        return c.edit;
    if (c.lines)
        return c.lines;
    if (c.group && !c.group->buttons().isEmpty())
        return c.group->buttons().first();
    return nullptr;
}

QAbstractButton* TfmSettings::choiceButton(const QString& key, int choice) const
{
    const KeyControls c = mKeys.value(key);
    return c.group ? c.group->button(choice) : nullptr;
}

ControlState TfmSettings::state(const QString& key) const
{
    const KeyDef& def = Key(key);
    const KeyControls c = mKeys.value(key);
    ControlState s;
    switch (def.kind) {
    case Kind::Text:
    case Kind::Password:
    case Kind::Port:
        s.text = c.edit->text();
        break;
    case Kind::Lines:
        s.text = c.lines->toPlainText();
        break;
    case Kind::Flag:
        s.checked = c.box->isChecked();
        break;
    case Kind::Choice:
        s.choice = c.group ? c.group->checkedId() : c.combo->currentIndex();
        break;
    case Kind::Number:
        s.number = c.spin->value();
        break;
    case Kind::SendMode:
    case Kind::Blocking:
        s.checked = c.box->isChecked();
        // A clear box has no choice, whatever its disabled buttons show.
        s.choice = s.checked ? c.group->checkedId() : -1;
        break;
    }
    return s;
}

void TfmSettings::setState(const QString& key, const ControlState& s)
{
    const KeyDef& def = Key(key);
    const KeyControls c = mKeys.value(key);
    switch (def.kind) {
    case Kind::Text:
    case Kind::Password:
    case Kind::Port:
        c.edit->setText(s.text);
        break;
    case Kind::Lines:
        c.lines->setPlainText(s.text);
        break;
    case Kind::Flag:
        c.box->setChecked(s.checked);
        break;
    case Kind::Choice:
        if (c.group)
            checkChoice(c.group, s.choice);
        else
            c.combo->setCurrentIndex(s.choice);
        break;
    case Kind::Number:
        c.spin->setValue(s.number);
        break;
    case Kind::SendMode:
    case Kind::Blocking:
        c.box->setChecked(s.checked);
        checkChoice(c.group, s.checked ? s.choice : -1);
        break;
    }
    if (!mLoading)
        updateEnabling();
}

int TfmSettings::sortChoice() const
{
    return mSort->checkedId();
}

QAbstractButton* TfmSettings::sortButton(int choice) const
{
    return mSort->button(choice);
}

void TfmSettings::readSettings()
{
    // Read afresh: the data module keeps the store from its last reading, and another
    // administrator may have changed it since.
    db::Query* store = mDm.queries().oqTEVConfigs;
    store->close();
    for (const KeyDef& def : Keys()) {
        const QString key = latin(def.key);
        setState(key, FromStored(def, mDm.GetConfigValue(key)));
        mLoaded[key] = state(key);
    }
    readSortChoice();
}

void TfmSettings::readSortChoice()
{
    mSortLoaded = -1;
    try {
        const int sort = mDm.queries().TEV_UTILS->execFunc(QStringLiteral("get_current_type_sort")).toInt();
        if (sort == 0 || sort == 1)
            mSortLoaded = sort;
    } catch (const std::exception&) {
        // The portal's answer only preselects a choice; "по №" stands in for it.
    }
    checkChoice(mSort, mSortLoaded < 0 ? 0 : mSortLoaded);
}

void TfmSettings::updateEnabling()
{
    auto on = [this](const char* key) { return mKeys.value(latin(key)).box->isChecked(); };
    const bool feedback = on("USE_FEEDBACK");
    mFeedbackBody->setEnabled(feedback);
    for (QWidget* w : mFeedbackAuth)
        w->setEnabled(on("FB_USE_AUTH"));
    mRecoveryBody->setEnabled(on("USE_PASS_RECOVERY"));
    for (QWidget* w : mRecoveryAuth)
        w->setEnabled(on("PR_USE_AUTH"));
    const bool blocking = on("TYPE_BLOCK_DESCRIBE");
    for (QAbstractButton* b : mChoiceButtons.value(QStringLiteral("TYPE_BLOCK_DESCRIBE")))
        b->setEnabled(blocking);
    mKeys.value(QStringLiteral("USE_BLOCK_WARNING")).box->setEnabled(blocking);
    mKeys.value(QStringLiteral("BLOCK_WARNING_DAYS")).spin->setEnabled(blocking);
    mDaysLabel->setEnabled(blocking);
    for (QWidget* w : mPasswordRules)
        w->setEnabled(on("ADV_PASS_SECUR"));
    for (QAbstractButton* b : mChoiceButtons.value(QStringLiteral("CAN_SEND_OC_IMM")))
        b->setEnabled(on("CAN_SEND_OC_IMM"));
    for (const Templates& t : mTemplates)
        for (int id : t.ids) {
            mTemplateHeaders[id]->setEnabled(t.langId != 0);
            mTemplateMessages[id]->setEnabled(t.langId != 0);
        }
    requestActionsUpdate();
}

// ---------------------------------------------------------------------------------------------
// Showing and captions

void TfmSettings::FormShow()
{
    TDlgBaseForm::FormShow();
    if (!mTemplates[FeedbackTemplates].languages->count()) {
        reopenTypes({});
        fillTemplateLanguages();
        mPages->setCurrentIndex(GeneralPage);
    }
    updateEnabling();
}

void TfmSettings::SetupCaptions()
{
    TDlgBaseForm::SetupCaptions();
    setWindowTitle(lang::tr(u"vrstrCommonSettings"));
    OkBtn()->setText(lang::tr(u"rstrApply"));
    CancelBtn()->setText(lang::tr(u"rstrCancel"));
    mActions.applyTexts();
    const QString translations = lang::catalogueText(u"vrstrEditTranslation", 1);
    action(Cmd::acEditTranslations)->setText(translations);
    action(Cmd::acEditTranslations)->setToolTip(translations);
    const QList<const char16_t*> pageTitles = {u"vrstrGeneralSettings", u"vrstrFeedbackSettings",
                                               u"vrstrPasswordRecovery", u"vrstrSecuritySettings"};
    for (int i = 0; i < pageTitles.size(); ++i)
        mPages->setTabText(i, lang::tr(pageTitles[i]));
    for (const Caption& c : mCaptions) {
        const QString text = lang::tr(c.key);
        if (auto* button = qobject_cast<QAbstractButton*>(c.widget))
            button->setText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(c.widget))
            group->setTitle(text);
        else if (auto* label = qobject_cast<QLabel*>(c.widget))
            label->setText(text);
    }
    mDaysLabel->setText(own("дней", "days"));
    QComboBox* unit = mKeys.value(QStringLiteral("LOGIN_BLOCK_TO_HMS")).combo;
    const QList<const char16_t*> units = {u"vrstrS", u"vrstrM", u"vrstrH"};
    for (int i = 0; i < units.size(); ++i)
        unit->setItemText(i, lang::tr(units[i]));
    mNavigator->setHints({lang::tr(u"rstrFirstRec"), lang::tr(u"rstrPriorRec"), lang::tr(u"rstrNextRec"),
                          lang::tr(u"rstrLastRec"), QString(), QString(), QString(), QString(), QString(),
                          lang::tr(u"rstrRefreshData")});
    feedbackTypes()->defineField(QStringLiteral("TYPE_NAME_ANSI")).setDisplayLabel(lang::tr(u"vrstrFeedbackType"));

    using Legend = QList<std::pair<QString, QString>>;
    const Legend feedback = {
        {QStringLiteral("%1$s"), lang::tr(u"vrstrFeedbackNumber")},
        {QStringLiteral("%2$s"), lang::tr(u"rstrClient")},
        {QStringLiteral("%3$s"), lang::tr(u"vrstrAdmninEmail")},
        {QStringLiteral("%4$s"), lang::tr(u"vrstrFeedbackText")},
        {QStringLiteral("%5$s"), lang::tr(u"vrstrFeedbackType")},
        {QStringLiteral("%6$s"), lang::tr(u"rstrLogin")},
    };
    const Legend recovery = {
        {QStringLiteral("%1$s"), lang::tr(u"rstrLogin")},
        {QStringLiteral("%2$s"), lang::tr(u"rstrPass")},
        {QStringLiteral("%3$s"), lang::tr(u"rstrLoginType").trimmed()},
        {QStringLiteral("%4$s"), lang::tr(u"vrstrPAsswordRecoveryURL")},
        {QStringLiteral("<<<, >>>"), lang::tr(u"vrstrIterationsBlocks")},
    };
    for (int i = 0; i < mLegends.size(); ++i) {
        QTableWidget* legend = mLegends[i];
        legend->setHorizontalHeaderLabels({lang::tr(u"vrstrEvJrnParam"), lang::tr(u"vrstrEvJrnDetail")});
        const Legend& rows = i == 0 ? feedback : recovery;
        for (int r = 0; r < rows.size(); ++r) {
            legend->setItem(r, 0, new QTableWidgetItem(rows[r].first));
            legend->setItem(r, 1, new QTableWidgetItem(rows[r].second));
        }
        legend->setFixedHeight(legend->horizontalHeader()->sizeHint().height() +
                               int(rows.size()) * legend->verticalHeader()->defaultSectionSize() + 4);
    }
}

void TfmSettings::ActionsUpdate()
{
    TDlgBaseForm::ActionsUpdate();
    const bool feedback = mKeys.value(QStringLiteral("USE_FEEDBACK")).box->isChecked();
    action(Cmd::acAddFeedbackType)->setEnabled(feedback);
    for (const char* cmd : {Cmd::acEditFeedbackType, Cmd::acDeleteFeedbackType, Cmd::acEditTranslations})
        action(cmd)->setEnabled(feedback && hasTypes());
}

// ---------------------------------------------------------------------------------------------
// Feedback types

db::Query* TfmSettings::feedbackTypes() const
{
    return mDm.queries().oqFeedBackTypes;
}

bool TfmSettings::hasTypes() const
{
    db::Query* q = feedbackTypes();
    return q->isOpen() && !q->isEmpty() && q->currentRow() >= 0;
}

int TfmSettings::currentTypeId() const
{
    return int(feedbackTypes()->asInteger(latin(kTypeIdField)));
}

void TfmSettings::reopenTypes(const QVariant& typeId)
{
    db::Query* q = feedbackTypes();
    q->close();
    q->setParam(latin(kLangParam), mDm.LanguageId());
    q->open();
    if (!typeId.isNull())
        q->locate(latin(kTypeIdField), typeId);
    requestActionsUpdate();
}

void TfmSettings::acAddFeedbackTypeExecute()
{
    QString text;
    QVariant id;
    db::Package* pkg = mDm.queries().TEV_UTILS;
    // A name the portal refuses comes back in the dialog, so nothing typed is lost.
    for (;;) {
        if (EditStringDialog(lang::tr(u"vrstrFeedbackType"), kMaxTypeNameLength, text, this) != lang::mrOk)
            return;
        try {
            inOneTransaction(*mDm.session(), [&] {
                pkg->execProc(QStringLiteral("ins_feedback_type"), {text, mDm.LanguageId(), QVariant()});
                id = pkg->paramByName(QStringLiteral("p_type_id")).value();
            });
            break;
        } catch (const std::exception& e) {
            lang::ShowMsgBox(this, errorText(e), 1);
        }
    }
    reopenTypes(id);
}

void TfmSettings::acEditFeedbackTypeExecute()
{
    if (!hasTypes() || !action(Cmd::acEditFeedbackType)->isEnabled())
        return;
    const int id = currentTypeId();
    QString text = feedbackTypes()->asString(latin(kTypeNameField));
    for (;;) {
        if (EditStringDialog(lang::tr(u"vrstrFeedbackType"), kMaxTypeNameLength, text, this) != lang::mrOk)
            return;
        try {
            inOneTransaction(*mDm.session(), [&] {
                mDm.queries().TEV_UTILS->execProc(QStringLiteral("upd_feedback_type"),
                                                  {id, text, mDm.LanguageId()});
            });
            break;
        } catch (const std::exception& e) {
            lang::ShowMsgBox(this, errorText(e), 1);
        }
    }
    reopenTypes(id);
    acEditTranslationsExecute();
}

void TfmSettings::acDeleteFeedbackTypeExecute()
{
    if (!hasTypes())
        return;
    if (lang::MessageDlgLang(lang::tr(u"vrstrTRGrConfirmDel"), lang::MsgDlgType::Confirmation,
                             lang::mbOK | lang::mbCancel) != lang::mrOk)
        return;
    const int id = currentTypeId();
    try {
        inOneTransaction(*mDm.session(),
                         [&] { mDm.queries().TEV_UTILS->execProc(QStringLiteral("del_feedback_type"), {id}); });
        reopenTypes({});
        return;
    } catch (const db::OraError& e) {
        if (e.code() == 2292)
            lang::ShowMsgBox(this, lang::tr(u"vrstrCannotDeleteFeedbackType"), 1);
        else
            lang::ShowMsgBox(this, e.message(), 1);
    }
    reopenTypes(id);
}

void TfmSettings::acEditTranslationsExecute()
{
    if (!hasTypes())
        return;
    const int id = currentTypeId();
    ShowPhraseTranslation(this, mDm.session(), mDm.ActiveScheme(), ptFeedbackType, id);
    reopenTypes(id);
}

// ---------------------------------------------------------------------------------------------
// Letter templates

QLineEdit* TfmSettings::templateHeader(int templateId) const
{
    return mTemplateHeaders.value(templateId);
}

QPlainTextEdit* TfmSettings::templateMessage(int templateId) const
{
    return mTemplateMessages.value(templateId);
}

void TfmSettings::fillTemplateLanguages()
{
    const QList<WebLanguage> languages = ReadWebLanguages(*mDm.session(), mDm.ActiveScheme(), mDm.LanguageId());
    mLoading = true;
    for (TemplateGroup group : {FeedbackTemplates, RecoveryTemplates}) {
        QComboBox* combo = mTemplates[group].languages;
        combo->clear();
        int current = -1;
        for (const WebLanguage& l : languages) {
            combo->addItem(l.name, l.id);
            if (l.current)
                current = combo->count() - 1;
        }
        combo->setCurrentIndex(current);
        mTemplates[group].langId = current < 0 ? 0 : combo->itemData(current).toInt();
        loadTemplates(group);
    }
    mLoading = false;
    updateEnabling();
}

void TfmSettings::loadTemplates(TemplateGroup group)
{
    const bool loading = mLoading;
    mLoading = true;
    db::Query* q = mDm.queries().oqMessageTemplates;
    for (int id : mTemplates[group].ids) {
        QString header;
        QString message;
        if (mTemplates[group].langId != 0) {
            q->close();
            q->setParam(QStringLiteral("pLangID"), mTemplates[group].langId);
            q->setParam(QStringLiteral("pID"), id);
            q->open();
            if (!q->isEmpty()) {
                header = QString::fromUtf8(q->value(QStringLiteral("TEMPLATE_HEADER")).toByteArray());
                message =
                    QString::fromUtf8(q->value(QStringLiteral("TEMPLATE_MESSAGE")).toByteArray());
            }
            q->close();
        }
        mTemplateHeaders[id]->setText(header);
        mTemplateMessages[id]->setPlainText(message);
    }
    mTemplates[group].changed = false;
    mLoading = loading;
}

std::optional<TfmSettings::Failure> TfmSettings::templateLengthFailure(TemplateGroup group) const
{
    const int page = group == FeedbackTemplates ? FeedbackPage : RecoveryPage;
    for (int id : mTemplates[group].ids) {
        if (mTemplateHeaders[id]->text().size() > kMaxTemplateHeader)
            return Failure{own("Заголовок шаблона длиннее %1 символов.", "The template subject is longer than %1 "
                                                                          "characters.")
                               .arg(kMaxTemplateHeader),
                           page, mTemplateHeaders[id]};
        // Counted as stored, with CR LF line ends.
        const QString body = mTemplateMessages[id]->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        if (group == RecoveryTemplates && body.size() > kMaxRecoveryMessage)
            return Failure{own("Текст шаблона длиннее %1 символов.", "The template text is longer than %1 characters.")
                               .arg(kMaxRecoveryMessage),
                           page, mTemplateMessages[id]};
    }
    return std::nullopt;
}

void TfmSettings::writeTemplates(TemplateGroup group)
{
    db::StoredProc* sp = mDm.queries().ospUpdMessageTemplate;
    for (int id : mTemplates[group].ids) {
        const QString body = mTemplateMessages[id]->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        sp->setParam(QStringLiteral("P_ID"), id);
        sp->setParam(QStringLiteral("P_LANG_ID"), mTemplates[group].langId);
        sp->setParam(QStringLiteral("P_TEMPLATE_HEADER"), mTemplateHeaders[id]->text().toUtf8());
        sp->setParam(QStringLiteral("P_TEMPLATE_MESSAGE"), body.toUtf8());
        sp->execProc();
    }
}

void TfmSettings::templateLanguageChosen(TemplateGroup group)
{
    Templates& t = mTemplates[group];
    QComboBox* combo = t.languages;
    const int chosen = combo->currentData().toInt();
    if (chosen == t.langId)
        return;
    auto goBack = [&] {
        mLoading = true;
        combo->setCurrentIndex(combo->findData(t.langId));
        mLoading = false;
    };
    if (t.changed && t.langId != 0 &&
        lang::MessageDlgLang(lang::tr(u"vrstrTemplateWasChanged"), lang::MsgDlgType::Warning,
                             lang::mbYes | lang::mbNo) == lang::mrYes) {
        if (const std::optional<Failure> f = templateLengthFailure(group)) {
            lang::ShowMsgBox(this, f->message, 1);
            goBack();
            return;
        }
        try {
            inOneTransaction(*mDm.session(), [&] { writeTemplates(group); });
        } catch (const std::exception& e) {
            // Nothing was stored: the edits stay, under the language they were made for.
            lang::ShowMsgBox(this, errorText(e), 1);
            goBack();
            return;
        }
    }
    t.langId = chosen;
    loadTemplates(group);
    updateEnabling();
}

// ---------------------------------------------------------------------------------------------
// Accepting

std::optional<TfmSettings::Failure> TfmSettings::Validate() const
{
    auto edit = [this](const char* key) { return mKeys.value(latin(key)).edit; };
    auto on = [this](const char* key) { return mKeys.value(latin(key)).box->isChecked(); };
    auto missing = [&](const char* key, const char16_t* captionKey, int page) -> std::optional<Failure> {
        if (!edit(key)->text().trimmed().isEmpty())
            return std::nullopt;
        return Failure{lang::tr(u"vrstrMandatoryFieldNotFilled") + QLatin1Char(' ') + lang::tr(captionKey), page,
                       edit(key)};
    };
    if (on("USE_FEEDBACK")) {
        for (const auto& [key, text] : QList<std::pair<const char*, const char16_t*>>{
                 {"FB_SMTP_SERVER", u"rstrSMTPServer"},
                 {"FB_SMTP_PORT", u"rstrPort"},
                 {"FB_SENDER_EMAIL", u"vrstrSenderAddress"},
                 {"FB_RECEIVER_EMAIL", u"vrstrAdminAddress"}})
            if (auto f = missing(key, text, FeedbackPage))
                return f;
        if (on("FB_USE_AUTH"))
            if (auto f = missing("FB_SMTP_LOGIN", u"rstrUser", FeedbackPage))
                return f;
        db::Query* types = feedbackTypes();
        if (!types->isOpen() || types->isEmpty())
            return Failure{lang::tr(u"vrstrFeedbackTypesNotFiiled"), FeedbackPage, mTypesGrid};
    }
    if (on("USE_PASS_RECOVERY")) {
        for (const auto& [key, text] :
             QList<std::pair<const char*, const char16_t*>>{{"PR_SMTP_SERVER", u"rstrSMTPServer"},
                                                           {"PR_SMTP_PORT", u"rstrPort"},
                                                           {"PR_SENDER_EMAIL", u"vrstrSenderAddress"}})
            if (auto f = missing(key, text, RecoveryPage))
                return f;
        if (on("PR_USE_AUTH"))
            if (auto f = missing("PR_SMTP_LOGIN", u"rstrUser", RecoveryPage))
                return f;
    }

    // What the portal could not use: a port out of range, something that is no address.
    for (const auto& [key, page] :
         QList<std::pair<const char*, int>>{{"FB_SMTP_PORT", FeedbackPage}, {"PR_SMTP_PORT", RecoveryPage}}) {
        const QString port = edit(key)->text().trimmed();
        if (!port.isEmpty() && !IsPort(port))
            return Failure{own("Порт должен быть числом от 1 до 65535.", "The port must be a number from 1 to 65535."),
                           page, edit(key)};
    }
    for (const auto& [key, page, list] : QList<std::tuple<const char*, int, bool>>{
             {"FB_SENDER_EMAIL", FeedbackPage, false},
             {"FB_RECEIVER_EMAIL", FeedbackPage, true},
             {"PR_SENDER_EMAIL", RecoveryPage, false}}) {
        const QString address = edit(key)->text().trimmed();
        if (!address.isEmpty() && !(list ? IsAddressList(address) : IsAddress(address)))
            return Failure{own("Неверный адрес электронной почты: %1", "Not an e-mail address: %1").arg(address), page,
                           edit(key)};
    }
    // Nothing is cut: a value longer than the store keeps is refused.
    for (const auto& [key, value] : changedKeys())
        if (value.size() > kMaxStoredLength) {
            const KeyDef& def = Key(key);
            return Failure{own("Значение длиннее %1 символов (переводы строк считаются за два): %2",
                               "The value is longer than %1 characters (line breaks count as two): %2")
                               .arg(kMaxStoredLength)
                               .arg(key),
                           def.page, control(key)};
        }
    for (TemplateGroup group : {FeedbackTemplates, RecoveryTemplates})
        if (mTemplates[group].changed)
            if (auto f = templateLengthFailure(group))
                return f;
    return std::nullopt;
}

QList<QPair<QString, QString>> TfmSettings::changedKeys() const
{
    QList<QPair<QString, QString>> changed;
    for (const KeyDef& def : Keys()) {
        const QString key = latin(def.key);
        const ControlState now = state(key);
        // A control left as it was read keeps the stored text, odd or not.
        if (now == mLoaded.value(key))
            continue;
        if (const std::optional<QString> stored = ToStored(def, now))
            changed.append({key, *stored});
    }
    return changed;
}

bool TfmSettings::save()
{
    const QList<QPair<QString, QString>> keys = changedKeys();
    db::StoredProc* sp = mDm.queries().ospSetTEVConfigs;
    const int sort = sortChoice();
    try {
        inOneTransaction(*mDm.session(), [&] {
            for (const auto& [key, value] : keys) {
                sp->setParam(QStringLiteral("P_PARAM_NAME"), key);
                sp->setParam(QStringLiteral("P_PARAM_VAL"), value);
                sp->execProc();
            }
            for (TemplateGroup group : {FeedbackTemplates, RecoveryTemplates})
                if (mTemplates[group].changed && mTemplates[group].langId != 0)
                    writeTemplates(group);
            // A choice that could not be read is written only when the administrator made one.
            if (sort >= 0 && sort != (mSortLoaded < 0 ? 0 : mSortLoaded))
                mDm.queries().TEV_UTILS->execProc(QStringLiteral("SET_CURRENT_TYPE_SORT"), {sort});
        });
    } catch (const std::exception& e) {
        mDm.queries().oqTEVConfigs->close();
        lang::ShowMsgBox(this, errorText(e), 1);
        return false;
    }
    // The data module's copy of the store is read again when next asked.
    mDm.queries().oqTEVConfigs->close();
    return true;
}

void TfmSettings::accept()
{
    if (const std::optional<Failure> f = Validate()) {
        lang::ShowMsgBoxCaption(this, f->message, lang::tr(u"rstrError"), 1);
        mPages->setCurrentIndex(f->page);
        if (f->focus)
            f->focus->setFocus();
        return;
    }
    if (!save())
        return;
    TDlgBaseForm::accept();
}

// ---------------------------------------------------------------------------------------------

void ShowPortalSettings(QWidget* owner, TdmMain& dm, ClientsWorkArea* workArea)
{
    TfmSettings window(owner, dm);
    window.ensureCreated();
    if (framework::execModal(window) != QDialog::Accepted || !workArea)
        return;
    db::Query* clients = workArea->qryClients();
    const QString idField = latin(ClientsQuery::kIdField);
    const QVariant client = clients->isOpen() && !clients->isEmpty() ? clients->value(idField) : QVariant();
    // Reopens the clients with the same emitent and the report-name switch as now stored.
    workArea->OpenEmitentData();
    if (!client.isNull())
        clients->locate(idField, client);
    workArea->actHideDetail()->trigger();
}

#include "TfmWebNames.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "MessageDialogs.h"
#include "Package.h"
#include "PortalCodec.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "ReferenceQueries.h"
#include "ReferenceSupport.h"
#include "Session.h"
#include "TfmEditString.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

TfmWebNames::TfmWebNames(QWidget* owner, const QString& shema, db::Session* session, int languageId,
                         Kind kind)
    : TMainBaseForm(owner, shema, session), mLanguageId(languageId), mKind(std::move(kind))
{
    setObjectName(QString::fromLatin1(mKind.objectName));

    db::Query* q = OraQuery1();
    q->setSql(mKind.sql);
    for (const char* param : {ReferenceQueries::kInterfaceLangParam, ReferenceQueries::kWebLangParam})
        q->paramByName(QString::fromLatin1(param)).setDataType(db::DataType::Integer);
    for (const QString& key : mKind.keyFields)
        q->defineField(key).setVisible(false);
    q->defineField(mKind.shortNameField).setVisible(false);
    q->defineField(mKind.nameField).setVisible(false);
    reference::AddDecodedField(q, mKind.shortNameField + QStringLiteral("_ANSI"), mKind.shortNameField, 40);
    reference::AddDecodedField(q, mKind.nameField + QStringLiteral("_ANSI"), mKind.nameField, 50);

    mTevUtils = new db::Package(this);
    mTevUtils->setObjectName(QStringLiteral("TEV_UTILS"));
    mTevUtils->setPackageName(QStringLiteral("tev.TEV_UTILS"));

    mEdit = new QAction(QIcon::fromTheme(QStringLiteral("document-edit")), QString(), this);
    mEdit->setObjectName(QString::fromLatin1(mKind.editAction));
    addAction(mEdit);
    connect(mEdit, &QAction::triggered, this, &TfmWebNames::acEditExecute);

    mUseInWeb = new QCheckBox(ClientPanel());
    mUseInWeb->setObjectName(QStringLiteral("chkUseInWeb"));
    mWebLangLabel = new QLabel(ClientPanel());
    mWebLang = new QComboBox(ClientPanel());
    mWebLang->setObjectName(QStringLiteral("cbWebLang"));
    mWebLang->setMinimumWidth(200);
    auto* langRow = new QHBoxLayout;
    langRow->addWidget(mWebLangLabel);
    langRow->addWidget(mWebLang);
    langRow->addStretch(1);

    auto* bar = new QToolBar(ClientPanel());
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addAction(mEdit);
    mNavigator = new RecordNavigator(ClientPanel());
    mNavigator->setObjectName(QStringLiteral("DBNavigator1"));
    mNavigator->setDataset(q);
    bar->addWidget(mNavigator);

    mGrid = new DBGrid(DBGrid::Family::Standard, ClientPanel());
    mGrid->setObjectName(QStringLiteral("grdNames"));
    mGrid->setOptions(DBGrid::readOnlyOptions() | GridOption::RowSelect);
    mGrid->setDataset(q);
    mGrid->horizontalHeader()->setStretchLastSection(true);

    auto* layout = new QVBoxLayout(ClientPanel());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mUseInWeb);
    layout->addLayout(langRow);
    layout->addWidget(bar);
    layout->addWidget(mGrid, 1);
    resize(640, 480);

    connect(mGrid, &QAbstractItemView::doubleClicked, mEdit, &QAction::trigger);
    connect(mWebLang, &QComboBox::activated, this, [this] { reopen(currentKey()); });
}

TfmWebNames::~TfmWebNames() = default;

bool TfmWebNames::useInWeb() const
{
    return mUseInWeb->isChecked();
}

void TfmWebNames::setUseInWeb(bool on)
{
    mUseInWeb->setChecked(on);
}

int TfmWebNames::webLanguageId() const
{
    return mWebLang->currentData().toInt();
}

void TfmWebNames::selectWebLanguage(int langId)
{
    const int index = mWebLang->findData(langId);
    if (index < 0)
        return;
    mWebLang->setCurrentIndex(index);
    reopen(currentKey());
}

void TfmWebNames::FormShow()
{
    TMainBaseForm::FormShow();
    reference::FillWebLanguageCombo(mWebLang, *GetSession(), GetShema(), mLanguageId);
    reopen({});
}

void TfmWebNames::SetupCaptions()
{
    TMainBaseForm::SetupCaptions();
    setWindowTitle(lang::tr(mKind.captionKey));
    mEdit->setText(lang::tr(u"rstrChange"));
    mEdit->setToolTip(lang::tr(u"rstrChange"));
    OkBtn()->setText(lang::tr(u"rstrExitShort"));
    mUseInWeb->setText(lang::tr(u"vrstrSFWUseInWeb"));
    mWebLangLabel->setText(lang::tr(u"rstrWebLangs"));
    OraQuery1()
        ->defineField(mKind.shortNameField + QStringLiteral("_ANSI"))
        .setDisplayLabel(lang::tr(mKind.shortNameKey));
    OraQuery1()
        ->defineField(mKind.nameField + QStringLiteral("_ANSI"))
        .setDisplayLabel(lang::tr(u"vrstrSFWNameForWeb"));
    mGrid->setHint(lang::tr(mKind.captionKey));
}

void TfmWebNames::ActionsUpdate()
{
    TMainBaseForm::ActionsUpdate();
    mEdit->setEnabled(OraQuery1()->isOpen() && !OraQuery1()->isEmpty());
}

QVariantList TfmWebNames::currentKey() const
{
    db::Query* q = OraQuery1();
    if (!q->isOpen() || q->isEmpty() || q->currentRow() < 0)
        return {};
    QVariantList key;
    for (const QString& field : mKind.keyFields)
        key << q->value(field);
    return key;
}

void TfmWebNames::reopen(const QVariantList& key)
{
    db::Query* q = OraQuery1();
    q->close();
    q->setParam(QString::fromLatin1(ReferenceQueries::kInterfaceLangParam), mLanguageId);
    q->setParam(QString::fromLatin1(ReferenceQueries::kWebLangParam), webLanguageId());
    q->open();
    if (!key.isEmpty())
        q->locate(mKind.keyFields.join(QLatin1Char(';')), key);
}

void TfmWebNames::acEditExecute()
{
    const QVariantList key = currentKey();
    if (key.isEmpty())
        return;
    QString text = OraQuery1()->asString(mKind.nameField);
    if (EditStringDialog(lang::tr(mKind.promptKey), mKind.maxLength, text, this) != lang::mrOk)
        return;
    QVariantList args = key;
    args << text << webLanguageId();
    reference::InOneTransaction(*GetSession(), [&] { mTevUtils->execProc(mKind.procedure, args); });
    reopen(key);
}

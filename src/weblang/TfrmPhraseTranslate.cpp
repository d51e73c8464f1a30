#include "TfrmPhraseTranslate.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "Package.h"
#include "PortalCodec.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "Session.h"
#include "TfmEditString.h"
#include "ui_TfrmPhraseTranslate.h"

#include <QAction>
#include <QPushButton>
#include <QToolButton>

namespace {

// The portal's phrase column holds up to 4000 characters; the window edits short names only.
constexpr int kMaxTranslationLength = 100;

const QString kLngId = QStringLiteral("LNG_ID");
const QString kPhrase = QStringLiteral("PHRASE");

void addDecoded(db::Query* query, const QString& name, const QString& source, int width)
{
    query->addCalculatedField(name, db::DataType::String,
                              [source](const db::Dataset& d, int row) -> QVariant {
                                  const QVariant stored = d.physicalValue(row, d.fieldIndex(source));
                                  if (stored.isNull())
                                      return {};
                                  return DecodeUnicodeEscapes(stored.toString());
                              },
                              0, {source});
    query->defineField(name).setDisplayWidth(width);
}

} // namespace

QString TfrmPhraseTranslate::PhrasesSql()
{
    QString text;
    for (const char* line :
         {"SELECT l.lng_id,", "       l.lng_lang_name_trans,", "       p.phrase",
          "FROM   &shema.v_tev_phrases p,", "       &shema.v_tev_langs   l", "WHERE  p.lang_id(+) = l.lng_id",
          "AND    p.type_id(+) = :pTypeId", "AND    p.id(+) = :pPhraseId", "&ORDER &FIELD"})
        text += QString::fromLatin1(line) + QLatin1String("\r\n");
    return text;
}

TfrmPhraseTranslate::TfrmPhraseTranslate(QWidget* owner, const QString& shema, db::Session* session,
                                         int phraseTypeId, int phraseId)
    : TMainBaseForm(owner, shema, session), ui(std::make_unique<Ui::TfrmPhraseTranslate>()),
      mTypeId(phraseTypeId), mPhraseId(phraseId)
{
    setObjectName(QStringLiteral("frmPhraseTranslate"));
    ui->setupUi(ClientPanel());
    resize(520, 340);

    mTevUtils = new db::Package(this);
    mTevUtils->setObjectName(QStringLiteral("TEV_UTILS"));
    mTevUtils->setPackageName(QStringLiteral("tev.TEV_UTILS"));

    // The base's main query carries this window's list.
    db::Query* query = OraQuery1();
    query->setSql(PhrasesSql());
    query->setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    query->setMacro(QStringLiteral("FIELD"), QStringLiteral("lng_id"));
    query->paramByName(QStringLiteral("pTypeId")).setDataType(db::DataType::Integer);
    query->paramByName(QStringLiteral("pPhraseId")).setDataType(db::DataType::Integer);
    for (const char* stored : {"LNG_ID", "LNG_LANG_NAME_TRANS", "PHRASE"})
        query->defineField(QString::fromLatin1(stored)).setVisible(false);
    addDecoded(query, QStringLiteral("LANG_NAME_ANSI"), QStringLiteral("LNG_LANG_NAME_TRANS"), 18);
    addDecoded(query, QStringLiteral("PHRASE_ANSI"), kPhrase, 33);

    ui->dbgPhrases->setFamily(DBGrid::Family::Unicode);
    ui->dbgPhrases->setDataset(query);
    ui->DBNavigator1->setDataset(query);

    mActions.create(this, ActionRows());
    ui->btnEditPhrase->setDefaultAction(acEditPhrase());
    connect(ui->dbgPhrases, &QAbstractItemView::doubleClicked, acEditPhrase(), &QAction::trigger);
}

const QList<framework::ActionRow<TfrmPhraseTranslate>>& TfrmPhraseTranslate::ActionRows()
{
    // vrstrEditTranslation has two entries; the key alone reads the first, this window's.
    static const QList<framework::ActionRow<TfrmPhraseTranslate>> rows = {
        {Cmd::acEditPhrase, u"vrstrEditTranslation", {}, "document-edit", {}, &TfrmPhraseTranslate::acEditPhraseExecute},
    };
    return rows;
}

QAction* TfrmPhraseTranslate::acEditPhrase() const
{
    return &mActions.action(Cmd::acEditPhrase);
}

TfrmPhraseTranslate::~TfrmPhraseTranslate() = default;

DBGrid* TfrmPhraseTranslate::dbgPhrases() const
{
    return ui->dbgPhrases;
}

RecordNavigator* TfrmPhraseTranslate::DBNavigator1() const
{
    return ui->DBNavigator1;
}

void TfrmPhraseTranslate::FormShow()
{
    TMainBaseForm::FormShow();
    db::Query* query = OraQuery1();
    query->close();
    query->setParam(QStringLiteral("pTypeId"), mTypeId);
    query->setParam(QStringLiteral("pPhraseId"), mPhraseId);
    query->open();
}

void TfrmPhraseTranslate::SetupCaptions()
{
    TMainBaseForm::SetupCaptions();
    setWindowTitle(lang::tr(u"vrstrWebPhraseTranslation"));
    const std::pair<QAction*, const char16_t*> captions[] = {
        {pFirst(), u"rstrFirstRec"}, {pPrev(), u"rstrPriorRec"},       {pNext(), u"rstrNextRec"},
        {pLast(), u"rstrLastRec"},   {pRefresh(), u"rstrRefreshData"}, {pFind(), u"rstrFind"},
        {pSort(), u"rstrSort"},      {pFilter(), u"rstrFilter"},       {pReport(), u"rstrReport"}};
    for (const auto& [action, key] : captions) {
        action->setText(lang::tr(key));
        action->setToolTip(lang::tr(key));
    }
    OkBtn()->setText(lang::tr(u"rstrExitShort"));
    mActions.applyTexts();
    OraQuery1()->defineField(QStringLiteral("LANG_NAME_ANSI")).setDisplayLabel(lang::tr(u"vrstrLanguage"));
    OraQuery1()->defineField(QStringLiteral("PHRASE_ANSI")).setDisplayLabel(lang::tr(u"vrstrTranslation"));
    ui->dbgPhrases->setHint(lang::tr(u"vrstrWebPhraseTranslation"));
}

void TfrmPhraseTranslate::SetupNavigatorHints(RecordNavigator* navigator)
{
    navigator->setHints({lang::tr(u"rstrFirstRec"), lang::tr(u"rstrPriorRec"), lang::tr(u"rstrNextRec"),
                         lang::tr(u"rstrLastRec"), QString(), QString(), QString(), QString(), QString(),
                         lang::tr(u"rstrRefreshData")});
    navigator->setShowHints(true);
}

GridIntClass TfrmPhraseTranslate::DynamicAssignGridIntClass(DBGrid* grid)
{
    if (grid == ui->dbgPhrases)
        return GridIntClass::TTntDBGridIntObj;
    return TMainBaseForm::DynamicAssignGridIntClass(grid);
}

void TfrmPhraseTranslate::acEditPhraseExecute()
{
    db::Query* query = OraQuery1();
    if (!query->isOpen() || query->isEmpty())
        return;
    QString text = query->asString(kPhrase);
    if (EditStringDialog(lang::tr(u"vrstrTranslation"), kMaxTranslationLength, text, this) != lang::mrOk)
        return;
    const int langId = int(query->asInteger(kLngId));
    mTevUtils->execProc(QStringLiteral("upd_phrase_translation"), {mPhraseId, langId, mTypeId, text});
    GetSession()->commit();

    // Re-read without the grid following every intermediate row, then back to the language.
    ui->dbgPhrases->setUpdatesEnabled(false);
    struct Resume
    {
        QWidget* grid;
        ~Resume() { grid->setUpdatesEnabled(true); }
    } resume{ui->dbgPhrases};
    query->refresh();
    query->locate(kLngId, langId);
}

void ShowPhraseTranslation(QWidget* owner, db::Session* session, const QString& shema, int phraseTypeId,
                           int phraseId)
{
    TfrmPhraseTranslate window(owner, shema, session, phraseTypeId, phraseId);
    window.ensureCreated();
    framework::execModal(window);
}

#include "TfrmHelpEdit.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "MasterDetailLink.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "Package.h"
#include "PortalCodec.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "ReferenceQueries.h"
#include "ReferenceRules.h"
#include "ReferenceSupport.h"
#include "Session.h"
#include "SharedQueries.h"
#include "TdmMain.h"
#include "TfrmHelpTypeEdit.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

using H = ReferenceQueries::Help;

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

} // namespace

const QList<framework::ActionRow<TfrmHelpEdit>>& TfrmHelpEdit::ActionRows()
{
    static const QList<framework::ActionRow<TfrmHelpEdit>> rows = {
        {Cmd::acAddTrnType, u"rstrAddHelpType", {}, "list-add", {}, &TfrmHelpEdit::acAddTrnTypeExecute},
        {Cmd::acEditTrnType,
         u"rstrEditHelpType",
         {},
         "document-edit",
         {},
         &TfrmHelpEdit::acEditTrnTypeExecute},
        {Cmd::acDelTrnType, u"rstrDeleteHelpType", {}, "list-remove", {}, &TfrmHelpEdit::acDelTrnTypeExecute},
    };
    return rows;
}

TfrmHelpEdit::TfrmHelpEdit(TdmMain& dm, QWidget* owner) : TfmMainTEV(owner), mDm(dm)
{
    setObjectName(QStringLiteral("frmHelpEdit"));
    mActions.create(this, ActionRows());

    mWebLangLabel = new QLabel(this);
    mWebLang = new QComboBox(this);
    mWebLang->setObjectName(QStringLiteral("cbWebLang"));
    mWebLang->setMinimumWidth(200);
    auto* langRow = new QHBoxLayout;
    langRow->addWidget(mWebLangLabel);
    langRow->addWidget(mWebLang);
    langRow->addStretch(1);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(bar, {Cmd::acAddTrnType, Cmd::acEditTrnType, Cmd::acDelTrnType});
    mNavigator = new RecordNavigator(this);
    mNavigator->setObjectName(QStringLiteral("DBNavigator1"));
    mNavigator->setDataset(list());

    mGrid = new DBGrid(DBGrid::Family::Standard, this);
    mGrid->setObjectName(QStringLiteral("grdHelp"));
    mGrid->setOptions(DBGrid::readOnlyOptions() | GridOption::RowSelect);
    mGrid->setDataset(list());
    mGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    mActions.addTo(mGrid, {Cmd::acAddTrnType, Cmd::acEditTrnType, Cmd::acDelTrnType,
                           framework::ActionTable::kSeparator});
    gridActions().addTo(mGrid, {TfmMainTEV::Cmd::acFind, TfmMainTEV::Cmd::acSort, TfmMainTEV::Cmd::acFilter});

    mDesc = new QPlainTextEdit(this);
    mDesc->setObjectName(QStringLiteral("memDesc"));
    mDesc->setReadOnly(true);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(mGrid);
    splitter->addWidget(mDesc);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);

    mClose = new QPushButton(this);
    mClose->setObjectName(QStringLiteral("btnClose"));
    connect(mClose, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(mClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(langRow);
    layout->addWidget(bar);
    layout->addWidget(mNavigator);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottom);
    resize(760, 560);

    // The description box follows the current item.
    mDescLink = new MasterDetailLink(
        list(), name(H::kId),
        [this](const QVariant& id) {
            mDesc->setPlainText(id.isNull() ? QString()
                                            : DecodeUnicodeEscapes(list()->asString(name(H::kDesc))));
        },
        this);
    connect(mGrid, &QAbstractItemView::doubleClicked, this,
            [this] { action(Cmd::acEditTrnType)->trigger(); });
    connect(mWebLang, &QComboBox::activated, this, [this] { reopen({}); });
    ensureCreated();
}

TfrmHelpEdit::~TfrmHelpEdit() = default;

db::Query* TfrmHelpEdit::list() const
{
    return mDm.queries().oqHelpType;
}

int TfrmHelpEdit::webLanguageId() const
{
    return mWebLang->currentData().toInt();
}

void TfrmHelpEdit::selectWebLanguage(int langId)
{
    const int index = mWebLang->findData(langId);
    if (index < 0)
        return;
    mWebLang->setCurrentIndex(index);
    reopen({});
}

void TfrmHelpEdit::SetupCaptions()
{
    TfmMainTEV::SetupCaptions();
    setWindowTitle(lang::tr(u"rstrWebHelpSystem"));
    mActions.applyTexts();
    mWebLangLabel->setText(lang::tr(u"rstrWebLangs"));
    mClose->setText(lang::tr(u"rstrClose"));
    mGrid->setHint(lang::tr(u"rstrWebHelpSystem"));
}

void TfrmHelpEdit::FormShow()
{
    reference::FillWebLanguageCombo(mWebLang, *mDm.session(), mDm.ActiveScheme(), mDm.LanguageId());
    reopen({});
    mGrid->setFocus();
}

void TfrmHelpEdit::ActionsUpdate()
{
    const bool rows = hasItems();
    action(Cmd::acAddTrnType)->setEnabled(list()->isOpen());
    action(Cmd::acEditTrnType)->setEnabled(rows);
    action(Cmd::acDelTrnType)
        ->setEnabled(rows && !reference::IsBuiltInHelpItem(int(list()->asInteger(name(H::kId)))));
}

bool TfrmHelpEdit::hasItems() const
{
    return list()->isOpen() && !list()->isEmpty() && list()->currentRow() >= 0;
}

void TfrmHelpEdit::reopen(const QVariant& id)
{
    db::Query* q = list();
    q->close();
    q->setMacro(name(H::kLangMacro), QString::number(webLanguageId()));
    q->open();
    if (!id.isNull())
        q->locate(name(H::kId), id);
}

void TfrmHelpEdit::acAddTrnTypeExecute()
{
    TfrmHelpTypeEdit dialog(this);
    dialog.setItem({}, {}, QStringLiteral("000"), false);
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    QVariant id;
    reference::InOneTransaction(*mDm.session(), [&] {
        id = mDm.queries().TEV_UTILS->execFunc(QStringLiteral("ins_help_type"),
                                               {EncodeUnicodeEscapes(dialog.itemName()),
                                                EncodeUnicodeEscapes(dialog.itemDesc()), dialog.itemType(),
                                                webLanguageId()});
    });
    reopen(id);
}

void TfrmHelpEdit::acEditTrnTypeExecute()
{
    if (!hasItems())
        return;
    db::Query* q = list();
    const int id = int(q->asInteger(name(H::kId)));
    const QString oldName = DecodeUnicodeEscapes(q->asString(name(H::kName)));
    const QString oldDesc = DecodeUnicodeEscapes(q->asString(name(H::kDesc)));
    const QString oldType = q->asString(name(H::kType));
    TfrmHelpTypeEdit dialog(this);
    dialog.setItem(oldName, oldDesc, oldType, reference::IsBuiltInHelpItem(id));
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    if (dialog.itemName() == oldName && dialog.itemDesc() == oldDesc && dialog.itemType() == oldType)
        return;
    reference::InOneTransaction(*mDm.session(), [&] {
        mDm.queries().TEV_UTILS->execProc(QStringLiteral("upd_help_type"),
                                          {id, EncodeUnicodeEscapes(dialog.itemName()),
                                           EncodeUnicodeEscapes(dialog.itemDesc()), dialog.itemType(),
                                           webLanguageId()});
    });
    reopen(id);
}

void TfrmHelpEdit::acDelTrnTypeExecute()
{
    if (!hasItems())
        return;
    db::Query* q = list();
    const int id = int(q->asInteger(name(H::kId)));
    if (reference::IsBuiltInHelpItem(id))
        return;
    const QString itemName = DecodeUnicodeEscapes(q->asString(name(H::kName)));
    if (lang::MessageDlgLang(lang::format(lang::tr(u"rstrTypeOperationDelete"), {itemName}),
                             lang::MsgDlgType::Confirmation, lang::mbOK | lang::mbCancel) != lang::mrOk)
        return;
    reference::InOneTransaction(
        *mDm.session(), [&] { mDm.queries().TEV_UTILS->execProc(QStringLiteral("del_help_type"), {id}); });
    reopen({});
}

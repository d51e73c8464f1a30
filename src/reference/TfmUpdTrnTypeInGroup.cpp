#include "TfmUpdTrnTypeInGroup.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "Query.h"
#include "ReferenceQueries.h"
#include "ReferenceSupport.h"

#include <QHeaderView>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

using C = ReferenceQueries::MemberChoice;

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

} // namespace

const QList<framework::ActionRow<TfmUpdTrnTypeInGroup>>& TfmUpdTrnTypeInGroup::ActionRows()
{
    static const QList<framework::ActionRow<TfmUpdTrnTypeInGroup>> rows = {
        {Cmd::acCheckAll,
         u"rstrCheckAll",
         {},
         "edit-select-all",
         {},
         [](TfmUpdTrnTypeInGroup& w) { w.CheckAllRows(w.mGrid); }},
        {Cmd::acUnCheckAll,
         u"rstrUnCheckAll",
         {},
         "edit-select-none",
         {},
         [](TfmUpdTrnTypeInGroup& w) { w.UncheckAllRows(w.mGrid); }},
        {Cmd::acInvertCheck,
         u"rstrInvertCheck",
         {},
         "edit-select-invert",
         {},
         [](TfmUpdTrnTypeInGroup& w) { w.InvertCheckedRows(w.mGrid); }},
    };
    return rows;
}

TfmUpdTrnTypeInGroup::TfmUpdTrnTypeInGroup(QWidget* owner, const QString& shema, db::Session* session,
                                           int groupId, int languageId)
    : TDlgBaseForm(owner, shema, session), mGroupId(groupId), mLanguageId(languageId)
{
    setObjectName(QStringLiteral("fmUpdTrnTypeInGroup"));
    mActions.create(this, ActionRows());

    db::Query* q = OraQuery1();
    q->setSql(C::sql());
    q->setTakesLocalEdits(true);
    q->paramByName(name(C::kGroupParam)).setDataType(db::DataType::Integer);
    q->paramByName(name(C::kLangParam)).setDataType(db::DataType::Integer);
    q->defineField(name(C::kNumber)).setVisible(false);
    q->defineField(name(C::kName)).setVisible(false);
    q->defineField(name(C::kChoice)).setDisplayWidth(6);
    reference::AddDecodedField(q, name(C::kNameShown), name(C::kName), 60);

    auto* bar = new QToolBar(ClientPanel());
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(bar, {Cmd::acCheckAll, Cmd::acUnCheckAll, Cmd::acInvertCheck});
    mGrid = new DBGrid(DBGrid::Family::Standard, ClientPanel());
    mGrid->setObjectName(QStringLiteral("grdTrnTypes"));
    mGrid->setCheckFieldName(name(C::kChoice));
    mGrid->setOptions(DBGrid::defaultOptions() & ~GridOptions(GridOption::Editing));
    mGrid->setDataset(q);
    mGrid->horizontalHeader()->setStretchLastSection(true);
    mGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    mActions.addTo(mGrid, {Cmd::acCheckAll, Cmd::acUnCheckAll, Cmd::acInvertCheck});

    auto* layout = new QVBoxLayout(ClientPanel());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(mGrid, 1);
    resize(520, 480);
}

TfmUpdTrnTypeInGroup::~TfmUpdTrnTypeInGroup() = default;

void TfmUpdTrnTypeInGroup::FormShow()
{
    TDlgBaseForm::FormShow();
    db::Query* q = OraQuery1();
    q->close();
    q->setParam(name(C::kGroupParam), mGroupId);
    q->setParam(name(C::kLangParam), mLanguageId);
    q->open();
}

void TfmUpdTrnTypeInGroup::SetupCaptions()
{
    TDlgBaseForm::SetupCaptions();
    setWindowTitle(lang::tr(u"rstrTrnTypes"));
    mActions.applyTexts();
    OkBtn()->setText(lang::tr(u"rstrApply"));
    CancelBtn()->setText(lang::tr(u"rstrCanceling"));
    OraQuery1()->defineField(name(C::kChoice)).setDisplayLabel(lang::tr(u"vrstrChoose"));
    OraQuery1()->defineField(name(C::kNameShown)).setDisplayLabel(lang::tr(u"vrstrTrGrTrnType"));
    mGrid->setHint(lang::tr(u"rstrTrnTypes"));
}

void TfmUpdTrnTypeInGroup::ActionsUpdate()
{
    TDlgBaseForm::ActionsUpdate();
    const bool rows = OraQuery1()->isOpen() && !OraQuery1()->isEmpty();
    for (QAction* a : mActions.actions())
        a->setEnabled(rows);
}

QList<int> TfmUpdTrnTypeInGroup::chosenTypes() const
{
    QList<int> chosen;
    db::Query* q = OraQuery1();
    if (!q->isOpen())
        return chosen;
    const int choice = q->fieldIndex(name(C::kChoice));
    const int number = q->fieldIndex(name(C::kNumber));
    for (int row = 0; row < q->recordCount(); ++row)
        if (q->value(row, choice).toString() == QLatin1String("+"))
            chosen << q->value(row, number).toInt();
    return chosen;
}

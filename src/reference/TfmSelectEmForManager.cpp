#include "TfmSelectEmForManager.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "Dataset.h"
#include "ManagerQueries.h"

#include <QAction>
#include <QHeaderView>
#include <QPushButton>

using F = ManagerQueries::FreeEmitents;

TfmSelectEmForManager::TfmSelectEmForManager(db::Dataset* freeEmitents, QWidget* owner)
    : TfrmMainTevBaseSelect(owner)
{
    setObjectName(QStringLiteral("fmSelectEmForManager"));
    acSort()->setVisible(false);
    SetListDataset(freeEmitents);
    grdList()->horizontalHeader()->setStretchLastSection(true);
    resize(720, 460);
    TfmSelectEmForManager::SetupCaptions();
}

TfmSelectEmForManager::~TfmSelectEmForManager() = default;

void TfmSelectEmForManager::SetupCaptions()
{
    TfrmMainTevBaseSelect::SetupCaptions();
    const QString caption = lang::tr(u"vrstrAddEmitent");
    setWindowTitle(caption);
    grdList()->setHint(caption);
    const std::pair<QAction*, const char16_t*> hints[] = {
        {acCheckAll(), u"rstrCheckAll"},       {acUnCheckAll(), u"rstrUnCheckAll"},
        {acInvertCheck(), u"rstrInvertCheck"}, {acFind(), u"rstrFind"},
        {acFilter(), u"rstrFilter"},           {acReport(), u"rstrReport"}};
    for (const auto& [action, key] : hints)
        action->setToolTip(lang::tr(key));
    btnOk()->setText(lang::tr(u"rstrAdd"));
    btnCancel()->setText(lang::tr(u"rstrCancel"));
    // The labels live on the data module's list, which other windows label their own way.
    if (db::Dataset* list = ListDataset()) {
        const std::pair<const char*, const char16_t*> labels[] = {{F::kChoice, u"vrstrSelect"},
                                                                  {F::kNumber, u"rstrEmitent"},
                                                                  {F::kFilial, u"rstrBranch"},
                                                                  {F::kNameShown, u"rstrName"}};
        for (const auto& [field, key] : labels)
            list->defineField(QString::fromLatin1(field)).setDisplayLabel(lang::tr(key));
    }
}

#include "WebLanguageMenu.h"

#include "Query.h"
#include "Session.h"
#include "TdmMain.h"
#include "WebLanguages.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QStyle>

namespace {

// Which item the portal last reported as current. Kept apart from the check state, which a
// click toggles before our handler runs.
constexpr char kMarkedProperty[] = "webLangMarked";
constexpr char kGroupName[] = "agWebLangs";

QIcon currentImage()
{
    return QIcon::fromTheme(QStringLiteral("emblem-default"),
                            QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton));
}

void setMark(QAction* item, bool marked)
{
    item->setProperty(kMarkedProperty, marked);
    item->setChecked(marked);
    item->setIcon(marked ? currentImage() : QIcon());
}

void showMarks(QMenu* menu)
{
    for (QAction* item : menu->actions())
        if (item->isCheckable())
            item->setChecked(item->property(kMarkedProperty).toBool());
}

void chooseWebLanguage(QMenu* menu, QAction* item, TdmMain& dm)
{
    const int langId = WebLanguageIdOf(item);
    if (langId == 0) {
        showMarks(menu); // undo the toggle of the click
        return;
    }
    for (QAction* other : menu->actions())
        if (other->isCheckable())
            setMark(other, false);
    ChangeCurrentWebLanguage(*dm.session(), dm.ActiveScheme(), langId);
    setMark(item, true);
    // The settings store keeps its rows: let it see the new LANG_ID too.
    db::Query* configs = dm.queries().oqTEVConfigs;
    if (configs->isOpen())
        configs->refresh();
}

} // namespace

int WebLanguageIdOf(const QAction* item)
{
    return item ? item->data().toInt() : 0;
}

void FillWebLanguagesMenu(QMenu* menu, TdmMain& dm)
{
    menu->clear();
    delete menu->findChild<QActionGroup*>(QLatin1String(kGroupName), Qt::FindDirectChildrenOnly);
    if (!dm.session() || !dm.session()->connected())
        return;

    const QList<WebLanguage> languages = ReadWebLanguages(*dm.session(), dm.ActiveScheme(), dm.LanguageId());
    auto* group = new QActionGroup(menu);
    group->setObjectName(QLatin1String(kGroupName));
    // Radio items, but all of them may be unmarked (after a refused switch).
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    QPointer<TdmMain> module(&dm);
    QPointer<QMenu> owner(menu);
    for (const WebLanguage& language : languages) {
        auto* item = new QAction(language.name, menu);
        item->setData(language.id);
        item->setCheckable(true);
        group->addAction(item);
        setMark(item, language.current);
        QObject::connect(item, &QAction::triggered, item, [module, owner, item] {
            if (module && owner)
                chooseWebLanguage(owner, item, *module);
        });
        menu->addAction(item);
    }
}

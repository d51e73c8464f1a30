#include "TBaseForm.h"

#include "Component.h"
#include "DBGrid.h"
#include "Dataset.h"
#include "DbError.h"
#include "DbHelpers.h"
#include "FieldMarking.h"
#include "FormEnvironment.h"
#include "FrameworkFiles.h"
#include "GridCellPainting.h"
#include "GridTools.h"
#include "IdleActionUpdate.h"
#include "IniFile.h"
#include "MessageDialogs.h"
#include "OraError.h"
#include "Package.h"
#include "Query.h"
#include "QuickSearch.h"
#include "RecordNavigator.h"
#include "Script.h"
#include "Session.h"
#include "SortOrderStore.h"
#include "StoredProc.h"
#include "TDBGridOfQuery.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>
#include <stdexcept>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const char kRecordCategory[] = "popup menu на ведущий набор";

bool hasRows(const db::Dataset* ds)
{
    return ds && ds->isOpen() && !ds->isEmpty();
}

bool isDataAccessComponent(const QObject* o)
{
    return qobject_cast<const db::Dataset*>(o) || qobject_cast<const db::Package*>(o) ||
           qobject_cast<const db::StoredProc*>(o) || qobject_cast<const db::Script*>(o);
}

db::Session* sessionOf(const QObject* o)
{
    if (auto* q = qobject_cast<const db::Query*>(o))
        return q->session();
    if (auto* p = qobject_cast<const db::Package*>(o))
        return p->session();
    if (auto* sp = qobject_cast<const db::StoredProc*>(o))
        return sp->session();
    if (auto* s = qobject_cast<const db::Script*>(o))
        return s->session();
    return nullptr;
}

void giveSession(QObject* o, db::Session* session)
{
    if (auto* q = qobject_cast<db::Query*>(o))
        q->setSession(session);
    else if (auto* p = qobject_cast<db::Package*>(o))
        p->setSession(session);
    else if (auto* sp = qobject_cast<db::StoredProc*>(o))
        sp->setSession(session);
    else if (auto* s = qobject_cast<db::Script*>(o))
        s->setSession(session);
}

bool isPlSqlBlock(const QString& sql)
{
    static const QRegularExpression block(QStringLiteral("^\\s*(begin|declare)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    return block.match(sql).hasMatch();
}

// What preparing the query on the server would tell: the text is parsed and its objects are
// looked up, no row is read. A query without a connected session is taken as it is.
bool prepareQuery(db::Query& query, QString& error)
{
    db::Session* session = query.session();
    if (!session || !session->connected())
        return true;
    db::Query probe(session);
    probe.setSql(QStringLiteral("SELECT * FROM (\n") + query.sql() +
                 QStringLiteral("\n) tev_prepare WHERE 1 = 0"));
    for (int i = 0; i < query.macros().count(); ++i)
        if (db::Macro* m = probe.macros().find(query.macros().at(i).name()))
            *m = query.macros().at(i);
    for (int i = 0; i < query.params().count(); ++i)
        if (db::Param* p = probe.params().find(query.params().at(i).name()))
            *p = query.params().at(i);
    try {
        probe.open();
        probe.close();
        return true;
    } catch (const db::OraError& e) {
        error = e.message();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    return false;
}

} // namespace

// Components of one class with their set-up handlers.
struct TBaseForm::ComponentGroup
{
    const QMetaObject* componentClass = nullptr;
    QList<QPointer<QObject>> components;
    QList<SetupHandler> handlers;
};

TBaseForm::TBaseForm(QWidget* owner, const QString& shema, db::Session* session) : TComBaseForm(owner)
{
    // 1. Not ready until creation completes.
    mBusyText = LocaleText(QStringLiteral("TBaseForm.Create: Приложение занято"),
                           QStringLiteral("TBaseForm.Create: The application occupied"));
    // 2. Session and schema.
    mSession = session;
    mShema = (shema.trimmed().isEmpty() && session ? session->username() : shema).trimmed();
    mBound = session && !mShema.isEmpty();

    // 3. The window's own components.
    mMainSession = new db::Session(this);
    mMainSession->setObjectName(QStringLiteral("MainSession"));
    mMainSession->setBeforeConnectHook(
        [this](db::Session&) { ShowFormMessageKind(SuperfluousConnectText(), 0); });

    mOraQuery1 = new db::Query(mMainSession, this);
    mOraQuery1->setObjectName(QStringLiteral("OraQuery1"));
    mOraQuery1->setSql(QStringLiteral("SELECT * FROM &shema\r\n&ORDER &FIELD"));
    mOraQuery1->setMacro(QStringLiteral("shema"), QStringLiteral("xxx"));
    mOraQuery1->setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    mOraQuery1->setMacro(QStringLiteral("FIELD"), QStringLiteral("ID"));
    mOraQuery1->setRefreshSql(QStringLiteral("WHERE\r\n  ID = :ID"));
    // Updates stay in memory.
    mOraQuery1->setTakesLocalEdits(true);

    mActions.create(this, ActionRows());
    for (const char* name : {Cmd::pFirst, Cmd::pPrev, Cmd::pNext, Cmd::pLast, Cmd::pRefresh})
        mActions.action(name).setProperty("category", QString::fromUtf8(kRecordCategory));

    mPopupMenu1 = new QMenu(this);
    mPopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    mActions.addTo(mPopupMenu1, {Cmd::pFind, Cmd::pSort, Cmd::pReport, Cmd::pFilter});
    QAction* n1 = mPopupMenu1->addSeparator();
    n1->setObjectName(QStringLiteral("N1"));
    mActions.addTo(mPopupMenu1, {Cmd::pFirst, Cmd::pPrev, Cmd::pNext, Cmd::pLast, Cmd::pRefresh});

    mQSearch = new QuickSearch(this);
    mQSearch->setObjectName(QStringLiteral("FrmQSearch1"));
    mQSearch->hide();

    mIdleUpdate = new IdleActionUpdate(this, [this] { ActionsUpdate(); });

    // 4. Initialisation: the registry starts with its group for SQL queries.
    auto queries = std::make_unique<ComponentGroup>();
    queries->componentClass = &db::Query::staticMetaObject;
    mRegistry.push_back(std::move(queries));
    SetCurrentQuery(mOraQuery1);
    if (mBound)
        bindNewComponents();
}

TBaseForm::~TBaseForm()
{
    if (isCreated() && !mSaved) {
        try {
            SaveSettings();
        } catch (const std::exception&) {
            // The window is going away; the sort orders are only a convenience.
        }
    }
    mIndicators.clear();
    mGridList.clear();
    // Nothing may call into the window while its widgets are being destroyed.
    mIdleUpdate->stop();
    for (const auto& c : mConnections)
        disconnect(c);
}

const QList<framework::ActionRow<TBaseForm>>& TBaseForm::ActionRows()
{
    using framework::ActionText;
    static const QList<framework::ActionRow<TBaseForm>> rows = {
        // Swallows the grids' own Ctrl+Del deletion.
        {Cmd::EmptyAction, ActionText::fixed("EmptyAction"), {}, nullptr, Qt::CTRL | Qt::Key_Delete, {}},
        {Cmd::EmptyAction1, ActionText::fixed("EmptyAction1"), {}, nullptr, {}, {}},
        {Cmd::pFind,
         ActionText::fixed("Искать"),
         {},
         nullptr,
         Qt::CTRL | Qt::Key_F,
         runStep(&TBaseForm::DoFind)},
        {Cmd::pSort,
         ActionText::fixed("Сортировать"),
         {},
         nullptr,
         Qt::CTRL | Qt::Key_S,
         runStep(&TBaseForm::DoSort)},
        {Cmd::pReport,
         ActionText::fixed("Отчет"),
         {},
         nullptr,
         Qt::CTRL | Qt::Key_R,
         runStep(&TBaseForm::DoReport)},
        {Cmd::pFilter,
         ActionText::fixed("Фильтровать"),
         {},
         nullptr,
         Qt::CTRL | Qt::Key_A,
         runStep(&TBaseForm::DoFilter)},
        {Cmd::pFirst,
         ActionText::fixed("На первую запись"),
         {},
         nullptr,
         Qt::CTRL | Qt::ALT | Qt::Key_F,
         moveStep(&db::Dataset::first)},
        {Cmd::pPrev,
         ActionText::fixed("На предыдущую запись"),
         {},
         nullptr,
         Qt::CTRL | Qt::ALT | Qt::Key_P,
         moveStep(&db::Dataset::prior)},
        {Cmd::pNext,
         ActionText::fixed("На следующую запись"),
         {},
         nullptr,
         Qt::CTRL | Qt::ALT | Qt::Key_N,
         moveStep(&db::Dataset::next)},
        {Cmd::pLast,
         ActionText::fixed("На последнюю запись"),
         {},
         nullptr,
         Qt::CTRL | Qt::ALT | Qt::Key_L,
         moveStep(&db::Dataset::last)},
        {Cmd::pRefresh,
         ActionText::fixed("Обновить данные"),
         {},
         nullptr,
         Qt::CTRL | Qt::ALT | Qt::Key_R,
         &TBaseForm::refreshActive},
    };
    return rows;
}

std::function<void(TBaseForm&)> TBaseForm::runStep(void (TBaseForm::*step)())
{
    return [step](TBaseForm& w) {
        w.ensureCreated();
        (w.*step)();
    };
}

std::function<void(TBaseForm&)> TBaseForm::moveStep(void (db::Dataset::*step)())
{
    return [step](TBaseForm& w) {
        w.ensureCreated();
        if (db::Dataset* ds = w.activeDataset())
            (ds->*step)();
    };
}

void TBaseForm::refreshActive()
{
    ensureCreated();
    db::Dataset* ds = activeDataset();
    if (auto* q = qobject_cast<db::Query*>(ds)) {
        q->refresh();
    } else if (ds) {
        const int row = ds->currentRow();
        ds->close();
        ds->open();
        ds->setCurrentRow(row);
    }
}

// ---- session and schema -------------------------------------------------------------------------

db::Session* TBaseForm::GetSession()
{
    if (!mSession)
        ReportFormError(LocaleText(QStringLiteral("TBaseForm.GetSession: Сессия не определена!"),
                                   QStringLiteral("TBaseForm.GetSession: Session is not defined!")));
    return mSession;
}

QString TBaseForm::GetShema()
{
    if (mShema.isEmpty())
        ReportFormError(LocaleText(QStringLiteral("TBaseForm.GetShema: Схема не определена!"),
                                   QStringLiteral("TBaseForm.GetShema: Scheme is not defined!")));
    return mShema;
}

void TBaseForm::SetShema(const QString& shema)
{
    mShema = shema.trimmed();
    mBound = mSession && !mShema.isEmpty();
    fSetShema(this, mShema);
}

void TBaseForm::SetSession(db::Session* session)
{
    mSession = session;
    mBound = mSession && !mShema.isEmpty();
    fSetSession(this, session);
}

void TBaseForm::bindComponent(QObject* component)
{
    mBoundComponents << component;
    if (!mBound)
        return;
    giveSession(component, mSession);
    try {
        fSetShemaForComponent(component, mShema);
    } catch (const db::OraError& e) {
        db::OraError prefixed(e);
        prefixed.setMessage(component->objectName() + QStringLiteral(": ") + e.message());
        throw prefixed;
    } catch (const std::exception& e) {
        throw std::runtime_error((component->objectName() + QStringLiteral(": ")).toStdString() + e.what());
    }
}

void TBaseForm::bindNewComponents()
{
    for (QObject* child : children()) {
        if (!isDataAccessComponent(child))
            continue;
        bool known = false;
        for (const auto& b : mBoundComponents)
            known = known || b == child;
        if (!known)
            bindComponent(child);
    }
}

QString TBaseForm::SuperfluousConnectText() const
{
    QStringList datasets;
    for (QObject* child : children())
        if (qobject_cast<db::Dataset*>(child) && sessionOf(child) == mMainSession)
            datasets << child->objectName();
    const QString name = objectName();
    const QString session = mMainSession->objectName();
    const QString server = mMainSession->server();
    return LocaleText(QStringLiteral("ВНИМАНИЕ: ") + name +
                          QStringLiteral(". Прошел лишний коннект (TOraSession = ") + session +
                          QStringLiteral(", Server = ") + server + QStringLiteral("),") + kCrLf +
                          QStringLiteral("для наборов данных: "),
                      QStringLiteral("ATTENTION: ") + name +
                          QStringLiteral(". Superfluous connection (TOraSession = ") + session +
                          QStringLiteral(", Server = ") + server + QStringLiteral("),") + kCrLf +
                          QStringLiteral("for data sets: ")) +
           kCrLf + datasets.join(kCrLf);
}

// ---- messages -----------------------------------------------------------------------------------

void TBaseForm::ShowFormMessage(const QString& text, const QString& caption, int kind)
{
    lang::ShowMsgBoxCaption(this, text, caption, kind);
}

void TBaseForm::ShowFormMessageKind(const QString& text, int kind)
{
    lang::ShowMsgBox(this, text, kind);
}

void TBaseForm::ReportFormError(const QString& text)
{
    ShowFormMessage(text, QStringLiteral("Отчеты"), 1);
}

// ---- creation -----------------------------------------------------------------------------------

void TBaseForm::DoCreate()
{
    // A window whose creation failed must still be able to close.
    struct Ready
    {
        TBaseForm* form;
        ~Ready() { form->mReady = true; }
    } ready{this};

    if (objectName().isEmpty()) {
        // As the form's name would be: the class name without its leading "T".
        QString name = QString::fromLatin1(metaObject()->className());
        if (name.startsWith(QLatin1Char('T')))
            name.remove(0, 1);
        setObjectName(name);
    }
    // What the derived constructor made is bound now, as the base's own components were.
    bindNewComponents();
    // Datasets bound to nothing stay on the window's own session, whose guard reports them.
    for (QObject* child : children())
        if (isDataAccessComponent(child) && !sessionOf(child))
            giveSession(child, mMainSession);

    // 5. Creation event, base first.
    applyLocaleFormats();
    bindTextSources();
    mFilterIndicatorsOn = true;
    FormCreate();
    // 6. Images and captions.
    SetupImages();
    SetupCaptions();
    // 7. After-load.
    AfterComponentsLoaded();
    bindNewComponents();
    // 8. Per-query and per-component set-up.
    for (db::Query* query : registryQueries())
        for (int i = 0; i < query->macros().count(); ++i)
            PrepareQueryMacros(query, query->macros().at(i));
    RegisterSetupHandlers();
    {
        // Every query restores its order here: the sort-order file is written once for all.
        lang::IniFile::Batch orders(FrameworkFiles::sortOrderFile());
        applySetupHandlers();
        orders.finish();
    }
    UnregisterSetupHandlers();
    // The hint check looks at the adapters, which the grid set-up has just made.
    if (IsDebugMode())
        checkGridHints();
}

void TBaseForm::SetupCaptions()
{
    TComBaseForm::SetupCaptions();
    mActions.applyTexts();
}

QList<QObject*> TBaseForm::components() const
{
    // Controls at any depth of this window (not of windows opened from it), data-access
    // components owned by the window itself.
    QList<QObject*> result;
    for (QObject* o : findChildren<QObject*>()) {
        if (auto* w = qobject_cast<QWidget*>(o)) {
            if (w->window() == this)
                result << o;
        } else if (o->parent() == this) {
            result << o;
        }
    }
    return result;
}

QList<db::Query*> TBaseForm::registryQueries() const
{
    QList<db::Query*> result;
    for (QObject* o : components())
        if (auto* q = qobject_cast<db::Query*>(o))
            result << q;
    return result;
}

void TBaseForm::RegisterSetupHandler(const QMetaObject& componentClass, SetupHandler handler)
{
    for (auto& group : mRegistry)
        if (group->componentClass == &componentClass) {
            group->handlers << std::move(handler);
            return;
        }
    auto group = std::make_unique<ComponentGroup>();
    group->componentClass = &componentClass;
    group->handlers << std::move(handler);
    mRegistry.push_back(std::move(group));
}

void TBaseForm::RegisterSetupHandlers()
{
    RegisterSetupHandler(DBGrid::staticMetaObject,
                         [this](QObject* o) { SetupGrid(static_cast<DBGrid*>(o)); });
    RegisterSetupHandler(QToolBar::staticMetaObject,
                         [this](QObject* o) { SetupToolBar(static_cast<QToolBar*>(o)); });
    RegisterSetupHandler(RecordNavigator::staticMetaObject,
                         [this](QObject* o) { SetupNavigator(static_cast<RecordNavigator*>(o)); });
    RegisterSetupHandler(QLabel::staticMetaObject,
                         [this](QObject* o) { SetupLabel(static_cast<QLabel*>(o)); });
    RegisterSetupHandler(QLineEdit::staticMetaObject,
                         [this](QObject* o) { SetupEdit(static_cast<QLineEdit*>(o)); });
    RegisterSetupHandler(db::Query::staticMetaObject, [this](QObject* o) {
        auto* query = static_cast<db::Query*>(o);
        SetupQuery(query);
        if (IsOrderBySaveOn(mShema))
            RestoreQueryOrder(mShema, *query);
    });
}

void TBaseForm::UnregisterSetupHandlers()
{
    for (auto& group : mRegistry)
        group->handlers.clear();
}

void TBaseForm::applySetupHandlers()
{
    const QList<QObject*> all = components();
    for (auto& group : mRegistry) {
        group->components.clear();
        for (QObject* o : all)
            if (group->componentClass->cast(o))
                group->components << o;
    }
    for (auto& group : mRegistry) {
        const auto handlers = group->handlers;
        const auto members = group->components;
        for (const SetupHandler& handler : handlers)
            for (const auto& component : members)
                if (component)
                    handler(component);
    }
}

// ---- set-up of components -----------------------------------------------------------------------

void TBaseForm::SetupQuery(db::Query* query)
{
    // Rows never leave a dataset through grids or navigators here: the dataset cannot delete, and
    // a navigator's delete button only asks the window, which does nothing unless it chooses to.
    Q_UNUSED(query);
}

void TBaseForm::AbortOperation()
{
    throw db::Abort();
}

void TBaseForm::SetupEdit(QLineEdit* edit)
{
    QPalette p = edit->palette();
    p.setColor(QPalette::Disabled, QPalette::Base, p.color(QPalette::Active, QPalette::Button));
    edit->setPalette(p);
    if (edit->isEnabled() && edit->isReadOnly()) {
        if (!mBeepFilter) {
            // A read-only box answers every key stroke with a beep.
            struct BeepFilter : QObject
            {
                using QObject::QObject;
                bool eventFilter(QObject* watched, QEvent* event) override
                {
                    if (event->type() == QEvent::KeyPress) {
                        auto* e = qobject_cast<QLineEdit*>(watched);
                        if (e && e->isReadOnly())
                            QApplication::beep();
                    }
                    return false;
                }
            };
            mBeepFilter = new BeepFilter(this);
        }
        edit->installEventFilter(mBeepFilter);
    }
}

void TBaseForm::SetupNavigator(RecordNavigator* navigator)
{
    SetupNavigatorHints(navigator);
    if (navigator->dataset()) {
        for (auto signal : {&db::Dataset::afterOpen, &db::Dataset::afterClose, &db::Dataset::afterScroll})
            mConnections << connect(navigator->dataset(), signal, this, &TBaseForm::requestActionsUpdate);
    }
}

void TBaseForm::SetupNavigatorHints(RecordNavigator* navigator)
{
    navigator->setHints({QStringLiteral("На первую запись"), QStringLiteral("На предыдущую запись"),
                         QStringLiteral("На следующую запись"), QStringLiteral("На последнюю запись"),
                         QStringLiteral("Добавить"), QStringLiteral("Удалить"), QStringLiteral("Изменить"),
                         QStringLiteral("Сохранить"), QStringLiteral("Отменить"),
                         QStringLiteral("Обновить данные")});
    navigator->setShowHints(true);
}

GridIntClass TBaseForm::DynamicAssignGridIntClass(DBGrid* grid)
{
    return grid->family() == DBGrid::Family::Standard ? GridIntClass::TDBGridIntObj
                                                      : GridIntClass::TGridInterfaced;
}

void TBaseForm::SetupGrid(DBGrid* grid)
{
    // 1. The wheel moves the record of an open dataset.
    grid->setWheelHook([grid](QWheelEvent* event) {
        db::Dataset* ds = grid->dataset();
        if (ds && ds->isOpen()) {
            if (event->angleDelta().y() <= 0)
                ds->next();
            else
                ds->prior();
        }
        return true;
    });

    // 2. The adapter.
    const GridIntClass adapterClass = DynamicAssignGridIntClass(grid);
    if (adapterClass == GridIntClass::TGridInterfaced) {
        if (grid->family() == DBGrid::Family::Extended) {
            const QString cls = grid->familyClassName();
            ReportFormError(LocaleText(
                QStringLiteral("TBaseForm.AssignInterfacedClass: Класс интерфейса для компонента \"") + cls +
                    QStringLiteral("\" не определен.") + kCrLf +
                    QStringLiteral("Переопределите процедуру TBaseForm.DynamicAssignGridIntClass"),
                QStringLiteral(
                    "TBaseForm.AssignInterfacedClass: The class of the interface for the component \"") +
                    cls + QStringLiteral("\" is not defined.") + kCrLf +
                    QStringLiteral("Reassign TBaseForm.DynamicAssignGridIntClass procedure!")));
        }
        return;
    }
    if (mGridList.FindByGrid(grid))
        return;
    TGridInterfaced* adapter = mGridList.add(adapterClass, grid);
    if (!adapter)
        return;

    // 3. Options, check field, font, painter.
    GridOptions options = adapter->GetOptions();
    options &= ~GridOptions(GridOption::Editing);
    options &= ~GridOptions(GridOption::Tabs);
    options |= GridOption::AlwaysShowSelection;
    adapter->SetOptions(options);
    adapter->SetCheckFieldName(mCheckFieldName);
    QFont font = grid->font();
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    grid->setFont(font);
    if (!adapter->GetOnDrawCell())
        adapter->SetOnDrawCell(
            [this](IDBGrid& g, const DrawCellContext& cell) { return DrawCheckCell(g, cell); });

    // 4. The check column's keys and clicks; a column labelled "В отчет" is 7 characters wide.
    db::Dataset* ds = adapter->GetDataSet();
    if (ds) {
        if (db::Field* check = ds->findField(mCheckFieldName);
            check && check->isVisible() && check->displayLabel() == QStringLiteral("В отчет"))
            check->setDisplayWidth(7);
    }
    if (!adapter->GetOnKeyDown())
        adapter->SetOnKeyDown([this](IDBGrid& g, QKeyEvent* e) { return GridKeyDown(g, e); });
    if (!adapter->GetOnCellClick())
        adapter->SetOnCellClick([this](IDBGrid& g, db::Field* f) { CheckCellClick(g, f); });

    // 5. Record-count notices and the idle update.
    if (ds)
        watchRecordCount(ds);
    mConnections << connect(grid, &DBGrid::datasetChanged, this, &TBaseForm::watchRecordCount);

    // 6. The filter indicator of an SQL query that prepares.
    if (auto* query = qobject_cast<db::Query*>(ds)) {
        QString error;
        const bool plSql = isPlSqlBlock(query->sql());
        const bool prepared = plSql || prepareQuery(*query, error);
        if (!prepared)
            reportPrepareError(*query, error);
        if (prepared && !plSql && mFilterIndicatorsOn)
            mIndicators[grid] = std::make_unique<TDBGridOfQuery>(grid, query, pFilter());
    }

    // 7. Fields marked for the grid tools.
    if (ds && ds->isOpen())
        FieldMarking::markFields(*ds);
}

void TBaseForm::watchRecordCount(db::Dataset* dataset)
{
    if (!dataset)
        return;
    for (const auto& known : mCountWatched)
        if (known == dataset)
            return;
    mCountWatched << dataset;
    auto notify = [this, dataset] {
        if (dataset == mCurrentQuery)
            RecordCountChanged(dataset);
        requestActionsUpdate();
    };
    mConnections << connect(dataset, &db::Dataset::afterOpen, this, notify);
    mConnections << connect(dataset, &db::Dataset::afterScroll, this, notify);
    mConnections << connect(dataset, &db::Dataset::rowsReset, this, notify);
    mConnections << connect(dataset, &db::Dataset::afterClose, this, &TBaseForm::requestActionsUpdate);
}

void TBaseForm::reportPrepareError(const db::Query& query, const QString& error)
{
    const QString name = query.objectName();
    QStringList parts;
    parts << QLatin1Char('"') + name.toUpper() + QLatin1Char('"') << QString()
          << LocaleText(QStringLiteral("TBaseForm.SettDBGrid: Ошибка исполнения: "),
                        QStringLiteral("TBaseForm.SettDBGrid: Error of  executing: ")) +
                 objectName() + QLatin1Char('.') + name + QStringLiteral(".Prepare:")
          << QString() << error.trimmed() << QString()
          << LocaleText(QStringLiteral("Возможные причины ошибки:"),
                        QStringLiteral("Possible reasons of error:"))
          << QStringLiteral("1 - ") +
                 LocaleText(QStringLiteral("Таблица или просмотр не существует;"),
                            QStringLiteral("Table or view does not exist; ")) +
                 LocaleText(QStringLiteral("Неверно выбрана база данных;"),
                            QStringLiteral("Data base is not correctly selected; "));
    if (CanShowGridDebug()) {
        parts << LocaleText(
                     QStringLiteral("2 - Права пользователя на соответствующие таблицы или просмотры БД не "
                                    "определены;"),
                     QStringLiteral("2 - The user rights for DB tables or views is not defined;"))
              << LocaleText(QStringLiteral("3 - Ошибка в тексте запроса или в его макросах;"),
                            QStringLiteral("3 - Error in the text of the query or in its macros;"))
              << QString() << QStringLiteral("---debug") + QString(100, QLatin1Char('-')) << QString()
              << LocaleText(QStringLiteral("компонент: \""), QStringLiteral("component: \"")) + name +
                     QLatin1Char('"')
              << QString() << QStringLiteral("SQL:") << query.sql();
        auto& q = const_cast<db::Query&>(query);
        if (q.macros().count() > 0) {
            parts << LocaleText(QStringLiteral("макросы:"), QStringLiteral("macros:"));
            for (int i = 0; i < q.macros().count(); ++i)
                parts << q.macros().at(i).name() + QStringLiteral(" = ") + q.macros().at(i).value();
        }
    }
    ShowFormMessageKind(parts.join(kCrLf), 1);
}

void TBaseForm::checkGridHints()
{
    QStringList names;
    for (int i = 0; i < mGridList.count(); ++i) {
        IDBGrid& grid = mGridList.GetItem(i);
        if (grid.GetHint().isEmpty() && grid.GetControl())
            names << grid.GetControl()->objectName();
    }
    if (names.isEmpty())
        return;
    ShowFormMessage(names.join(kCrLf),
                    objectName() + QLatin1Char(':') +
                        LocaleText(QStringLiteral("У компонента TGrid не назначено свойство \"Hint\""),
                                   QStringLiteral("For grid is not assigned property \"Hint\"")),
                    2);
}

// ---- check column -------------------------------------------------------------------------------

bool TBaseForm::GetCheckFldValue(const db::Dataset& dataset, const db::Field* field)
{
    return ::GetCheckFldValue(dataset, field);
}

void TBaseForm::SetCheckFldValue(db::Dataset& dataset, const db::Field* field, bool value)
{
    ::SetCheckFldValue(dataset, field, value);
}

bool TBaseForm::DrawCheckCell(IDBGrid& grid, const DrawCellContext& cell)
{
    db::Dataset* ds = grid.GetDataSet();
    if (!cell.field || !ds || !ds->isOpen())
        return false;
    const bool empty = ds->isEmpty();
    QWidget* control = grid.GetControl();
    if (cell.field->name().compare(mCheckFieldName, Qt::CaseInsensitive) == 0) {
        const bool marked = !empty && cell.row >= 0 && cell.row < ds->recordCount() &&
                            ::GetCheckFldValue(*ds, cell.row, cell.field);
        GridCellPainting::paintCheckBox(cell.painter, control, cell.rect, marked, !empty);
        return true;
    }
    if (empty && cell.painter) {
        const QPalette palette = control ? control->palette() : QApplication::palette();
        cell.painter->fillRect(cell.rect, palette.button());
        cell.painter->setPen(palette.color(QPalette::ButtonText));
        cell.painter->drawText(cell.rect.adjusted(1, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                               cell.row >= 0 && cell.row < ds->recordCount()
                                   ? cell.field->displayText(ds->value(cell.row, cell.field->index()))
                                   : QString());
        return true;
    }
    return false;
}

void TBaseForm::CheckCellClick(IDBGrid& grid, db::Field* field)
{
    db::Dataset* ds = grid.GetDataSet();
    if (!field || !hasRows(ds) || field->name().compare(mCheckFieldName, Qt::CaseInsensitive) != 0)
        return;
    SetRCheck(ds);
}

bool TBaseForm::GridKeyDown(IDBGrid& grid, QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (!grid.HasCheckField())
        return false;
    SetRCheck(grid.GetDataSet());
    return true;
}

void TBaseForm::SetRCheck(db::Dataset* dataset)
{
    if (!dataset)
        throw std::logic_error("TBaseForm.SetRCheck: \r\nDS = nil");
    if (!hasRows(dataset) || !dataset->takesLocalEdits())
        return;
    const db::Field* field = dataset->findField(mCheckFieldName);
    if (!field)
        return;
    dataset->edit();
    SetCheckFldValue(*dataset, field, !GetCheckFldValue(*dataset, field));
    dataset->post();
}

void TBaseForm::CheckAllRows(DBGrid* grid)
{
    massSelect(grid, smCheck);
}

void TBaseForm::UncheckAllRows(DBGrid* grid)
{
    massSelect(grid, smUncheck);
}

void TBaseForm::InvertCheckedRows(DBGrid* grid)
{
    massSelect(grid, smInvert);
}

void TBaseForm::massSelect(DBGrid* grid, int mode)
{
    ensureCreated();
    TGridInterfaced* adapter = grid ? mGridList.FindByGrid(grid) : nullptr;
    if (!adapter) {
        QApplication::beep();
        return;
    }
    QPointer<QWidget> focused = focusWidget();
    setEnabled(false);
    struct Enable
    {
        TBaseForm* form;
        QPointer<QWidget> focused;
        ~Enable()
        {
            // What the user did meanwhile reaches a disabled window and is dropped.
            QCoreApplication::processEvents();
            form->setEnabled(true);
            if (focused)
                focused->setFocus();
        }
    } enable{this, focused};
    if (HasSelectedRange()) {
        const auto [a, b] = GetRangeBoundA();
        const auto [c, d] = GetRangeBoundB();
        if (mode == smCheck)
            adapter->CheckRange(a, b, c, d);
        else if (mode == smUncheck)
            adapter->UncheckRange(a, b, c, d);
        else
            adapter->InvertRange(a, b, c, d);
    } else if (mode == smCheck) {
        adapter->CheckAll();
    } else if (mode == smUncheck) {
        adapter->UncheckAll();
    } else {
        adapter->InvertAll();
    }
}

// ---- shared actions -----------------------------------------------------------------------------

DBGrid* TBaseForm::FocusedGrid() const
{
    for (QWidget* w = focusWidget(); w && w != this; w = w->parentWidget())
        if (auto* grid = qobject_cast<DBGrid*>(w))
            return grid;
    return nullptr;
}

DBGrid* TBaseForm::ActiveGrid()
{
    if (DBGrid* grid = FocusedGrid())
        return grid;
    ShowFormMessageKind(LocaleText(QStringLiteral("Выберите таблицу"), QStringLiteral("Select the table")),
                        0);
    return nullptr;
}

db::Dataset* TBaseForm::activeDataset()
{
    DBGrid* grid = ActiveGrid();
    if (!grid)
        return nullptr;
    db::Dataset* ds = grid->dataset();
    return ds && ds->isOpen() ? ds : nullptr;
}

IDBGrid* TBaseForm::GridAdapter(const DBGrid* grid) const
{
    return mGridList.FindByGrid(grid);
}

TDBGridOfQuery* TBaseForm::FilterIndicator(const DBGrid* grid) const
{
    const auto it = mIndicators.find(grid);
    return it == mIndicators.end() ? nullptr : it->second.get();
}

QString TBaseForm::SearchField(const db::Dataset* dataset) const
{
    return mSearchFields.value(dataset);
}

void TBaseForm::SetMasterDataset(db::Dataset* detail, db::Dataset* master)
{
    if (!detail)
        return;
    if (!master) {
        mMasters.remove(detail);
        return;
    }
    if (!mMasters.contains(detail))
        mConnections << connect(detail, &QObject::destroyed, this,
                                [this, detail] { mMasters.remove(detail); });
    mMasters.insert(detail, master);
}

db::Dataset* TBaseForm::MasterDataset(const db::Dataset* detail) const
{
    return mMasters.value(detail);
}

void TBaseForm::DoFind()
{
    DBGrid* grid = ActiveGrid();
    IDBGrid* adapter = grid ? GridAdapter(grid) : nullptr;
    db::Dataset* ds = adapter ? adapter->GetDataSet() : nullptr;
    if (!hasRows(ds))
        return;
    FieldMarking::markFields(*ds);
    int field = 0;
    if (grid->family() != DBGrid::Family::Extended) {
        const QModelIndex current = grid->currentIndex();
        if (const db::Field* f = current.isValid() ? grid->columnField(current.column()) : nullptr)
            field = f->index();
    }
    gridtools::findByDBGrid(*ds, adapter->GetHint(), field, framework::currentLanguageId());
    if (field < 0 || field >= ds->fieldCount())
        return;
    if (!mSearchFields.contains(ds))
        mConnections << connect(ds, &QObject::destroyed, this, [this, ds] { mSearchFields.remove(ds); });
    mSearchFields.insert(ds, ds->field(field).name());
}

void TBaseForm::DoSort()
{
    DBGrid* grid = ActiveGrid();
    db::Dataset* ds = grid ? grid->dataset() : nullptr;
    if (!ds)
        return;
    auto* query = qobject_cast<db::Query*>(ds);
    if (!query) {
        ShowFormMessageKind(QStringLiteral("Сортировка представленных данных невозможна"), 0);
        return;
    }
    FieldMarking::markFields(*query);
    gridtools::sortDBGrid(*query, grid->hint(), framework::currentLanguageId());
}

void TBaseForm::DoFilter()
{
    DBGrid* grid = ActiveGrid();
    auto* query = grid ? qobject_cast<db::Query*>(grid->dataset()) : nullptr;
    if (!query)
        return;
    FieldMarking::markFields(*query);
    gridtools::filterByDBGrid(*query, grid->hint(), framework::currentLanguageId());
}

void TBaseForm::DoReport()
{
    DBGrid* grid = ActiveGrid();
    db::Dataset* ds = grid ? grid->dataset() : nullptr;
    if (!hasRows(ds))
        return;
    db::Dataset* detail = nullptr;
    for (int i = 0; i < mGridList.count() && !detail; ++i) {
        db::Dataset* other = mGridList.GetItem(i).GetDataSet();
        if (other && other != ds && MasterDataset(other) == ds)
            detail = other;
    }
    FieldMarking::markFields(*ds);
    if (detail && detail->isOpen())
        FieldMarking::markFields(*detail);
    gridtools::gridReport(*ds, detail, grid->hint(), framework::currentLanguageId());
}

void TBaseForm::UpdateGridActions()
{
    DBGrid* grid = FocusedGrid();
    const bool rows = grid && hasRows(grid->dataset());
    pFind()->setVisible(rows);
    pReport()->setVisible(rows);
}

void TBaseForm::ActionsUpdate()
{
    if (FocusedGrid())
        UpdateGridActions();
}

void TBaseForm::requestActionsUpdate()
{
    mIdleUpdate->request();
}

void TBaseForm::updateActionsNow()
{
    mIdleUpdate->runNow();
}

void TBaseForm::SetCurrentQuery(db::Query* query)
{
    mCurrentQuery = query;
    CurrentQueryChanged(query);
}

void TBaseForm::RefreshKeepPosition(db::Dataset* dataset)
{
    if (!dataset)
        return;
    QString key;
    QVariant value;
    if (hasRows(dataset) && dataset->fieldCount() > 0) {
        key = dataset->field(0).name();
        value = dataset->value(key);
    }
    if (auto* q = qobject_cast<db::Query*>(dataset)) {
        q->refresh();
    } else {
        dataset->close();
        dataset->open();
    }
    if (!key.isEmpty() && dataset->isOpen())
        dataset->locate(key, value);
}

void TBaseForm::RefreshToLast(db::Dataset* dataset)
{
    if (!dataset)
        return;
    if (auto* q = qobject_cast<db::Query*>(dataset)) {
        q->refresh();
    } else {
        dataset->close();
        dataset->open();
    }
    dataset->last();
}

// ---- sort orders and closing --------------------------------------------------------------------

void TBaseForm::SaveSettings()
{
    if (mSaved)
        return;
    mSaved = true;
    if (!IsOrderBySaveOn(mShema))
        return;
    lang::IniFile::Batch orders(FrameworkFiles::sortOrderFile());
    for (db::Query* query : registryQueries())
        SaveQueryOrder(mShema, *query);
    orders.finish();
    BeforeSaveSettings();
}

void TBaseForm::done(int result)
{
    if (!mReady) {
        ShowFormMessage(mBusyText,
                        LocaleText(QStringLiteral("Закрытие окна"), QStringLiteral("Closing of the window")),
                        0);
        return;
    }
    setClosing(true);
    struct Reset
    {
        TBaseForm* form;
        ~Reset() { form->setClosing(false); }
    } reset{this};
    if (isCreated() && !mSaved) {
        try {
            SaveSettings();
        } catch (const lang::IniError& e) {
            // A sort-order store that cannot be written must not keep the window open.
            ShowFormMessageKind(QString::fromUtf8(e.what()), 1);
        }
    }
    TComBaseForm::done(result);
}

void TBaseForm::showEvent(QShowEvent* event)
{
    TComBaseForm::showEvent(event);
    // The grid of the current query takes the focus.
    if (mCurrentQuery)
        for (int i = 0; i < mGridList.count(); ++i) {
            auto* grid = qobject_cast<DBGrid*>(mGridList.GetItem(i).GetControl());
            if (grid && grid->dataset() == mCurrentQuery.data() && grid->isEnabled() &&
                grid->isVisibleTo(this) && grid->focusPolicy() != Qt::NoFocus) {
                grid->setFocus(Qt::OtherFocusReason);
                break;
            }
        }
    requestActionsUpdate();
}

void TBaseForm::contextMenuEvent(QContextMenuEvent* event)
{
    // The menu belongs to the grids: anywhere else it stays shut.
    if (!FocusedGrid()) {
        event->accept();
        return;
    }
    updateActionsNow();
    mPopupMenu1->popup(event->globalPos());
    event->accept();
}

QRect TBaseForm::MaximizedGeometry(const QRect& workArea, const QWidget* mainWindow)
{
    if (!mainWindow)
        return QRect(workArea.left(), 500, workArea.width(), 600);
    const QRect main = mainWindow->frameGeometry();
    const int top = main.top() + main.height();
    return QRect(workArea.left(), top, workArea.width(), workArea.height() - top);
}

void TBaseForm::changeEvent(QEvent* event)
{
    TComBaseForm::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || mPlacing || !isMaximized())
        return;
    QWidget* main = framework::applicationMainWindow();
    if (main == this)
        return;
    const QRect work = screen() ? screen()->availableGeometry() : QRect();
    const QRect target = MaximizedGeometry(work, main && main->isVisible() ? main : nullptr);
    // A main window that leaves no room below it: the platform's maximized window serves better.
    if (target.height() < 100)
        return;
    mPlacing = true;
    setWindowState(windowState() & ~Qt::WindowMaximized);
    setGeometry(target);
    mPlacing = false;
}

#include "TfrmCouponsArchive.h"

#include "Catalogue.h"
#include "Clock.h"
#include "DBGrid.h"
#include "DbHelpers.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "OraError.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "Session.h"
#include "SharedQueries.h"
#include "StoredProc.h"
#include "TdmMain.h"
#include "ui_TfrmCouponsArchive.h"

#include <QAction>
#include <QDateEdit>
#include <QPushButton>

namespace {

QString literal(const char16_t* key)
{
    return QLatin1Char('\'') + QuoteSqlText(lang::tr(key)) + QLatin1Char('\'');
}

QString errorText(const std::exception& e)
{
    if (const auto* ora = dynamic_cast<const db::OraError*>(&e))
        return ora->message();
    return QString::fromUtf8(e.what());
}

// Keeps a widget from painting until the scope ends.
struct NoRepaint
{
    explicit NoRepaint(QWidget* w) : widget(w) { widget->setUpdatesEnabled(false); }
    ~NoRepaint() { widget->setUpdatesEnabled(true); }
    QWidget* widget;
};

} // namespace

const QList<framework::ActionRow<TfrmCouponsArchive>>& TfrmCouponsArchive::ActionRows()
{
    using W = TfrmCouponsArchive;
    static const QList<framework::ActionRow<W>> rows = {
        {Cmd::acArchive, u"vrstrArchiveCoupons", {}, "go-jump", {}, &W::acArchiveExecute},
        {Cmd::acClose, u"rstrClose", {}, "window-close", {}, [](W& w) { w.reject(); }},
    };
    return rows;
}

QString TfrmCouponsArchive::SessionsSql()
{
    return QStringLiteral("SELECT id, date_of, state, decode(state, 3, &vComplete, &vError) as state_text, "
                          "archive_date\r\nFROM &shema.V_ARCHIVE_DATA\r\n&ORDER &FIELD\r\n");
}

QString TfrmCouponsArchive::ActiveConnectionsSql()
{
    return QStringLiteral(
        "SELECT s.* FROM v$session s, dba_role_privs priv WHERE s.username = priv.grantee AND "
        "(priv.granted_role IN ('TEV_ADMIN_WEB', 'TEV_WEB_USER') OR s.username = UPPER(:p_shema)) AND "
        "UPPER(program) NOT IN ('DEDADIZE.EXE', 'RODODUZIRU.EXE') AND status <> 'KILLED'");
}

TfrmCouponsArchive::TfrmCouponsArchive(TdmMain& dm, QWidget* owner)
    : TfmMainTEV(owner), mDm(dm), ui(std::make_unique<Ui::TfrmCouponsArchive>())
{
    setObjectName(QStringLiteral("frmCouponsArchive"));
    ui->setupUi(this);
    mActions.create(this, ActionRows());
    ui->btnArchive->addAction(acArchive());
    connect(ui->btnArchive, &QPushButton::clicked, acArchive(), &QAction::trigger);
    connect(ui->btnClose, &QPushButton::clicked, acClose(), &QAction::trigger);

    const QString shema = dm.ActiveScheme();
    mSessions = new db::Query(dm.session(), this);
    mSessions->setObjectName(QStringLiteral("qryArchive"));
    mSessions->setSql(SessionsSql());
    mSessions->setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    mSessions->setMacro(QStringLiteral("FIELD"), QStringLiteral("date_of"));
    fSetShemaForComponent(mSessions, shema);
    for (const char* hidden : {kIdField, kStateField})
        mSessions->defineField(QString::fromLatin1(hidden)).setVisible(false);

    mLast = new db::Query(dm.session(), this);
    mLast->setObjectName(QStringLiteral("qryLastSession"));
    mLast->setSql(
        QStringLiteral("SELECT id, state FROM &shema.V_ARCHIVE_DATA ORDER BY date_of DESC, id DESC"));
    fSetShemaForComponent(mLast, shema);

    mConnections = new db::Query(dm.session(), this);
    mConnections->setObjectName(QStringLiteral("oqSessionCount"));
    mConnections->setSql(ActiveConnectionsSql());

    DBGrid* grid = ui->dbgSessions;
    grid->setDataset(mSessions);
    grid->setColumns({{QStringLiteral("DATE_OF"), {}, 0, true},
                      {QStringLiteral("ARCHIVE_DATE"), {}, 0, true},
                      {QStringLiteral("STATE_TEXT"), {}, 0, true}});
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    gridActions().addTo(grid, {TfmMainTEV::Cmd::acFind, TfmMainTEV::Cmd::acSort, TfmMainTEV::Cmd::acFilter,
                               TfmMainTEV::Cmd::acReport});
    ui->DBNavigator1->setDataset(mSessions);
    ui->edDate->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    ensureCreated();
}

TfrmCouponsArchive::~TfrmCouponsArchive() = default;

DBGrid* TfrmCouponsArchive::dbgSessions() const
{
    return ui->dbgSessions;
}

RecordNavigator* TfrmCouponsArchive::DBNavigator1() const
{
    return ui->DBNavigator1;
}

QDateEdit* TfrmCouponsArchive::ArchiveDate() const
{
    return ui->edDate;
}

void TfrmCouponsArchive::SetupCaptions()
{
    TfmMainTEV::SetupCaptions();
    const QString caption = lang::tr(u"vrstrArchiveCouponsCaption");
    setWindowTitle(caption);
    ui->dbgSessions->setHint(caption);
    mActions.applyTexts();
    ui->btnArchive->setText(acArchive()->text());
    ui->btnClose->setText(acClose()->text());
    ui->lblDate->setText(lang::tr(u"vrstrArchiveCouponsDate"));
    mSessions->setMacro(QStringLiteral("vComplete"), literal(u"vrstrComplete"));
    mSessions->setMacro(QStringLiteral("vError"), literal(u"vrstrArchiveError"));
    const std::pair<const char*, const char16_t*> titles[] = {{"DATE_OF", u"vrstrDateOfArchive"},
                                                              {"ARCHIVE_DATE", u"vrstrDateForArchive"},
                                                              {"STATE_TEXT", u"vrstrArchiveState"}};
    for (const auto& [field, key] : titles)
        mSessions->defineField(QString::fromLatin1(field)).setDisplayLabel(lang::tr(key));
}

void TfrmCouponsArchive::FormShow()
{
    reopenSessions();
    ui->edDate->setDate(framework::firstOfMonth());
}

void TfrmCouponsArchive::reopenSessions()
{
    mSessions->close();
    mSessions->open();
}

std::optional<TfrmCouponsArchive::LastSession> TfrmCouponsArchive::ReadLastSession()
{
    mLast->close();
    mLast->open();
    std::optional<LastSession> last;
    if (!mLast->isEmpty())
        last = LastSession{int(mLast->value(0, 0).toLongLong()), mLast->value(0, 1)};
    mLast->close();
    return last;
}

bool TfrmCouponsArchive::HasActiveConnections()
{
    try {
        mConnections->close();
        mConnections->setParam(QStringLiteral("p_shema"), mDm.ActiveScheme());
        mConnections->open();
        const bool found = !mConnections->isEmpty();
        mConnections->close();
        return found;
    } catch (const std::exception&) {
        // Without rights on the dictionary the check cannot be made: the run goes ahead.
        return false;
    }
}

void TfrmCouponsArchive::acArchiveExecute()
{
    if (HasActiveConnections()) {
        lang::MessageDlgLang(lang::format(lang::tr(u"vrstrFoundActiveConnect"), {mDm.ActiveScheme()}) +
                                 QStringLiteral("\r\n") + lang::tr(u"vrstrNeedClose"),
                             lang::MsgDlgType::Warning, lang::mbOK);
        return;
    }
    const QDate day = ui->edDate->date();
    if (day > framework::today()) {
        lang::MessageDlgLang(lang::tr(u"vrstrSelectDateWarning"), lang::MsgDlgType::Warning, lang::mbOK);
        return;
    }

    NoRepaint still(ui->dbgSessions);
    int continued = 0;
    const std::optional<LastSession> last = ReadLastSession();
    if (last && !last->state.isNull() && last->state.toInt() != kFinished) {
        if (lang::MessageDlgLang(lang::tr(u"vrstrLastSessionErrorCont"), lang::MsgDlgType::Warning,
                                 lang::mbOK | lang::mbCancel) != lang::mrOk)
            return;
        continued = last->id;
    }

    db::Session* session = mDm.session();
    db::StoredProc* proc = mDm.queries().ospArchiveCoupons;
    try {
        proc->setParam(QStringLiteral("P_DATE"), QDateTime(day, QTime(0, 0)));
        proc->setParam(QStringLiteral("P_CUR_ARCHIVE_ID"), continued);
        proc->execProc();
        session->commit();
    } catch (const std::exception& e) {
        session->rollback();
        reopenSessions();
        lang::MessageDlgLang(errorText(e), lang::MsgDlgType::Error, lang::mbOK);
        return;
    }
    reopenSessions();
    lang::MessageDlgLang(lang::tr(u"vrstrArchiveComplete"), lang::MsgDlgType::Information, lang::mbOK);
}

bool TfrmCouponsArchive::CanClose()
{
    std::optional<LastSession> last;
    try {
        last = ReadLastSession();
    } catch (const std::exception&) {
        return true;
    }
    if (!last || last->state.isNull() || last->state.toInt() == kFinished)
        return true;
    return lang::MessageDlgLang(lang::tr(u"vrstrLastSessionErrorExit"), lang::MsgDlgType::Warning,
                                lang::mbOK | lang::mbCancel) == lang::mrOk;
}

void TfrmCouponsArchive::reject()
{
    if (CanClose())
        TfmMainTEV::reject();
}

void ShowCouponsArchive(TdmMain& dm, QWidget* owner)
{
    TfrmCouponsArchive window(dm, owner);
    framework::execModal(window);
}

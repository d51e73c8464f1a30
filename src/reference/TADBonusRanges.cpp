#include "TADBonusRanges.h"

#include "BonusRangeResult.h"
#include "Catalogue.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "Session.h"
#include "StoredProc.h"
#include "TfmADRangesModify.h"

#include <QDialog>
#include <memory>

namespace {

QString name(const char* constant)
{
    return QString::fromLatin1(constant);
}

} // namespace

TADBonusRanges::TADBonusRanges(db::Session* session, const QString& shema, QObject* parent)
    : QObject(parent), mSession(session), mShema(shema.trimmed())
{
    mList = new db::StoredProc(session, this);
    mList->setObjectName(QStringLiteral("spRanges"));
}

TADBonusRanges::~TADBonusRanges() = default;

QString TADBonusRanges::procName(const char* procedure) const
{
    return mShema + QStringLiteral(".TEV_UTILS.") + QString::fromLatin1(procedure);
}

void TADBonusRanges::OpenList()
{
    mList->close();
    mList->setSession(mSession);
    mList->setStoredProcName(procName("get_ad_ranges"));
    mList->prepare();
    mList->setParam(QStringLiteral("p_bonus_type"), BonusType());
    mList->open();
}

void TADBonusRanges::RefreshList()
{
    const bool had = mList->isOpen() && !mList->isEmpty();
    const QVariant current = had ? mList->value(name(kIdField)) : QVariant();
    const int row = mList->currentRow();
    mList->close();
    mList->open();
    if (!current.isValid() || !mList->locate(name(kIdField), current))
        if (row >= 0 && !mList->isEmpty())
            mList->setCurrentRow(qMin(row, mList->recordCount() - 1));
}

int TADBonusRanges::write(const std::function<int()>& call)
{
    int code = 0;
    try {
        code = call();
    } catch (...) {
        mSession->rollback();
        RefreshList();
        throw;
    }
    // Only a range the portal took is kept; anything else leaves nothing behind.
    if (code == 0)
        mSession->commit();
    else
        mSession->rollback();
    RefreshList();
    return code;
}

void TADBonusRanges::showResult(int code) const
{
    const QString text = BonusRangeResultMessage(code);
    if (!text.isEmpty())
        lang::MessageDlgLang(text, lang::MsgDlgType::Error, lang::mbOK);
}

int TADBonusRanges::insertOfType(int from, int to, double percent)
{
    return write([&] {
        db::StoredProc proc(mSession);
        proc.setStoredProcName(procName("ins_ad_range"));
        proc.prepare();
        proc.setParam(QStringLiteral("p_left_range_border"), from);
        proc.setParam(QStringLiteral("p_right_range_border"), to);
        proc.setParam(QStringLiteral("p_percent"), percent);
        proc.setParam(QStringLiteral("p_bonus_type"), BonusType());
        proc.execProc();
        return proc.paramByName(QStringLiteral("p_result")).value().toInt();
    });
}

int TADBonusRanges::UpdateRange(const QString& id, int from, int to, double percent)
{
    return write([&] {
        db::StoredProc proc(mSession);
        proc.setStoredProcName(procName("upd_ad_range"));
        proc.prepare();
        proc.setParam(QStringLiteral("p_AD_RANGES_ID"), id);
        proc.setParam(QStringLiteral("p_left_range_border"), from);
        proc.setParam(QStringLiteral("p_right_range_border"), to);
        proc.setParam(QStringLiteral("p_percent"), percent);
        proc.execProc();
        return proc.paramByName(QStringLiteral("p_result")).value().toInt();
    });
}

void TADBonusRanges::DeleteRange()
{
    if (!mList->isOpen() || mList->isEmpty())
        return;
    const QString id = mList->asString(name(kIdField));
    write([&] {
        db::StoredProc proc(mSession);
        proc.setStoredProcName(procName("del_ad_range"));
        proc.prepare();
        proc.setParam(QStringLiteral("p_AD_RANGES_ID"), id);
        proc.execProc();
        return 0;
    });
}

void TADBonusRanges::AddRange(QWidget* parent)
{
    TfmADRangesModify dialog(parent);
    dialog.setWindowTitle(lang::tr(u"rstrAddRange"));
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    showResult(InsertRange(dialog.From(), dialog.To(), dialog.Percent()));
}

void TADBonusRanges::EditRange(QWidget* parent)
{
    if (!mList->isOpen() || mList->isEmpty())
        return;
    const QString id = mList->asString(name(kIdField));
    TfmADRangesModify dialog(parent);
    dialog.setWindowTitle(lang::tr(u"rstrEditRange"));
    dialog.SetValues(int(mList->asInteger(name(kLeftField))), int(mList->asInteger(name(kRightField))),
                     mList->asFloat(name(kPercentField)));
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    showResult(UpdateRange(id, dialog.From(), dialog.To(), dialog.Percent()));
}

TPrMesBonusRanges::TPrMesBonusRanges(db::Session* session, const QString& shema, QObject* parent)
    : TADBonusRanges(session, shema, parent)
{
    OpenList();
}

int TPrMesBonusRanges::InsertRange(int from, int to, double percent)
{
    return insertOfType(from, to, percent);
}

QString TPrMesBonusRanges::KindName() const
{
    return lang::tr(u"rstrPrMes");
}

TPopravkaBonusRanges::TPopravkaBonusRanges(db::Session* session, const QString& shema, QObject* parent)
    : TADBonusRanges(session, shema, parent)
{
    OpenList();
}

int TPopravkaBonusRanges::InsertRange(int from, int to, double percent)
{
    return insertOfType(from, to, percent);
}

QString TPopravkaBonusRanges::KindName() const
{
    return lang::tr(u"rstrPopravka");
}

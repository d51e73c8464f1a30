#include "TfmNewDescribe.h"

#include "Catalogue.h"
#include "Clock.h"
#include "DbHelpers.h"
#include "MessageDialogs.h"

#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kCommentLength = 255;

QDateTime wholeSeconds(const QDateTime& t)
{
    QDateTime out = t;
    out.setTime(QTime(t.time().hour(), t.time().minute(), t.time().second()));
    return out;
}
} // namespace

TfmNewDescribe::TfmNewDescribe(QWidget* owner) : TTevBaseForm(owner)
{
    setObjectName(QStringLiteral("TfmNewDescribe"));
    lblDate = new QLabel(this);
    mDate = new QDateTimeEdit(this);
    mDate->setDisplayFormat(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    mDate->setCalendarPopup(true);
    lblComment = new QLabel(this);
    mComment = new QPlainTextEdit(this);
    mComment->setFixedHeight(90);
    mOk = new QPushButton(this);
    mCancel = new QPushButton(this);
    auto* grid = new QGridLayout;
    grid->addWidget(lblDate, 0, 0);
    grid->addWidget(mDate, 0, 1);
    grid->addWidget(lblComment, 1, 0, Qt::AlignTop);
    grid->addWidget(mComment, 1, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mOk);
    buttons->addWidget(mCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    mOk->setDefault(true);
    connect(mOk, &QPushButton::clicked, this, &TfmNewDescribe::btnOkClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    ensureCreated();
    mDate->setDateTime(DefaultDateEnd(framework::now()));
    resize(440, 200);
}

TfmNewDescribe::~TfmNewDescribe() = default;

QDateTime TfmNewDescribe::DefaultDateEnd(const QDateTime& now)
{
    return wholeSeconds(now.addMonths(1));
}

void TfmNewDescribe::SetupCaptions()
{
    lblDate->setText(lang::tr(u"rstrDescribeDateEnd"));
    lblComment->setText(lang::tr(u"rstrDescribeComment"));
    mOk->setText(lang::tr(u"rstrOk"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

void TfmNewDescribe::setValues(const QDateTime& dateEnd, const QString& comment)
{
    mDate->setDateTime(wholeSeconds(dateEnd));
    QString text = comment;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    mComment->setPlainText(text);
}

QDateTime TfmNewDescribe::dateEnd() const
{
    return wholeSeconds(mDate->dateTime());
}

QString TfmNewDescribe::comment() const
{
    QString text = mComment->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void TfmNewDescribe::btnOkClick()
{
    if (comment().size() > kCommentLength) {
        lang::ShowMsgBox(
            this,
            LocaleText(QString::fromUtf8("Примечание длиннее %1 символов.").arg(kCommentLength),
                       QStringLiteral("The note is longer than %1 characters.").arg(kCommentLength)),
            0);
        return;
    }
    accept();
}

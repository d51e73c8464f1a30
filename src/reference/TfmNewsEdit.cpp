#include "TfmNewsEdit.h"

#include "Catalogue.h"
#include "Clock.h"
#include "MessageDialogs.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfmNewsEdit::TfmNewsEdit(bool adding, QWidget* owner)
    : TTevBaseForm(owner), mAdding(adding), mHeadlineLabel(new QLabel(this)), mDateLabel(new QLabel(this)),
      mHeadline(new QLineEdit(this)), mDate(new QDateTimeEdit(this)), mBody(new QPlainTextEdit(this)),
      mBodyLength(new QLabel(this)), mCardholders(new QCheckBox(this)), mOk(new QPushButton(this)),
      mCancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("fmNewsEdit"));
    mHeadline->setObjectName(QStringLiteral("edtHeadline"));
    mHeadline->setMaxLength(kMaxHeadlineLength);
    mDate->setObjectName(QStringLiteral("edtDate"));
    mDate->setDisplayFormat(QStringLiteral("dd.MM.yyyy HH:mm"));
    mDate->setCalendarPopup(true);
    mBody->setObjectName(QStringLiteral("memBody"));
    // The body is the portal's text as typed; it is never read as markup.
    mBody->setTabChangesFocus(true);
    mBodyLength->setObjectName(QStringLiteral("lblBodyLength"));
    mBodyLength->setAlignment(Qt::AlignRight);
    mBodyLength->setTextFormat(Qt::PlainText);
    mCardholders->setObjectName(QStringLiteral("chkCardholders"));
    mHeadlineLabel->setBuddy(mHeadline);
    mDateLabel->setBuddy(mDate);

    auto* form = new QFormLayout;
    form->addRow(mHeadlineLabel, mHeadline);
    form->addRow(mDateLabel, mDate);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(mOk, QDialogButtonBox::AcceptRole);
    buttons->addButton(mCancel, QDialogButtonBox::RejectRole);
    mOk->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(mBody, 1);
    layout->addWidget(mBodyLength);
    layout->addWidget(mCardholders);
    layout->addWidget(buttons);
    connect(mOk, &QPushButton::clicked, this, &TfmNewsEdit::OkClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(mBody, &QPlainTextEdit::textChanged, this, &TfmNewsEdit::bodyChanged);
    setNews({}, framework::now(), {}, false);
    resize(620, 460);
    ensureCreated();
}

TfmNewsEdit::~TfmNewsEdit() = default;

void TfmNewsEdit::setNews(const QString& headline, const QDateTime& date, const QString& body,
                          bool cardholders)
{
    mHeadline->setText(headline);
    mDate->setDateTime(date);
    mBody->setPlainText(body);
    mCardholders->setChecked(cardholders);
    bodyChanged();
}

QString TfmNewsEdit::headline() const
{
    return mHeadline->text().trimmed();
}

QDateTime TfmNewsEdit::newsDate() const
{
    return mDate->dateTime();
}

QString TfmNewsEdit::body() const
{
    return mBody->toPlainText().trimmed();
}

bool TfmNewsEdit::cardholderVisibility() const
{
    return mCardholders->isChecked();
}

void TfmNewsEdit::bodyChanged()
{
    // A body over the limit cannot be stored: OK waits until it is shortened.
    const int length = int(mBody->toPlainText().size());
    mBodyLength->setText(QStringLiteral("%1 / %2").arg(length).arg(kMaxBodyLength));
    QPalette palette = mBodyLength->palette();
    palette.setColor(QPalette::WindowText, length > kMaxBodyLength ? QColor(Qt::darkRed) : QColor(Qt::gray));
    mBodyLength->setPalette(palette);
    mOk->setEnabled(length <= kMaxBodyLength);
}

void TfmNewsEdit::OkClick()
{
    if (headline().isEmpty()) {
        lang::MessageDlgLang(lang::tr(u"vrstrHeadlineIsEmpty"), lang::MsgDlgType::Error, lang::mbOK);
        mHeadline->setFocus();
        return;
    }
    if (mBody->toPlainText().size() > kMaxBodyLength)
        return;
    accept();
}

void TfmNewsEdit::SetupCaptions()
{
    setWindowTitle(lang::tr(mAdding ? u"vrstrAddNewsCaption" : u"vrstrEditNewsCaption"));
    mHeadlineLabel->setText(lang::tr(u"vrstrHeadline") + QLatin1Char(':'));
    mDateLabel->setText(lang::tr(u"vrstrDate") + QLatin1Char(':'));
    mCardholders->setText(lang::tr(u"vrstrCardholderVisibility"));
    mOk->setText(QStringLiteral("OK"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

#include "TComBaseForm.h"

#include <QDateTimeEdit>
#include <QVBoxLayout>

TComBaseForm::TComBaseForm(QWidget* owner) : QDialog(owner), mTextSources(std::make_unique<TextSources>())
{
    mLayout = new QVBoxLayout(this);
    mLayout->setContentsMargins(0, 0, 0, 0);
    mLayout->setSpacing(0);
    mClientPanel = new QWidget(this);
    mClientPanel->setObjectName(QStringLiteral("ClientPanel"));
    mLayout->addWidget(mClientPanel, 1);
}

TComBaseForm::~TComBaseForm() = default;

void TComBaseForm::ensureCreated()
{
    if (mCreated || mCreating)
        return;
    mCreating = true;
    // A window whose creation failed must still close; the error goes to the caller.
    struct Done
    {
        TComBaseForm* form;
        ~Done()
        {
            form->mCreating = false;
            form->mCreated = true;
        }
    } done{this};
    DoCreate();
}

void TComBaseForm::DoCreate()
{
    applyLocaleFormats();
    bindTextSources();
    FormCreate();
    SetupImages();
    SetupCaptions();
}

void TComBaseForm::SetupCaptions()
{
    bindTextSources();
}

void TComBaseForm::bindTextSources()
{
    for (QWidget* w : findChildren<QWidget*>())
        if (w->window() == this)
            if (auto* client = dynamic_cast<TextSourceClient*>(w))
                client->setTextSources(mTextSources.get());
}

namespace {

// The locale's long time format without its time zone, which an editor cannot take.
QString longTimeFormat(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result += c;
    }
    return result.trimmed();
}

} // namespace

QString TComBaseForm::localeEditorFormat(const QString& designFormat, const QLocale& locale)
{
    const QString upper = designFormat.toUpper();
    const QString date = locale.dateFormat(QLocale::ShortFormat);
    if (!upper.contains(QLatin1Char('H')))
        return date;
    if (!upper.contains(QLatin1Char('D')))
        return longTimeFormat(locale);
    return date + QLatin1Char(' ') + longTimeFormat(locale);
}

void TComBaseForm::applyLocaleFormats()
{
    for (QDateTimeEdit* edit : findChildren<QDateTimeEdit*>())
        if (edit->window() == this)
            edit->setDisplayFormat(localeEditorFormat(edit->displayFormat()));
}

void TComBaseForm::showEvent(QShowEvent* event)
{
    ensureCreated();
    QDialog::showEvent(event);
    FormShow();
}

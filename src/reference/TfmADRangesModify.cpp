#include "TfmADRangesModify.h"

#include "Catalogue.h"
#include "MessageDialogs.h"
#include "ui_TfmADRangesModify.h"

#include <QRegularExpressionValidator>
#include <cmath>
#include <limits>

namespace {

// Separators a number may be typed or shown with.
QString normalized(const QString& text, const QLocale& locale)
{
    QString s;
    for (const QChar c : text) {
        if (c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F))
            continue;
        if (locale.groupSeparator() == QString(c) && locale.decimalPoint() != QString(c))
            continue;
        s += c;
    }
    if (locale.decimalPoint() != QStringLiteral("."))
        s.replace(locale.decimalPoint(), QStringLiteral("."));
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    return s;
}

} // namespace

TfmADRangesModify::TfmADRangesModify(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfmADRangesModify>())
{
    setObjectName(QStringLiteral("fmADRangesModify"));
    ui->setupUi(this);
    setFixedSize(sizeHint().expandedTo(QSize(330, 190)));
    // Digits, a sign, separators and a fraction; what they make is checked on "Применить".
    const QRegularExpression number(QStringLiteral("[-+]?[0-9\\s\\x{00A0}\\x{202F}.,']*"));
    for (QLineEdit* edit : {ui->edFrom, ui->edTo, ui->edPercent})
        edit->setValidator(new QRegularExpressionValidator(number, edit));
    connect(ui->edFrom, &QLineEdit::editingFinished, this, [this] { reformat(ui->edFrom, true); });
    connect(ui->edTo, &QLineEdit::editingFinished, this, [this] { reformat(ui->edTo, true); });
    connect(ui->edPercent, &QLineEdit::editingFinished, this, [this] { reformat(ui->edPercent, false); });
    connect(ui->btnApply, &QPushButton::clicked, this, &TfmADRangesModify::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    ui->gbRange->setTitle(lang::tr(u"rstrRange"));
    ui->lblFrom->setText(lang::tr(u"rstrFrom"));
    ui->lblTo->setText(lang::tr(u"rstrTo"));
    ui->gbPercent->setTitle(lang::tr(u"rstrPercent"));
    ui->btnApply->setText(lang::tr(u"rstrApply"));
    ui->btnCancel->setText(lang::tr(u"rstrCanceling"));
}

TfmADRangesModify::~TfmADRangesModify() = default;

QLineEdit* TfmADRangesModify::FromEdit() const
{
    return ui->edFrom;
}

QLineEdit* TfmADRangesModify::ToEdit() const
{
    return ui->edTo;
}

QLineEdit* TfmADRangesModify::PercentEdit() const
{
    return ui->edPercent;
}

void TfmADRangesModify::SetValues(int from, int to, double percent)
{
    const QLocale locale;
    ui->edFrom->setText(locale.toString(from));
    ui->edTo->setText(locale.toString(to));
    ui->edPercent->setText(locale.toString(percent, 'f', 2));
}

std::optional<double> TfmADRangesModify::ParseNumber(const QString& text, const QLocale& locale)
{
    const QString s = normalized(text, locale);
    if (s.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(s, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> TfmADRangesModify::ParseWhole(const QString& text, const QLocale& locale)
{
    const std::optional<double> value = ParseNumber(text, locale);
    if (!value)
        return std::nullopt;
    const double rounded = std::round(*value);
    if (rounded < double(std::numeric_limits<int>::min()) ||
        rounded > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(rounded);
}

void TfmADRangesModify::reformat(QLineEdit* edit, bool whole)
{
    const QLocale locale;
    if (whole) {
        if (const auto value = ParseWhole(edit->text()))
            edit->setText(locale.toString(*value));
    } else if (const auto value = ParseNumber(edit->text())) {
        edit->setText(locale.toString(*value, 'f', 2));
    }
}

void TfmADRangesModify::refuse(QLineEdit* edit, const QString& text)
{
    lang::MessageDlgLang(text, lang::MsgDlgType::Warning, lang::mbOK);
    edit->setFocus();
    edit->selectAll();
}

void TfmADRangesModify::accept()
{
    const std::pair<QLineEdit*, QString> fields[] = {{ui->edFrom, lang::tr(u"rstrFrom")},
                                                     {ui->edTo, lang::tr(u"rstrTo")},
                                                     {ui->edPercent, lang::tr(u"rstrPercent")}};
    for (const auto& [edit, label] : fields)
        if (normalized(edit->text(), QLocale()).isEmpty()) {
            refuse(edit, lang::tr(u"vrstrMandatoryFieldNotFilled") + QLatin1Char(' ') + label);
            return;
        }
    const std::optional<int> from = ParseWhole(ui->edFrom->text());
    if (!from) {
        refuse(ui->edFrom, lang::tr(u"rstrWrongRange"));
        return;
    }
    const std::optional<int> to = ParseWhole(ui->edTo->text());
    if (!to) {
        refuse(ui->edTo, lang::tr(u"rstrWrongRange"));
        return;
    }
    const std::optional<double> percent = ParseNumber(ui->edPercent->text());
    if (!percent) {
        refuse(ui->edPercent, lang::tr(u"rstrError"));
        return;
    }
    mFrom = *from;
    mTo = *to;
    mPercent = *percent;
    QDialog::accept();
}

#include "TfmTEVReportWithoutData.h"

#include "Catalogue.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfmTEVReportWithoutData::TfmTEVReportWithoutData(const QString& text, QWidget* parent)
    : QDialog(parent), mMemo(new QPlainTextEdit(this)), mOk(new QPushButton(lang::tr(u"rstrOk"), this))
{
    setObjectName(QStringLiteral("TfmTEVReportWithoutData"));
    setWindowTitle(lang::tr(u"rstrListRepWithoutData"));
    mMemo->setReadOnly(true);
    // Lines come with CR LF; the editor wants plain line breaks.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    mMemo->setPlainText(shown);
    mOk->setDefault(true);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(mOk, QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mMemo);
    layout->addWidget(buttons);
    resize(560, 260);
}

#include "TfmMailPreview.h"

#include "Catalogue.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfmMailPreview::TfmMailPreview(const QStringList& clientNames, LetterBuilder build, QWidget* owner)
    : TTevBaseForm(owner), mNames(clientNames), mBuild(std::move(build)), mClient(new QLabel(this)),
      mLetter(new QPlainTextEdit(this)), mPrev(new QPushButton(QStringLiteral("<"), this)),
      mNext(new QPushButton(QStringLiteral(">"), this)), mClose(new QPushButton(this))
{
    setObjectName(QStringLiteral("TfmMailPreview"));
    mLetter->setObjectName(QStringLiteral("memLetter"));
    mLetter->setReadOnly(true);
    mLetter->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mPrev);
    buttons->addWidget(mNext);
    buttons->addStretch();
    buttons->addWidget(mClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mClient);
    layout->addWidget(mLetter, 1);
    layout->addLayout(buttons);
    connect(mPrev, &QPushButton::clicked, this, [this] { showLetter(mPosition - 1); });
    connect(mNext, &QPushButton::clicked, this, [this] { showLetter(mPosition + 1); });
    connect(mClose, &QPushButton::clicked, this, &QDialog::accept);
    resize(640, 480);
    ensureCreated();
    showLetter(0);
}

TfmMailPreview::~TfmMailPreview() = default;

void TfmMailPreview::SetupCaptions()
{
    setWindowTitle(lang::tr(u"vrstrMessagesPreview"));
    mPrev->setToolTip(lang::tr(u"vrstrPrevLetter"));
    mNext->setToolTip(lang::tr(u"vrstrNextLetter"));
    mClose->setText(lang::tr(u"rstrClose"));
    if (!mNames.isEmpty())
        mClient->setText(lang::tr(u"vrstrLetterForClient") + QStringLiteral(": ") + mNames.value(mPosition));
}

void TfmMailPreview::showLetter(int index)
{
    if (mNames.isEmpty()) {
        mPrev->setEnabled(false);
        mNext->setEnabled(false);
        return;
    }
    mPosition = std::clamp(index, 0, int(mNames.size()) - 1);
    mClient->setText(lang::tr(u"vrstrLetterForClient") + QStringLiteral(": ") + mNames[mPosition]);
    mLetter->setPlainText(mBuild(mPosition));
    mPrev->setEnabled(mPosition > 0);
    mNext->setEnabled(mPosition < mNames.size() - 1);
}

#include "TDlgBaseForm.h"

#include "FormEnvironment.h"
#include "Package.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

TDlgBaseForm::TDlgBaseForm(QWidget* owner, const QString& shema, db::Session* session, int displayMode,
                           int layout)
    : TBaseForm(owner, shema, session)
{
    Q_UNUSED(displayMode);
    Q_UNUSED(layout);
    mParamPack = new db::Package(this);
    mParamPack->setObjectName(QStringLiteral("PARAM_PACK"));
    mParamPack->setPackageName(QStringLiteral("xxx.PARAM_PACK"));

    // The buttons are placed by hand: they are centred as a pair, not laid out.
    mBottomPanel = new QWidget(this);
    mBottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    mOkBtn = new QPushButton(mBottomPanel);
    mOkBtn->setObjectName(QStringLiteral("OkBtn"));
    mOkBtn->setDefault(true);
    mCancelBtn = new QPushButton(mBottomPanel);
    mCancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    for (QPushButton* b : {mOkBtn, mCancelBtn})
        b->resize(100, b->sizeHint().height());
    mBottomPanel->setFixedHeight(mOkBtn->height() + 12);
    mOkBtn->move(8, 6);
    mCancelBtn->move(116, 6);
    mBottomPanel->installEventFilter(this);
    windowLayout()->addWidget(mBottomPanel);
    connect(mOkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(mCancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    // A dialog works on one record: no record moves.
    QMenu* menu = PopupMenu1();
    for (QAction* action : menu->actions())
        if (action->isSeparator() || action == pFirst() || action == pPrev() || action == pNext() ||
            action == pLast() || action == pRefresh())
            menu->removeAction(action);
    for (QAction* action : {pFirst(), pPrev(), pNext(), pLast(), pRefresh()})
        action->setVisible(false);
}

TDlgBaseForm::~TDlgBaseForm()
{
    mBottomPanel->removeEventFilter(this);
}

void TDlgBaseForm::SetupImages()
{
    TBaseForm::SetupImages();
    mOkBtn->setIcon(framework::themeIcon(QStringLiteral("dialog-ok-apply")));
    mCancelBtn->setIcon(framework::themeIcon(QStringLiteral("dialog-cancel")));
}

void TDlgBaseForm::SetupCaptions()
{
    TBaseForm::SetupCaptions();
    mOkBtn->setText(QStringLiteral("Применить"));
    mCancelBtn->setText(QStringLiteral("Отменить"));
}

std::optional<std::pair<int, int>> TDlgBaseForm::centredButtons(int clientWidth, int okWidth, int cancelWidth,
                                                                int gap)
{
    // Rounded half to even, as the original's Round.
    const int okRight = int(std::nearbyint(clientWidth / 2.0 - gap / 2.0));
    const int cancelLeft = int(std::nearbyint(clientWidth / 2.0 + gap / 2.0));
    const int okLeft = okRight - okWidth;
    if (okLeft <= 0 || cancelLeft + cancelWidth >= clientWidth)
        return std::nullopt;
    return std::make_pair(okLeft, cancelLeft);
}

void TDlgBaseForm::centreButtons()
{
    if (const auto places =
            centredButtons(mBottomPanel->width(), mOkBtn->width(), mCancelBtn->width(), ButtonsGap())) {
        mOkBtn->move(places->first, mOkBtn->y());
        mCancelBtn->move(places->second, mCancelBtn->y());
    }
}

void TDlgBaseForm::showEvent(QShowEvent* event)
{
    TBaseForm::showEvent(event);
    centreButtons();
}

bool TDlgBaseForm::eventFilter(QObject* watched, QEvent* event)
{
    // A dialog that is resized keeps its buttons centred.
    if (watched == mBottomPanel && event->type() == QEvent::Resize)
        centreButtons();
    return TBaseForm::eventFilter(watched, event);
}

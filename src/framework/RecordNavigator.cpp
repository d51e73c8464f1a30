#include "RecordNavigator.h"

#include "Dataset.h"
#include "FormEnvironment.h"
#include "Query.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace {

struct ButtonLook
{
    const char* iconName;
    const char* glyph; // when the icon theme has no such icon
};

constexpr ButtonLook kLooks[RecordNavigator::kButtonCount] = {
    {"go-first", "|<"},    {"go-previous", "<"}, {"go-next", ">"},       {"go-last", ">|"},
    {"list-add", "+"},     {"list-remove", "-"}, {"document-edit", "^"}, {"document-save", "v"},
    {"process-stop", "x"}, {"view-refresh", "@"}};

} // namespace

RecordNavigator::RecordNavigator(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < kButtonCount; ++i) {
        auto* b = new QToolButton(this);
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::NoFocus);
        const QIcon icon = framework::themeIcon(QString::fromLatin1(kLooks[i].iconName));
        if (icon.isNull())
            b->setText(QString::fromLatin1(kLooks[i].glyph));
        else
            b->setIcon(icon);
        layout->addWidget(b);
        mButtons[i] = b;
        connect(b, &QToolButton::clicked, this, [this, i] { click(Button(i)); });
    }
    setVisibleButtons({nbFirst, nbPrior, nbNext, nbLast, nbRefresh});
    updateButtons();
}

RecordNavigator::~RecordNavigator()
{
    for (const auto& c : mConnections)
        disconnect(c);
}

void RecordNavigator::setDataset(db::Dataset* dataset)
{
    if (dataset == mDataset)
        return;
    watch(dataset);
    updateButtons();
}

void RecordNavigator::watch(db::Dataset* dataset)
{
    for (const auto& c : mConnections)
        disconnect(c);
    mConnections.clear();
    mDataset = dataset;
    if (!dataset)
        return;
    for (auto signal : {&db::Dataset::afterOpen, &db::Dataset::afterClose, &db::Dataset::afterScroll,
                        &db::Dataset::rowsReset})
        mConnections << connect(dataset, signal, this, &RecordNavigator::updateButtons);
    mConnections << connect(dataset, &db::Dataset::rowChanged, this, &RecordNavigator::updateButtons);
}

QList<RecordNavigator::Button> RecordNavigator::visibleButtons() const
{
    QList<Button> result;
    for (int i = 0; i < kButtonCount; ++i)
        if (!mButtons[i]->isHidden())
            result << Button(i);
    return result;
}

void RecordNavigator::setVisibleButtons(const QList<Button>& buttons)
{
    for (int i = 0; i < kButtonCount; ++i)
        mButtons[i]->setVisible(buttons.contains(Button(i)));
}

bool RecordNavigator::isButtonVisible(Button button) const
{
    return !mButtons[button]->isHidden();
}

void RecordNavigator::setHints(const QStringList& hints)
{
    mHints = hints;
    while (mHints.size() < kButtonCount)
        mHints << QString();
    applyHints();
}

void RecordNavigator::setShowHints(bool on)
{
    mShowHints = on;
    applyHints();
}

void RecordNavigator::applyHints()
{
    for (int i = 0; i < kButtonCount; ++i)
        mButtons[i]->setToolTip(mShowHints ? mHints.value(i) : QString());
}

void RecordNavigator::setButtonIcon(Button button, const QIcon& icon)
{
    mButtons[button]->setIcon(icon);
    if (!icon.isNull())
        mButtons[button]->setText(QString());
}

void RecordNavigator::click(Button button)
{
    db::Dataset* ds = mDataset;
    if (ds && ds->isOpen()) {
        switch (button) {
        case nbFirst:
            ds->first();
            break;
        case nbPrior:
            ds->prior();
            break;
        case nbNext:
            ds->next();
            break;
        case nbLast:
            ds->last();
            break;
        case nbInsert:
            emit insertRequested();
            break;
        case nbDelete:
            emit deleteRequested();
            break;
        case nbEdit:
            if (ds->takesLocalEdits() && !ds->isEmpty())
                ds->edit();
            break;
        case nbPost:
            ds->post();
            break;
        case nbCancel:
            ds->cancel();
            break;
        case nbRefresh:
            if (auto* q = qobject_cast<db::Query*>(ds)) {
                q->refresh();
            } else {
                const int row = ds->currentRow();
                ds->close();
                ds->open();
                ds->setCurrentRow(row);
            }
            break;
        }
    }
    updateButtons();
    emit clicked(button);
}

void RecordNavigator::updateButtons()
{
    const db::Dataset* ds = mDataset;
    const bool open = ds && ds->isOpen();
    const int row = open ? ds->currentRow() : -1;
    const int count = open ? ds->recordCount() : 0;
    const bool editing = open && ds->isEditing();
    mButtons[nbFirst]->setEnabled(open && row > 0);
    mButtons[nbPrior]->setEnabled(open && row > 0);
    mButtons[nbNext]->setEnabled(open && row >= 0 && row < count - 1);
    mButtons[nbLast]->setEnabled(open && row >= 0 && row < count - 1);
    mButtons[nbInsert]->setEnabled(open && !editing);
    mButtons[nbDelete]->setEnabled(open && count > 0 && !editing);
    mButtons[nbEdit]->setEnabled(open && count > 0 && !editing && ds->takesLocalEdits());
    mButtons[nbPost]->setEnabled(editing);
    mButtons[nbCancel]->setEnabled(editing);
    mButtons[nbRefresh]->setEnabled(open);
}

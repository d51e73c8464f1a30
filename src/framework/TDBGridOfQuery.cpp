#include "TDBGridOfQuery.h"

#include "DBGrid.h"
#include "Query.h"

#include <QAction>
#include <QEvent>
#include <QToolButton>

TDBGridOfQuery::TDBGridOfQuery(DBGrid* grid, db::Query* query, QAction* filterAction, QObject* parent)
    : QObject(parent), mGrid(grid), mQuery(query), mFilterAction(filterAction)
{
    if (!grid || !query)
        return;
    mButton = new QToolButton(grid);
    mButton->setObjectName(grid->objectName() + QStringLiteral("_SQLFilterButton"));
    mButton->setFixedSize(kButtonSize, kButtonSize);
    mButton->setFocusPolicy(Qt::NoFocus);
    mButton->hide();
    connect(mButton, &QToolButton::clicked, this, [this] {
        if (mGrid)
            mGrid->setFocus(Qt::OtherFocusReason);
        if (mFilterAction)
            mFilterAction->trigger();
    });
    mConnections << connect(query, &db::Dataset::afterOpen, this, &TDBGridOfQuery::update);
    mConnections << connect(query, &db::Dataset::afterClose, this, &TDBGridOfQuery::update);
    grid->installEventFilter(this);
    update();
}

TDBGridOfQuery::~TDBGridOfQuery()
{
    for (const auto& c : mConnections)
        disconnect(c);
    if (mGrid)
        mGrid->removeEventFilter(this);
    delete mButton.data();
}

bool TDBGridOfQuery::showsFilter(const QString& filterSql)
{
    return !filterSql.isEmpty() && filterSql != QLatin1String(kNoCondition);
}

void TDBGridOfQuery::update()
{
    if (!mButton)
        return;
    if (!mQuery || !mQuery->isOpen() || !showsFilter(mQuery->filterSql())) {
        mButton->hide();
        return;
    }
    const QString caption = mFilterAction ? mFilterAction->text() : QString();
    mButton->setToolTip(QStringLiteral(" \"") + (mGrid ? mGrid->hint() : QString()) + QStringLiteral("\" ") +
                        caption);
    const QIcon icon = mFilterAction ? mFilterAction->icon() : QIcon();
    if (icon.isNull()) {
        mButton->setIcon(QIcon());
        mButton->setText(QStringLiteral("F"));
    } else {
        mButton->setText(QString());
        mButton->setIcon(icon);
    }
    place();
    mButton->show();
    mButton->raise();
}

void TDBGridOfQuery::place()
{
    if (mButton && mGrid)
        mButton->move(mGrid->width() - kButtonSize - mGrid->frameWidth(),
                      mGrid->height() - kButtonSize - mGrid->frameWidth());
}

bool TDBGridOfQuery::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mGrid && event->type() == QEvent::Resize)
        place();
    return QObject::eventFilter(watched, event);
}

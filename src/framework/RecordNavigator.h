#pragma once

#include "Dataset.h"

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class QToolButton;

// A row of buttons that moves through a dataset and works its current row: first, prior, next,
// last, insert, delete, edit, post, cancel, refresh (in that order). The dataset cannot insert or
// delete rows itself, so those two buttons only ask for it; a window that allows them answers.
class RecordNavigator : public QWidget
{
    Q_OBJECT

public:
    enum Button
    {
        nbFirst,
        nbPrior,
        nbNext,
        nbLast,
        nbInsert,
        nbDelete,
        nbEdit,
        nbPost,
        nbCancel,
        nbRefresh
    };
    static constexpr int kButtonCount = 10;

    explicit RecordNavigator(QWidget* parent = nullptr);
    ~RecordNavigator() override;

    db::Dataset* dataset() const { return mDataset; }
    void setDataset(db::Dataset* dataset);

    // Shown by default: first, prior, next, last, refresh.
    QList<Button> visibleButtons() const;
    void setVisibleButtons(const QList<Button>& buttons);
    bool isButtonVisible(Button button) const;

    // One hint per button in button order; missing entries are empty.
    QStringList hints() const { return mHints; }
    void setHints(const QStringList& hints);
    QString hint(Button button) const { return mHints.value(button); }
    // Whether the buttons show their hints as tool tips.
    bool showHints() const { return mShowHints; }
    void setShowHints(bool on);

    void setButtonIcon(Button button, const QIcon& icon);
    QToolButton* button(Button button) const { return mButtons[button]; }

    // Does what pressing the button does.
    void click(Button button);

signals:
    // The insert and delete buttons were pressed; the dataset is left as it is.
    void insertRequested();
    void deleteRequested();
    // After any button has done its work.
    void clicked(RecordNavigator::Button button);

private:
    void updateButtons();
    void applyHints();
    void watch(db::Dataset* dataset);

    QToolButton* mButtons[kButtonCount] = {};
    QPointer<db::Dataset> mDataset;
    QList<QMetaObject::Connection> mConnections;
    QStringList mHints;
    bool mShowHints = true;
};

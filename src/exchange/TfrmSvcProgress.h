#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QTimer;

// "Service Control": the state a command waits for and the service's name over a bar that fills in
// the command's wait hint. It closes when the bar is full or when the command ends.
class TfrmSvcProgress : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSvcProgress(QWidget* parent = nullptr);

    // Shows the window (again) for a command that is waiting.
    void Start(const QString& stateText, const QString& displayName, int waitHint);
    // The command ended.
    void Finish();

    QLabel* label() const { return mLabel; }
    QProgressBar* bar() const { return mBar; }

private:
    void tick();

    QLabel* mLabel;
    QProgressBar* mBar;
    QTimer* mTimer;
};

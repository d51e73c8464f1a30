#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The reports of the last run that found no rows, read-only, closed with OK.
class TfmTEVReportWithoutData : public QDialog
{
    Q_OBJECT

public:
    explicit TfmTEVReportWithoutData(const QString& text, QWidget* parent = nullptr);

    QPlainTextEdit* memo() const { return mMemo; }
    QPushButton* okButton() const { return mOk; }

private:
    QPlainTextEdit* mMemo;
    QPushButton* mOk;
};

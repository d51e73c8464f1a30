#pragma once

#include "TTevBaseForm.h"

#include <QDateTime>

class QDateTimeEdit;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// One subscription: its blocking date and time (to the second, as the portal keeps it) and a
// note of at most 255 characters with line ends counted as CR LF.
class TfmNewDescribe : public TTevBaseForm
{
    Q_OBJECT

public:
    // A new subscription: the blocking date is a calendar month from now.
    explicit TfmNewDescribe(QWidget* owner = nullptr);
    ~TfmNewDescribe() override;

    void setValues(const QDateTime& dateEnd, const QString& comment);
    QDateTime dateEnd() const;
    // The note as the portal stores it (CR LF line ends).
    QString comment() const;

    QDateTimeEdit* edtDateEnd() const { return mDate; }
    QPlainTextEdit* edtComment() const { return mComment; }
    QPushButton* btnOk() const { return mOk; }

    void btnOkClick();

    // The default blocking date for a subscription created at `now`.
    static QDateTime DefaultDateEnd(const QDateTime& now);

protected:
    void SetupCaptions() override;

private:
    QLabel* lblDate;
    QDateTimeEdit* mDate;
    QLabel* lblComment;
    QPlainTextEdit* mComment;
    QPushButton* mOk;
    QPushButton* mCancel;
};

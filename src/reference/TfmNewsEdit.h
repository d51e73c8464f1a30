#pragma once

#include "TTevBaseForm.h"

#include <QDateTime>

class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// A news item: headline (at most 255 characters), date and time, body (at most 4000 characters,
// plain text) and whether card holders see it. OK closes only with a headline that is not blank.
// The caller stores what was accepted.
class TfmNewsEdit : public TTevBaseForm
{
    Q_OBJECT

public:
    static constexpr int kMaxHeadlineLength = 255;
    static constexpr int kMaxBodyLength = 4000;

    // `adding` chooses the caption.
    explicit TfmNewsEdit(bool adding, QWidget* owner = nullptr);
    ~TfmNewsEdit() override;

    void setNews(const QString& headline, const QDateTime& date, const QString& body, bool cardholders);
    // Headline and body with the blanks around them removed.
    QString headline() const;
    QDateTime newsDate() const;
    QString body() const;
    bool cardholderVisibility() const;

    QLineEdit* edtHeadline() const { return mHeadline; }
    QDateTimeEdit* edtDate() const { return mDate; }
    QPlainTextEdit* memBody() const { return mBody; }
    QCheckBox* chkCardholders() const { return mCardholders; }
    QLabel* lblBodyLength() const { return mBodyLength; }
    QPushButton* btnOk() const { return mOk; }
    QPushButton* btnCancel() const { return mCancel; }

    // Closes with OK when the headline is not blank; otherwise says so and stays.
    void OkClick();

protected:
    void SetupCaptions() override;

private:
    void bodyChanged();

    bool mAdding;
    QLabel* mHeadlineLabel;
    QLabel* mDateLabel;
    QLineEdit* mHeadline;
    QDateTimeEdit* mDate;
    QPlainTextEdit* mBody;
    QLabel* mBodyLength;
    QCheckBox* mCardholders;
    QPushButton* mOk;
    QPushButton* mCancel;
};

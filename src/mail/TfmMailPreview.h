#pragma once

#include "TTevBaseForm.h"

#include <QStringList>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// One client's letter at a time, moved through with previous and next. It only shows: the letters
// are built in preview mode, which changes nothing.
class TfmMailPreview : public TTevBaseForm
{
    Q_OBJECT

public:
    using LetterBuilder = std::function<QString(int index)>;

    TfmMailPreview(const QStringList& clientNames, LetterBuilder build, QWidget* owner = nullptr);
    ~TfmMailPreview() override;

    int position() const { return mPosition; }
    void showLetter(int index);

    QLabel* lblClient() const { return mClient; }
    QPlainTextEdit* letter() const { return mLetter; }
    QPushButton* btnPrev() const { return mPrev; }
    QPushButton* btnNext() const { return mNext; }
    QPushButton* btnClose() const { return mClose; }

protected:
    void SetupCaptions() override;

private:
    QStringList mNames;
    LetterBuilder mBuild;
    int mPosition = 0;
    QLabel* mClient;
    QPlainTextEdit* mLetter;
    QPushButton* mPrev;
    QPushButton* mNext;
    QPushButton* mClose;
};

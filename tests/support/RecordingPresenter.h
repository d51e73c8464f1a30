#pragma once

#include "MessageDialogs.h"

#include <QList>

// Records every message box and question and answers from a queue of results (when the queue is
// empty: the first button). Installed for its own lifetime; the previous presenter comes back after.
class RecordingPresenter : public lang::MessagePresenter
{
public:
    explicit RecordingPresenter(QList<int> answers = {})
        : mAnswers(std::move(answers)), mPrevious(&lang::messagePresenter())
    {
        lang::setMessagePresenter(this);
    }
    ~RecordingPresenter() override { lang::setMessagePresenter(mPrevious); }
    RecordingPresenter(const RecordingPresenter&) = delete;
    RecordingPresenter& operator=(const RecordingPresenter&) = delete;

    int show(const lang::MessageRequest& request) override
    {
        mRequests.append(request);
        if (!mAnswers.isEmpty())
            return mAnswers.takeFirst();
        return request.buttons.isEmpty() ? lang::mrCancel : request.buttons.first().first;
    }

    void answer(int result) { mAnswers.append(result); }
    const QList<lang::MessageRequest>& requests() const { return mRequests; }
    const lang::MessageRequest& last() const { return mRequests.last(); }
    int count() const { return int(mRequests.size()); }
    void clear() { mRequests.clear(); }

private:
    QList<int> mAnswers;
    QList<lang::MessageRequest> mRequests;
    lang::MessagePresenter* mPrevious;
};

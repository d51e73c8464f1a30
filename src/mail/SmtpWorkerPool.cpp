#include "SmtpWorkerPool.h"

#include "SmtpConversation.h"

#include <algorithm>

SmtpWorkerPool& SmtpWorkerPool::instance()
{
    static SmtpWorkerPool pool;
    return pool;
}

SmtpWorkerPool::~SmtpWorkerPool()
{
    shutdown();
}

void SmtpWorkerPool::setMaxThreads(int count)
{
    std::lock_guard lock(mMutex);
    mMax = std::max(1, count);
}

int SmtpWorkerPool::maxThreads() const
{
    std::lock_guard lock(mMutex);
    return mMax;
}

void SmtpWorkerPool::enqueue(std::shared_ptr<SmtpConversation> job)
{
    std::lock_guard lock(mMutex);
    mQueue.push_back(std::move(job));
    // Threads only grow: a lowered maximum takes effect as threads are shut down.
    if (int(mQueue.size()) > mIdle && int(mThreads.size()) < mMax)
        mThreads.emplace_back([this] { work(); });
    else
        mWake.notify_one();
}

bool SmtpWorkerPool::remove(const std::shared_ptr<SmtpConversation>& job)
{
    std::lock_guard lock(mMutex);
    const auto it = std::find(mQueue.begin(), mQueue.end(), job);
    if (it == mQueue.end())
        return false;
    mQueue.erase(it);
    return true;
}

void SmtpWorkerPool::shutdown()
{
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mMutex);
        mStopping = true;
        threads.swap(mThreads);
    }
    mWake.notify_all();
    for (std::thread& t : threads)
        t.join();
    std::lock_guard lock(mMutex);
    mStopping = false;
    mIdle = 0;
    // Jobs still queued get a thread again.
    for (size_t i = 0; i < mQueue.size() && int(mThreads.size()) < mMax; ++i)
        mThreads.emplace_back([this] { work(); });
}

void SmtpWorkerPool::work()
{
    std::unique_lock lock(mMutex);
    for (;;) {
        ++mIdle;
        mWake.wait(lock, [this] { return mStopping || !mQueue.empty(); });
        --mIdle;
        if (mStopping)
            return;
        std::shared_ptr<SmtpConversation> job = std::move(mQueue.front());
        mQueue.pop_front();
        lock.unlock();
        job->run();
        job.reset();
        lock.lock();
    }
}

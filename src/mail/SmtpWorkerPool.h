#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class SmtpConversation;

// The threads SMTP conversations run on, shared by every gateway of the process: at most
// maxThreads() conversations at once, the others wait in order.
class SmtpWorkerPool
{
public:
    static SmtpWorkerPool& instance();
    ~SmtpWorkerPool();

    void setMaxThreads(int count);
    int maxThreads() const;
    void enqueue(std::shared_ptr<SmtpConversation> job);
    // True when the job was still waiting and is now removed.
    bool remove(const std::shared_ptr<SmtpConversation>& job);
    // Ends every thread once its current job is done; the pool starts new ones on demand.
    void shutdown();

private:
    SmtpWorkerPool() = default;
    void work();

    mutable std::mutex mMutex;
    std::condition_variable mWake;
    std::deque<std::shared_ptr<SmtpConversation>> mQueue;
    std::vector<std::thread> mThreads;
    int mMax = 8;
    int mIdle = 0;
    bool mStopping = false;
};

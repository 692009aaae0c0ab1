#include "app/OwnedThread.h"

namespace {

class WorkThread final : public QThread
{
public:
    explicit WorkThread(std::function<void()> aWork) : mWork(std::move(aWork)) {}

protected:
    void run() override
    {
        if (mWork)
            mWork();
        else
            exec();
    }

private:
    std::function<void()> mWork;
};

} // namespace

void ThreadStopper::operator()(QThread* aThread) const
{
    aThread->requestInterruption();
    aThread->quit();
    aThread->wait();
    delete aThread;
}

OwnedThread makeThread(const QString& aName, std::function<void()> aWork)
{
    OwnedThread thread(new WorkThread(std::move(aWork)));
    thread->setObjectName(aName);
    return thread;
}

OwnedThread startEventLoopThread(const QString& aName)
{
    OwnedThread thread = makeThread(aName, nullptr);
    thread->start();
    return thread;
}

#include "sync/BlockingQuestion.h"

BlockingQuestion::BlockingQuestion() : mState(std::make_shared<State>()), mReceiver(new QObject) {}

BlockingQuestion::~BlockingQuestion()
{
    abandon();
    bool answering = false;
    {
        std::lock_guard lock(mState->mutex);
        answering = mState->answering > 0;
    }
    // Qt still uses the receiver when the question being answered returns: it then goes with the
    // event loop's next pass. Otherwise it goes now, and with it any question still queued.
    if (answering)
        mReceiver->deleteLater();
    else
        delete mReceiver;
}

void BlockingQuestion::abandon()
{
    std::lock_guard lock(mState->mutex);
    mState->abandoned = true;
    mState->condition.notify_all();
}

bool BlockingQuestion::waiting() const
{
    std::lock_guard lock(mState->mutex);
    return mState->pending && !mState->abandoned;
}

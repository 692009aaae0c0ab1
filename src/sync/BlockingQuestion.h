#pragma once

#include <QMetaObject>
#include <QObject>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// A question that one thread (a sync run) asks on the event loop of the thread that made this
// object (the front end's), and waits for. Unlike a blocking queued signal, the wait can be
// abandoned from any thread: abandon() wakes the asker at once and every later ask() returns no
// answer, so a run can be cancelled or destroyed while its question is still queued or on
// screen, without deadlock. The answer travels in a state shared by both sides, never through
// the asker's stack, so a question answered after it was abandoned writes nowhere; and the object
// may be destroyed from inside a question (a nested event loop of a dialog) on the front end's
// thread.
class BlockingQuestion
{
public:
    BlockingQuestion();
    // On the front end's thread. Abandons what is asked.
    ~BlockingQuestion();
    BlockingQuestion(const BlockingQuestion&) = delete;
    BlockingQuestion& operator=(const BlockingQuestion&) = delete;

    // On the asking thread: runs aQuestion on the front end's thread and waits for its result.
    // No answer when the question was abandoned first.
    template <typename Answer> std::optional<Answer> ask(std::function<Answer()> aQuestion)
    {
        auto answer = std::make_shared<std::optional<Answer>>();
        std::shared_ptr<State> state = mState;
        {
            std::lock_guard lock(state->mutex);
            if (state->abandoned)
                return std::nullopt;
            state->pending = true;
        }
        QMetaObject::invokeMethod(
            mReceiver,
            [state, answer, question = std::move(aQuestion)] {
                {
                    std::lock_guard lock(state->mutex);
                    if (state->abandoned)
                        return;
                    ++state->answering;
                }
                Answer given = question();
                std::lock_guard lock(state->mutex);
                --state->answering;
                if (!state->abandoned)
                    *answer = std::move(given);
                state->pending = false;
                state->condition.notify_all();
            },
            Qt::QueuedConnection);
        std::unique_lock lock(state->mutex);
        state->condition.wait(lock, [&] { return !state->pending || state->abandoned; });
        state->pending = false;
        if (state->abandoned)
            return std::nullopt;
        return *answer;
    }

    // Any thread: the waiting ask (if any) returns at once without answer, and so do later ones.
    void abandon();
    // A question is asked and neither answered nor abandoned yet.
    bool waiting() const;

private:
    struct State
    {
        // The standard ones, whose every lock and wait the thread checker sees.
        std::mutex mutex;
        std::condition_variable condition;
        bool pending = false;
        bool abandoned = false;
        int answering = 0; // questions on screen (nested event loops may stack them)
    };
    std::shared_ptr<State> mState;
    QObject* mReceiver; // owned; see the destructor
};

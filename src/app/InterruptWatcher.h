#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// Turns Ctrl-C and SIGTERM into a signal on the thread that made the watcher. The signal
// handler only writes a byte to a pipe (all a handler may safely do); the event loop reads it.
// The first signal is delivered as interrupted(); after it both signals are back to their
// default action, so a second one ends the process at once. One watcher at a time.
class InterruptWatcher : public QObject
{
    Q_OBJECT

public:
    explicit InterruptWatcher(QObject* aParent = nullptr);
    ~InterruptWatcher() override;

signals:
    void interrupted();

private:
    void readPipe();

    int mPipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> mNotifier;
};

#pragma once

#include <QThread>

class MusicSync;

// Runs one MusicSync on its own thread, inside the fault guard: a processor fault or an exception
// that leaves the run ends it in state 3 instead of ending the program.
class MusicSyncThread : public QThread
{
    Q_OBJECT

public:
    explicit MusicSyncThread(MusicSync* aSync) : mSync(aSync) {}

protected:
    void run() override;

private:
    MusicSync* mSync;
};

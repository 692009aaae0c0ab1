#pragma once

#include <QString>

// A working folder of one run in the KORDA folder ("run-<process id>-<random>"): what a run
// unpacks from a backup and the videos it converts live there, so two runs at once (two devices,
// or the window and veltrane-sync) never share a file. Removed with the object; folders left by
// runs whose process has died are removed when the next one is made.
class RunFolder
{
public:
    RunFolder();
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    bool isValid() const { return !mPath.isEmpty(); }
    QString path() const { return mPath; }
    QString filePath(const QString& aName) const { return mPath + QLatin1Char('/') + aName; }

    // Removes the run folders of processes that no longer run.
    static void removeAbandoned();

private:
    QString mPath;
};

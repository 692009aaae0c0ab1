#pragma once

#include <QString>

// Where the program keeps its files on the computer. The application data path is set once by the
// entry function (the home folder); until then, and in programs that never set it, it follows
// the home folder of the moment.
class ApplicationPaths
{
public:
    static QString applicationDataPath();
    static void setApplicationDataPath(const QString& aPath);

    // The working folder "KORDA" under the application data path: settings, caches, temp files.
    static QString kordaFolder();
};

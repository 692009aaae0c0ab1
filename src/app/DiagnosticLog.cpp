#include "app/DiagnosticLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QStandardPaths>
#include <QTime>

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

std::atomic<DiagnosticLog*> DiagnosticLog::sActive{nullptr};

namespace {
const char kLineEnd[] = "\r\n";
const char kLogFileName[] = "log.txt";
const char kZipFileName[] = "compressed_log.zip";
} // namespace

DiagnosticLog::DiagnosticLog(const QString& aFolder) : mFolder(aFolder)
{
    if (aFolder.isEmpty() || !QFileInfo(aFolder).isDir())
        return;
    mFile = std::make_unique<QFile>(aFolder + QDir::separator() + kLogFileName);
    // Write-only truncates: each run starts a new log.
    if (!mFile->open(QIODevice::WriteOnly))
        mFile.reset();
}

DiagnosticLog::~DiagnosticLog()
{
    if (sActive.load() == this)
        sActive.store(nullptr, std::memory_order_release);
    if (mFile) {
        mFile->close();
        mFile.reset();
    }
}

QString DiagnosticLog::defaultFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty())
        return {};
    return desktop + QDir::separator() + "VLT";
}

void DiagnosticLog::writePiece(const char* aPiece)
{
    mFile->write(aPiece);
    mFile->flush();
}

void DiagnosticLog::writeLine(const char* aFirst, const char* aSecond, const char* aThird,
                              const char* aFourth)
{
    if (!mFile)
        return;
    QMutexLocker lock(&mMutex);
    // The time is taken inside the lock so that time stamps never go backwards in the file.
    writePiece(QTime::currentTime().toString(QStringLiteral("hh:mm:ss:zzz")).toLatin1().constData());
    for (const char* piece : {aFirst, aSecond, aThird, aFourth}) {
        if (piece)
            writePiece(piece);
    }
    writePiece(kLineEnd);
}

void DiagnosticLog::writeEnter(const char* aName)
{
    writeLine(">> ", aName);
}

void DiagnosticLog::writeLeave(const char* aName)
{
    writeLine("<< ", aName);
}

void DiagnosticLog::writeReturn(int aValue)
{
    writeLine("Returns: ", QByteArray::number(aValue).constData());
}

void DiagnosticLog::writeMessage(const char* aText)
{
    writeLine("    ", aText);
}

void DiagnosticLog::writeValue(const char* aName, const char* aValue)
{
    writeLine("    ", aName, " = ", aValue);
}

void DiagnosticLog::writeValue(const char* aName, int aValue)
{
    writeValue(aName, QByteArray::number(aValue).constData());
}

void DiagnosticLog::writeValue(const char* aName, const QString& aValue)
{
    writeValue(aName, aValue.toUtf8().constData());
}

void DiagnosticLog::writeValue(const char* aName, const std::wstring& aValue)
{
    writeValue(aName, QString::fromStdWString(aValue));
}

void DiagnosticLog::copyToFolder(const QString& aSourcePath, const QString& aFileName) const
{
    if (!mFile)
        return;
    // The name is a plain file name chosen by the caller; never let it leave the folder.
    const QString name = QFileInfo(aFileName).fileName();
    if (name.isEmpty())
        return;
    const QString target = mFolder + QDir::separator() + name;
    QFile::remove(target);
    QFile::copy(aSourcePath, target);
}

void DiagnosticLog::compressLog(const QString& aFolder)
{
    const QString zipPath = aFolder + QDir::separator() + kZipFileName;
    const QString logPath = aFolder + QDir::separator() + kLogFileName;
    if (!QFileInfo::exists(logPath))
        return;
    // This runs after the application object is gone, so the child is started without Qt's
    // process machinery: posix_spawn from the search path, output discarded, waited for.
    const QByteArray zip = QFile::encodeName(zipPath);
    const QByteArray log = QFile::encodeName(logPath);
    char program[] = "7z";
    char add[] = "a";
    char yes[] = "-y";
    char type[] = "-tzip";
    char* argv[] = {
        program, add, yes, type, const_cast<char*>(zip.constData()), const_cast<char*>(log.constData()),
        nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

// The single log of the process, opened during static initialisation (before the entry
// function runs) and closed and zipped when the process ends.
class DiagnosticLogInstance
{
public:
    DiagnosticLogInstance() : mLog(std::make_unique<DiagnosticLog>(DiagnosticLog::defaultFolder()))
    {
        if (mLog->isOn())
            DiagnosticLog::sActive.store(mLog.get(), std::memory_order_release);
    }
    ~DiagnosticLogInstance()
    {
        const bool wasOn = mLog->isOn();
        const QString folder = mLog->folder();
        mLog.reset();
        if (wasOn)
            DiagnosticLog::compressLog(folder);
    }

private:
    std::unique_ptr<DiagnosticLog> mLog;
};

namespace {
DiagnosticLogInstance sProcessLog;
}

void copyToLogFolder(const QString& aSourcePath, const QString& aFileName)
{
    if (DiagnosticLog* log = DiagnosticLog::active())
        log->copyToFolder(aSourcePath, aFileName);
}

#include "sync/RunFolder.h"
#include "app/ApplicationPaths.h"
#include "app/DiagnosticLog.h"

#include <QDir>
#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

const QString kPrefix = QStringLiteral("run-");

bool processRuns(qint64 aPid)
{
    return aPid > 0 && (::kill(static_cast<pid_t>(aPid), 0) == 0 || errno == EPERM);
}

} // namespace

RunFolder::RunFolder()
{
    removeAbandoned();
    QDir korda(ApplicationPaths::kordaFolder());
    korda.mkpath(QStringLiteral("."));
    for (int attempt = 0; attempt < 100 && mPath.isEmpty(); ++attempt) {
        const QString name = kPrefix + QString::number(::getpid()) + QLatin1Char('-') +
                             QString::number(QRandomGenerator::global()->generate(), 36);
        // mkdir fails when the name exists: the folder is this run's own.
        if (korda.mkdir(name))
            mPath = korda.filePath(name);
    }
    if (mPath.isEmpty())
        logValue("! Could not make a run folder in", korda.path());
}

RunFolder::~RunFolder()
{
    if (!mPath.isEmpty())
        QDir(mPath).removeRecursively();
}

void RunFolder::removeAbandoned()
{
    QDir korda(ApplicationPaths::kordaFolder());
    const QStringList folders = korda.entryList({kPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoSymLinks);
    for (const QString& folder : folders) {
        bool isNumber = false;
        const qint64 pid = folder.section(QLatin1Char('-'), 1, 1).toLongLong(&isNumber);
        if (isNumber && !processRuns(pid))
            QDir(korda.filePath(folder)).removeRecursively();
    }
}

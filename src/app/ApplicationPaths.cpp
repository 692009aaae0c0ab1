#include "app/ApplicationPaths.h"

#include <QDir>
#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex sMutex;
QString sApplicationDataPath;
} // namespace

QString ApplicationPaths::applicationDataPath()
{
    QMutexLocker lock(&sMutex);
    return sApplicationDataPath.isEmpty() ? QDir::homePath() : sApplicationDataPath;
}

void ApplicationPaths::setApplicationDataPath(const QString& aPath)
{
    QMutexLocker lock(&sMutex);
    sApplicationDataPath = aPath;
}

QString ApplicationPaths::kordaFolder()
{
    return applicationDataPath() + QDir::separator() + QStringLiteral("KORDA");
}

#include "library/itunes/xml/LibraryFileWatcher.h"

#include <QDateTime>
#include <QFileInfo>

LibraryFileWatcher::LibraryFileWatcher(const QString& aXmlPath, std::function<void()> aHandler)
    : mXmlPath(aXmlPath), mLastState(stateOfFile()), mHandler(std::move(aHandler))
{
    const QFileInfo file(aXmlPath);
    mWatcher.addPath(file.absolutePath());
    if (file.exists())
        mWatcher.addPath(file.absoluteFilePath());
    connect(&mWatcher, &QFileSystemWatcher::fileChanged, this, &LibraryFileWatcher::onChange);
    connect(&mWatcher, &QFileSystemWatcher::directoryChanged, this, &LibraryFileWatcher::onChange);
}

QString LibraryFileWatcher::stateOfFile() const
{
    const QFileInfo file(mXmlPath);
    if (!file.exists())
        return QString();
    return QString::number(file.size()) + QLatin1Char('@') +
           QString::number(file.lastModified().toMSecsSinceEpoch()) + QLatin1Char('#') +
           QString::number(file.metadataChangeTime().toMSecsSinceEpoch());
}

void LibraryFileWatcher::onChange()
{
    const QFileInfo file(mXmlPath);
    if (file.exists() && !mWatcher.files().contains(file.absoluteFilePath()))
        mWatcher.addPath(file.absoluteFilePath());
    const QString state = stateOfFile();
    if (state == mLastState)
        return;
    mLastState = state;
    if (mHandler)
        mHandler();
}

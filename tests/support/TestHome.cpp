#include "support/TestHome.h"

#include "app/ApplicationPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestHome::TestHome()
    : mOldHome(qgetenv("HOME")), mOldConfig(qgetenv("XDG_CONFIG_HOME")), mOldData(qgetenv("XDG_DATA_HOME"))
{
    qputenv("HOME", QFile::encodeName(mDir.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(mDir.path() + "/.config"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(mDir.path() + "/.local/share"));
    ApplicationPaths::setApplicationDataPath(QString());
}

TestHome::~TestHome()
{
    qputenv("HOME", mOldHome);
    qputenv("XDG_CONFIG_HOME", mOldConfig);
    qputenv("XDG_DATA_HOME", mOldData);
}

QString TestHome::korda() const
{
    return mDir.path() + "/KORDA";
}

QString TestHome::writeFile(const QString& aRelativePath, const QByteArray& aContent) const
{
    const QString path = mDir.path() + '/' + aRelativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(aContent);
    return path;
}

Track TestHome::libraryTrack(const QString& aFile, const QString& aArtist, const QString& aAlbum,
                             const QByteArray& aContent, const QString& aTitle) const
{
    Track track(aTitle, aAlbum, aArtist, 4, writeFile("library/" + aFile, aContent), true, false, false);
    track.setLocalSize(aContent.size());
    return track;
}

QByteArray readWholeFile(const QString& aPath)
{
    QFile file(aPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

#include "tracks/SourceFile.h"

#include <QFile>

#include <sys/stat.h>

bool SourceFile::isForeign(const QString& aPath)
{
    if (aPath.size() >= 3 && aPath.at(0).isLetter() && aPath.at(0).unicode() < 0x80 &&
        aPath.at(1) == QLatin1Char(':') &&
        (aPath.at(2) == QLatin1Char('/') || aPath.at(2) == QLatin1Char('\\')))
        return true;
    return aPath.startsWith(QLatin1String("//")) || aPath.startsWith(QLatin1String("\\\\"));
}

QString SourceFile::foreignPrefix(const QString& aPath)
{
    if (!isForeign(aPath))
        return QString();
    QString path = aPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.at(1) == QLatin1Char(':'))
        return path.left(3);
    // //host/share/: the host and the share.
    const qsizetype hostEnd = path.indexOf(QLatin1Char('/'), 2);
    const qsizetype shareEnd = hostEnd < 0 ? -1 : path.indexOf(QLatin1Char('/'), hostEnd + 1);
    return shareEnd < 0 ? path : path.left(shareEnd + 1);
}

SourceFile::Status SourceFile::check(const QString& aPath, qint64* aSize)
{
    if (isForeign(aPath))
        return Foreign;
    if (!aPath.startsWith(QLatin1Char('/')))
        return Missing;
    struct stat info;
    if (::stat(QFile::encodeName(aPath).constData(), &info) != 0)
        return Missing;
    if (!S_ISREG(info.st_mode))
        return NotRegular;
    if (aSize)
        *aSize = info.st_size;
    return Present;
}

QString SourceFile::problem(const QString& aPath)
{
    switch (check(aPath)) {
    case Present:
        return QString();
    case Missing:
        return aPath.isEmpty() ? QStringLiteral("the track has no file on this computer")
                               : QStringLiteral("its file is missing: ") + aPath;
    case Foreign:
        return QStringLiteral("its file is on another computer's drive: %1 (map %2 to a folder here with "
                              "veltrane-sync configure --map-path \"%2=FOLDER\")")
            .arg(aPath, foreignPrefix(aPath));
    case NotRegular:
        return QStringLiteral("its file is not a regular file: ") + aPath;
    }
    return QString();
}

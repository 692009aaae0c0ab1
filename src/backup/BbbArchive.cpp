#include "backup/BbbArchive.h"
#include "app/DiagnosticLog.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace {

bool run7z(const QStringList& aArguments, QByteArray& aOutput)
{
    QProcess sevenZip;
    sevenZip.setProcessChannelMode(QProcess::MergedChannels);
    sevenZip.start(QStringLiteral("7z"), aArguments);
    if (!sevenZip.waitForStarted(-1))
        return false;
    sevenZip.closeWriteChannel(); // a question would wait for an answer that never comes
    sevenZip.waitForFinished(-1);
    aOutput = sevenZip.readAll();
    return sevenZip.exitStatus() == QProcess::NormalExit && sevenZip.exitCode() == 0;
}

bool isSafeEntry(const QString& aPath)
{
    if (aPath.isEmpty() || aPath.startsWith(QLatin1Char('/')) || aPath.startsWith(QLatin1Char('\\')) ||
        (aPath.size() > 1 && aPath.at(1) == QLatin1Char(':')))
        return false;
    const QStringList parts = aPath.split(QRegularExpression(QStringLiteral("[/\\\\]")), Qt::SkipEmptyParts);
    return !parts.contains(QStringLiteral(".."));
}

} // namespace

bool BbbArchive::checkListing(const QString& aListing, QString& aError)
{
    // The listing's header describes the archive itself; its entries follow the dashed line.
    const qsizetype entries = aListing.indexOf(QStringLiteral("\n----------"));
    if (entries < 0) {
        aError = QStringLiteral("the archive lists no entries");
        return false;
    }
    const QStringList lines = aListing.mid(entries).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("Path = ")) && !isSafeEntry(line.mid(7))) {
            aError = QStringLiteral("the archive names a path outside its folder: ") + line.mid(7);
            return false;
        }
        // Unix modes show as "Attributes = A_ lrwxrwxrwx" (with other letters before it).
        if (line.startsWith(QLatin1String("Attributes = ")) && line.contains(QLatin1String(" l")) &&
            line.contains(QRegularExpression(QStringLiteral(" l[r-][w-][x-]")))) {
            aError = QStringLiteral("the archive holds a link");
            return false;
        }
        if (line.startsWith(QLatin1String("Symbolic Link = ")) && line.size() > 16) {
            aError = QStringLiteral("the archive holds a link");
            return false;
        }
    }
    return true;
}

bool BbbArchive::unpack(const QString& aArchive, const QString& aFolder, QString& aError)
{
    QByteArray listing;
    if (!run7z({QStringLiteral("l"), QStringLiteral("-slt"), QStringLiteral("--"), aArchive}, listing)) {
        aError =
            QStringLiteral("7z could not list the archive: ") + QString::fromLocal8Bit(listing.right(500));
        return false;
    }
    if (!checkListing(QString::fromUtf8(listing), aError))
        return false;
    QDir().mkpath(aFolder);
    QByteArray output;
    const bool unpacked = run7z({QStringLiteral("x"), QStringLiteral("-y"), QStringLiteral("-o") + aFolder,
                                 QStringLiteral("--"), aArchive},
                                output);
    // Whatever the listing said, no link stays where the reader looks.
    QDirIterator it(aFolder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    bool linked = false;
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        if (entry.isSymLink()) {
            linked = true;
            QFile::remove(entry.filePath());
        }
    }
    if (!unpacked || linked) {
        aError = linked ? QStringLiteral("the archive held a link")
                        : QStringLiteral("7z could not unpack the archive");
        return false;
    }
    return true;
}

#include "backup/BbbArchive.h"
#include "app/DiagnosticLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStorageInfo>

namespace {

const QString kSevenZip = QStringLiteral("7z");

// Runs 7z to its end; false when it could not start (aStarted false) or did not end well.
bool run7z(const QStringList& aArguments, QByteArray& aOutput, bool& aStarted)
{
    QProcess sevenZip;
    sevenZip.setProcessChannelMode(QProcess::MergedChannels);
    sevenZip.start(kSevenZip, aArguments);
    aStarted = sevenZip.waitForStarted(-1);
    if (!aStarted)
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
    return !parts.contains(QStringLiteral("..")) && !aPath.contains(QLatin1Char('\n'));
}

// The files of a "7z l -slt" listing (folders left out), with the sizes they declare.
QList<QPair<QString, qint64>> filesOf(const QString& aListing)
{
    QList<QPair<QString, qint64>> files;
    const qsizetype start = aListing.indexOf(QStringLiteral("\n----------"));
    if (start < 0)
        return files;
    for (const QString& block : aListing.mid(start).split(QStringLiteral("\n\n"))) {
        QString path;
        qint64 size = 0;
        bool folder = false;
        for (const QString& raw : block.split(QLatin1Char('\n'))) {
            const QString line = raw.trimmed();
            if (line.startsWith(QLatin1String("Path = ")))
                path = line.mid(7);
            else if (line.startsWith(QLatin1String("Size = ")))
                size = line.mid(7).toLongLong();
            else if (line == QLatin1String("Folder = +") ||
                     (line.startsWith(QLatin1String("Attributes = ")) &&
                      line.mid(13).startsWith(QLatin1Char('D'))))
                folder = true;
        }
        if (!path.isEmpty() && !folder)
            files.append({path, size});
    }
    return files;
}

// Writes entry aPath of the archive to aTarget through 7z's standard output, at most aLimit
// bytes; false, with aError, when it can't or the entry holds more than that.
bool extractEntry(const QString& aArchive, const QString& aPath, const QString& aTarget, qint64 aLimit,
                  qint64& aWritten, QString& aError)
{
    QDir().mkpath(QFileInfo(aTarget).path());
    QFile out(aTarget);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        aError = QStringLiteral("%1 can't be written").arg(aTarget);
        return false;
    }
    QProcess sevenZip;
    sevenZip.setStandardErrorFile(QProcess::nullDevice());
    sevenZip.start(kSevenZip,
                   {QStringLiteral("x"), QStringLiteral("-so"), QStringLiteral("--"), aArchive, aPath});
    sevenZip.closeWriteChannel();
    bool ok = sevenZip.waitForStarted(-1);
    while (ok && (sevenZip.state() != QProcess::NotRunning || sevenZip.bytesAvailable() > 0)) {
        if (sevenZip.bytesAvailable() == 0 && !sevenZip.waitForReadyRead(1000))
            continue;
        const QByteArray chunk = sevenZip.read(1 << 20);
        aWritten += chunk.size();
        if (aWritten > aLimit) {
            aError = QStringLiteral("it unpacks to more than it declares");
            sevenZip.kill();
            ok = false;
            break;
        }
        ok = out.write(chunk) == chunk.size();
    }
    sevenZip.waitForFinished(-1);
    ok = ok && sevenZip.exitStatus() == QProcess::NormalExit && sevenZip.exitCode() == 0;
    if (!ok && aError.isEmpty())
        aError = QStringLiteral("7z could not unpack %1 (is the archive damaged?)").arg(aPath);
    out.close();
    if (!ok)
        out.remove();
    return ok;
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
    bool started = false;
    if (!run7z({QStringLiteral("l"), QStringLiteral("-slt"), QStringLiteral("--"), aArchive}, listing,
               started)) {
        aError = started ? QStringLiteral("7z could not read the archive (is it damaged, or no archive?)")
                         : QStringLiteral("7z is not installed (install it: sudo apt install p7zip-full)");
        return false;
    }
    if (!checkListing(QString::fromUtf8(listing), aError))
        return false;
    const QList<QPair<QString, qint64>> files = filesOf(QString::fromUtf8(listing));
    qint64 declared = 0;
    for (const auto& file : files)
        declared += file.second;
    if (declared > kMaxUnpackedBytes) {
        aError = QStringLiteral("it would unpack to %1 MB, more than a phone's backup holds (%2 MB at most)")
                     .arg(declared / (1024 * 1024))
                     .arg(kMaxUnpackedBytes / (1024 * 1024));
        return false;
    }
    QDir().mkpath(aFolder);
    const qint64 free = QStorageInfo(aFolder).bytesAvailable();
    if (free >= 0 && declared > free) {
        aError = QStringLiteral("it would unpack to %1 MB, and %2 has %3 MB free")
                     .arg(declared / (1024 * 1024))
                     .arg(QDir::toNativeSeparators(aFolder))
                     .arg(free / (1024 * 1024));
        return false;
    }
    // Each file is written here, by this program, no further than the archive declared: no link
    // can be made, and no archive can fill the disk by lying about its sizes.
    qint64 written = 0;
    for (const auto& [path, size] : files) {
        QString target = path;
        target.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!extractEntry(aArchive, path, aFolder + QLatin1Char('/') + target, declared, written, aError))
            return false;
    }
    return true;
}

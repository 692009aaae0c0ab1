#include "ui/LibraryChooser.h"

#include "app/LogScope.h"
#include "settings/SyncSettings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMetaObject>

LibraryChooser::LibraryChooser(std::shared_ptr<itunes::Backend> aBackend, QObject* aParent)
    : QObject(aParent), mBackend(std::move(aBackend))
{
}

LibraryChooser::~LibraryChooser() = default;

QString LibraryChooser::configuredFile()
{
    SyncSettings settings;
    settings.load();
    return settings.getGlobalStringValue(SyncSettings::kITunesLibraryPath);
}

QString LibraryChooser::refusal(const QString& aPath, const QString& aReason)
{
    const QString current = configuredFile();
    return tr("%1 is not an iTunes library: %2.").arg(QDir::toNativeSeparators(aPath), aReason) +
           QLatin1Char(' ') +
           (current.isEmpty() ? tr("No library file is chosen yet.")
                              : tr("The library file stays %1.").arg(QDir::toNativeSeparators(current)));
}

QString LibraryChooser::startFolder()
{
    // The folder of the file chosen before; else iTunes' folder here, a mounted disk (another
    // computer's, a NAS share), and the home folder last.
    const QString configured = configuredFile();
    if (!configured.isEmpty() && QFileInfo(configured).dir().exists())
        return QFileInfo(configured).absolutePath();
    const QString home = QDir::homePath();
    const QString user = QString::fromLocal8Bit(qgetenv("USER"));
    for (const QString& folder : {home + QStringLiteral("/Music/iTunes"), QStringLiteral("/media/") + user,
                                  QStringLiteral("/run/media/") + user, QStringLiteral("/mnt")}) {
        const QDir dir(folder);
        if (dir.exists() && !dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot))
            return folder;
    }
    return home;
}

void LibraryChooser::choose(QWidget* aParent)
{
    const QString path =
        QFileDialog::getOpenFileName(aParent, tr("Choose the iTunes library file"), startFolder(),
                                     tr("iTunes library (*.xml);;All files (*)"));
    if (!path.isEmpty())
        chooseFile(path);
}

void LibraryChooser::chooseFile(const QString& aPath)
{
    read(aPath, true);
}

void LibraryChooser::inspectCurrent()
{
    read(QString(), false);
}

bool LibraryChooser::isReading() const
{
    return mThread && mThread->isRunning();
}

void LibraryChooser::read(const QString& aPath, bool aChoosing)
{
    mThread.reset(); // a reading still going on is stopped (its answer is dropped)
    mThread = makeThread(QStringLiteral("LibraryChooser"), [this, aPath, aChoosing] {
        itunes::LibrarySummary summary;
        QString reason;
        const bool ok = mBackend->inspect(aPath, summary, reason);
        if (stopRequested())
            return;
        QMetaObject::invokeMethod(
            this, [this, ok, summary, reason, aChoosing] { finished(ok, summary, reason, aChoosing); });
    });
    mThread->start();
}

void LibraryChooser::finished(bool aOk, const itunes::LibrarySummary& aSummary, const QString& aReason,
                              bool aChoosing)
{
    LogScope log("LibraryChooser::finished");
    if (!aChoosing) {
        emit inspected(aOk, aSummary, aReason);
        return;
    }
    if (!aOk) {
        logValue("! Not an iTunes library", aSummary.path);
        emit refused(aSummary.path, aReason);
        return;
    }
    SyncSettings settings;
    settings.load();
    settings.setGlobalStringValue(SyncSettings::kITunesLibraryPath,
                                  QFileInfo(aSummary.path).absoluteFilePath());
    if (settings.save() != SyncSettings::kResultOk) {
        emit refused(aSummary.path, tr("the settings file %1 can't be written")
                                        .arg(QDir::toNativeSeparators(SyncSettings::filePath())));
        return;
    }
    logValue("Library chosen", aSummary.path);
    emit chosen(aSummary);
}

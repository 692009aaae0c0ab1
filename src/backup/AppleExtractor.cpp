#include "backup/AppleExtractor.h"
#include "app/LogScope.h"
#include "backup/BackupXmlWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

AppleExtractor::AppleExtractor(const QString& aExtractorProgram)
    : mExtractorProgram(aExtractorProgram.isEmpty() ? defaultExtractorProgram() : aExtractorProgram)
{
}

namespace {

QString& extractorProgramOverride()
{
    static QString program;
    return program;
}

} // namespace

QString AppleExtractor::defaultExtractorProgram()
{
    if (!extractorProgramOverride().isEmpty())
        return extractorProgramOverride();
    return QCoreApplication::applicationDirPath() + QStringLiteral("/veltrane-extract");
}

void AppleExtractor::setDefaultExtractorProgram(const QString& aProgram)
{
    extractorProgramOverride() = aProgram;
}

int AppleExtractor::extractFromManifest(const QString& aBackupPath, const QString& aExtractDir,
                                        bool aCameraRoll)
{
    LogScope log("AppleExtractor::extractFromManifest");
    QDir(aExtractDir).removeRecursively();
    QDir().mkpath(aExtractDir);
    mUnrestored.clear();

    QProcess extractor;
    extractor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{aBackupPath, aExtractDir};
    if (!aCameraRoll)
        arguments.prepend(QStringLiteral("--no-camera-roll"));
    extractor.start(mExtractorProgram, arguments);
    if (!extractor.waitForStarted(-1))
        logValue("Unable to start the extractor", mExtractorProgram);
    else
        extractor.waitForFinished(-1);

    // What could not be restored: its place, a tab and the reason, a line each.
    QFile unrestored(QDir(aExtractDir).filePath(QStringLiteral("backup_unrestored_list")));
    if (unrestored.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : unrestored.read(4 * 1024 * 1024).split('\n')) {
            const qsizetype tab = line.indexOf('\t');
            if (tab > 0)
                mUnrestored.insert(QString::fromUtf8(line.left(tab)), QString::fromUtf8(line.mid(tab + 1)));
        }
        logValue("Not restored", static_cast<int>(mUnrestored.size()));
    }

    QString backup = aBackupPath;
    if (!backup.endsWith(QLatin1Char('/')))
        backup += QLatin1Char('/');
    for (const char* name : {"Info.plist", "Manifest.mbdb", "Manifest.plist"})
        copyToLogFolder(backup + QLatin1String(name), QLatin1String(name));
    if (logIsOn()) {
        QDirIterator files(aExtractDir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext())
            logValue("Extracted", files.next());
    }

    int result = 0;
    QString listPath = QDir(aExtractDir).filePath(QStringLiteral("backup_file_list"));
    if (!QFileInfo::exists(listPath)) {
        logValue("backup file list not created", listPath);
        logMessage("Is the backup encrypted?");
        result = kBackupListMissing;
    }
    if (DiagnosticLog* diagnostics = DiagnosticLog::active()) {
        const QString replacement = diagnostics->folder() + QStringLiteral("/test/backupfiles");
        if (QFileInfo::exists(replacement))
            listPath = replacement;
    }
    copyToLogFolder(listPath, QStringLiteral("backupfiles"));
    readFileList(listPath, aExtractDir);

    copyToLogFolder(mAddressBookImagesDatabase, QStringLiteral("addressbookimages.db"));
    if (DiagnosticLog* diagnostics = DiagnosticLog::active()) {
        const QString sms = diagnostics->folder() + QStringLiteral("/test/sms.db");
        if (!mSmsDatabases.isEmpty() && QFileInfo::exists(sms))
            mSmsDatabases.first() = sms;
        const QString addressBook = diagnostics->folder() + QStringLiteral("/test/addressbook.db");
        if (!mAddressBookDatabases.isEmpty() && QFileInfo::exists(addressBook))
            mAddressBookDatabases.first() = addressBook;
    }
    return log.ret(result);
}

int AppleExtractor::exportDatabases(const QStringList& aDatabases, const ExportFrame& aFrame,
                                    const QString& aXmlPath,
                                    const std::function<bool(BackupDatabase&, BackupXmlWriter&)>& aWrite)
{
    mExportError.clear();
    if (aDatabases.isEmpty())
        return kNothingToExport;
    bool written = false;
    {
        BackupXmlWriter xml(aXmlPath);
        if (!xml.isOpen()) {
            logValue(aFrame.unableToOpen, aXmlPath);
            mExportError = QStringLiteral("%1 can't be written").arg(aXmlPath);
            return kFileUnwritable;
        }
        xml.startDocument(QLatin1String(aFrame.root));
        for (int index = 0; index < aDatabases.size() && mExportError.isEmpty(); ++index) {
            copyToLogFolder(aDatabases.at(index),
                            QLatin1String(aFrame.copyName) + QString::number(index) + QStringLiteral(".db"));
            BackupDatabase db(aDatabases.at(index), aFrame.connection);
            if (!db.isOpen() || !db.isValid()) {
                logMessage(db.isOpen() ? "Database is invalid" : "Could not open database");
                logValue("Error", db.errorText());
                mExportError = QStringLiteral("its database can't be read (%1)").arg(db.errorText());
                break;
            }
            logMessage("Database is valid");
            if (!aWrite(db, xml) && mExportError.isEmpty())
                mExportError = QStringLiteral("its database can't be read");
        }
        written = xml.endDocument();
    }
    // A file with part of the data, or none, is no export: nothing is left to be carried.
    if (!mExportError.isEmpty() || !written) {
        QFile::remove(aXmlPath);
        if (mExportError.isEmpty())
            mExportError = QStringLiteral("%1 could not be written whole").arg(aXmlPath);
        return written ? kDatabaseFailed : kFileUnwritable;
    }
    return 0;
}

bool AppleExtractor::queryDone(const QSqlQuery& aQuery, bool aRan)
{
    // A query this schema can't answer, or rows that ended in an error ("database disk image is
    // malformed" shows while they are read).
    if (aRan && !aQuery.lastError().isValid())
        return true;
    logValue("Selection error", aQuery.lastError().text());
    if (mExportError.isEmpty())
        mExportError = QStringLiteral("its database can't be read (%1)").arg(aQuery.lastError().text());
    return false;
}

void AppleExtractor::readFileList(const QString& aListPath, const QString& aExtractDir)
{
    QFile list(aListPath);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    // No extraction folder, no root: nothing is read (the root of a missing folder would be "/").
    const QString canonicalRoot = QFileInfo(aExtractDir).canonicalFilePath();
    if (canonicalRoot.isEmpty() || canonicalRoot == QLatin1String("/")) {
        logValue("! No extraction folder", aExtractDir);
        return;
    }
    const QString extractRoot = canonicalRoot + QLatin1Char('/');
    QTextStream stream(&list);
    while (!stream.atEnd()) {
        const QString restored = stream.readLine();
        const QString place = stream.readLine();
        // Only files the extraction restored are read: a listed path that leads elsewhere
        // (through "..", or a link) is not.
        const QString canonical = QFileInfo(restored).canonicalFilePath();
        if (canonical.isEmpty() || !canonical.startsWith(extractRoot)) {
            logValue("Ignoring a listed file outside the extraction", restored);
            continue;
        }
        addListEntry(restored, place);
    }
}

void AppleExtractor::addListEntry(const QString& aRestored, const QString& aPlace)
{
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    const QStringList parts = aPlace.split(separators, Qt::SkipEmptyParts);
    if (parts.size() > 2 &&
        (parts.at(0) == QLatin1String("CameraRollDomainMedia") || parts.at(0) == QLatin1String("Media")) &&
        parts.at(1) == QLatin1String("DCIM")) {
        QString destination;
        bool hidden = false;
        for (int i = 2; i < parts.size(); ++i) {
            hidden = hidden || parts.at(i).startsWith(QLatin1Char('.'));
            destination += QLatin1Char('/') + parts.at(i);
        }
        if (!hidden) {
            logValue("Adding photo sourceFileName", aRestored);
            logValue("Adding photo destPhotoPath", destination);
            mPhotos.append({aRestored, destination});
        }
    }
    // The notes of iOS 9 and later, in the notes application's group container.
    if (parts.size() == 1 &&
        parts.at(0) == QLatin1String("AppDomainGroup-group.com.apple.notesNoteStore.sqlite")) {
        mNotesDatabases.append(aRestored);
        return;
    }
    if (parts.size() < 3)
        return;
    const QString& first = parts.at(0);
    const QString& second = parts.at(1);
    const QString& third = parts.at(2);
    const bool home = first == QLatin1String("HomeDomainLibrary") || first == QLatin1String("Library");
    const bool library = first == QLatin1String("Library");
    if (home && second == QLatin1String("AddressBook") && third == QLatin1String("AddressBook.sqlitedb"))
        mAddressBookDatabases.append(aRestored);
    else if (home && second == QLatin1String("AddressBook") &&
             third == QLatin1String("AddressBookImages.sqlitedb"))
        mAddressBookImagesDatabase = aRestored;
    else if (home && second == QLatin1String("SMS") && third == QLatin1String("sms.db"))
        mSmsDatabases.append(aRestored);
    else if (home && second == QLatin1String("Calendar") && third == QLatin1String("Calendar.sqlitedb"))
        mCalendarDatabases.append(aRestored);
    else if (library && second == QLatin1String("Notes") &&
             (third == QLatin1String("notes.sqlite") || third == QLatin1String("notes.db")))
        mNotesDatabases.append(aRestored);
    else if (library && second == QLatin1String("SMS") && third == QLatin1String("Parts"))
        mSmsAttachments.insert(parts.last(), aRestored);
    else if (library && second == QLatin1String("SMS") && third == QLatin1String("Attachments"))
        mSmsAttachments.insert(aPlace, aRestored);
}

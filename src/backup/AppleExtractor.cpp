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

int AppleExtractor::extractFromManifest(const QString& aBackupPath, const QString& aExtractDir)
{
    LogScope log("AppleExtractor::extractFromManifest");
    QDir(aExtractDir).removeRecursively();
    QDir().mkpath(aExtractDir);

    QProcess extractor;
    extractor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    extractor.start(mExtractorProgram, {aBackupPath, aExtractDir});
    if (!extractor.waitForStarted(-1))
        logValue("Unable to start the extractor", mExtractorProgram);
    else
        extractor.waitForFinished(-1);

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
                                    const std::function<void(BackupDatabase&, BackupXmlWriter&)>& aWrite)
{
    BackupXmlWriter xml(aXmlPath);
    if (!xml.isOpen()) {
        logValue(aFrame.unableToOpen, aXmlPath);
        return -1;
    }
    xml.startDocument(QLatin1String(aFrame.root));
    for (int index = 0; index < aDatabases.size(); ++index) {
        copyToLogFolder(aDatabases.at(index),
                        QLatin1String(aFrame.copyName) + QString::number(index) + QStringLiteral(".db"));
        BackupDatabase db(aDatabases.at(index), aFrame.connection);
        if (!db.isOpen()) {
            logMessage("Could not open database");
            logValue("Error", db.errorText());
            continue;
        }
        logMessage("Database opened");
        if (!db.isValid()) {
            logMessage("Database is invalid");
            logValue("Error", db.errorText());
            continue;
        }
        logMessage("Database is valid");
        aWrite(db, xml);
    }
    return xml.endDocument() ? 0 : -1;
}

void AppleExtractor::readFileList(const QString& aListPath, const QString& aExtractDir)
{
    QFile list(aListPath);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QString extractRoot = QFileInfo(aExtractDir).canonicalFilePath() + QLatin1Char('/');
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

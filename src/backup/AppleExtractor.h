#pragma once

#include "backup/BackupDatabase.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class BackupXmlWriter;

// A camera-roll photo restored from a backup, and where it goes below DCIM on the phone.
struct PhotoToCopy
{
    QString mSourceName;   // the restored file
    QString destPhotoPath; // "/<folder>/<file>" below DCIM
};

// The data of one iPhone backup, for one run: extractFromManifest has the extractor program
// restore the databases and photos and sorts them into the lists below; the generators turn the
// databases into the XML files the phone application imports (contacts, messages, calendar,
// notes). Databases are only read: each is opened read-only. The generators of one process run
// one at a time (they share connection names).
class AppleExtractor
{
public:
    static constexpr int kBackupListMissing = -13000;
    // What a generator returns besides 0: the backup has none of that kind (no file written), the
    // XML file can't be written, or a database of it can't be read (damaged, not a database, a
    // query this schema can't answer; lastExportError says which, no file is left).
    static constexpr int kNothingToExport = 1;
    static constexpr int kFileUnwritable = -1;
    static constexpr int kDatabaseFailed = -2;

    // aExtractorProgram: the extractor to run; empty for the one installed beside this program.
    explicit AppleExtractor(const QString& aExtractorProgram = QString());

    // Empties aExtractDir, runs the extractor on aBackupPath (without the camera roll unless
    // aCameraRoll) and reads the lists it leaves. 0, or kBackupListMissing when there is no list
    // (an encrypted or unreadable backup).
    int extractFromManifest(const QString& aBackupPath, const QString& aExtractDir, bool aCameraRoll = true);

    // Sorts the line pairs of a backup_file_list into the lists below. Restored files outside
    // aExtractDir are ignored (nothing outside the extraction is ever read); without an
    // extraction folder nothing is read.
    void readFileList(const QString& aListPath, const QString& aExtractDir);
    // The needed files the extractor could not restore: their places with the reasons.
    const QHash<QString, QString>& unrestored() const { return mUnrestored; }
    // Why the last generator failed with kDatabaseFailed or kFileUnwritable.
    const QString& lastExportError() const { return mExportError; }

    int generateAddressBookXML(const QString& aExtractDir, const QString& aXmlPath);
    int generateMessagesXML(const QString& aExtractDir, const QString& aXmlPath);
    int generateCalendarXML(const QString& aExtractDir, const QString& aXmlPath);
    int generateNotesXML(const QString& aExtractDir, const QString& aXmlPath);

    // veltrane-extract beside this program, unless another was set for the process (tests and
    // benchmarks run from other folders).
    static QString defaultExtractorProgram();
    static void setDefaultExtractorProgram(const QString& aProgram);

    QStringList mSmsDatabases;
    QStringList mAddressBookDatabases;
    QStringList mNotesDatabases;
    QString mAddressBookImagesDatabase;
    QStringList mCalendarDatabases;
    QList<PhotoToCopy> mPhotos;
    QHash<QString, QString> mSmsAttachments;

private:
    // What differs between the exporters' common frame.
    struct ExportFrame
    {
        const char* root;         // the root element
        const char* unableToOpen; // logged when the XML file can't be made
        const char* copyName;     // the databases' copies for support: copyName + index + ".db"
        QString connection;       // the SQLite connection name
    };
    // The frame every exporter shares: the XML file with its root element, then each database of
    // aDatabases opened and handed to aWrite. kNothingToExport (no file) without databases; a
    // database that can't be opened or read fails the whole file (removed), with the reason.
    int exportDatabases(const QStringList& aDatabases, const ExportFrame& aFrame, const QString& aXmlPath,
                        const std::function<bool(BackupDatabase&, BackupXmlWriter&)>& aWrite);
    // Notes a query that failed (false), or one whose rows ended in an error; true otherwise.
    bool queryDone(const QSqlQuery& aQuery, bool aRan);
    void addListEntry(const QString& aRestored, const QString& aPlace);
    bool writeCalendar(BackupDatabase& aDb, BackupXmlWriter& aXml);
    bool writeMessages(BackupDatabase& aDb, BackupXmlWriter& aXml);
    void writeMessageAttachments(QSqlQuery& aParts, BackupDatabase::Row& aPart, BackupXmlWriter& aXml,
                                 bool aNewSchema, const QString& aRowId, QString& aText);
    bool writeNotes(BackupDatabase& aDb, BackupXmlWriter& aXml);
    bool writeNoteStore(BackupDatabase& aDb, BackupXmlWriter& aXml);
    bool writePersons(BackupDatabase& aDb, BackupDatabase* aImages, BackupXmlWriter& aXml);

    QString mExtractorProgram;
    QHash<QString, QString> mUnrestored;
    QString mExportError;
};

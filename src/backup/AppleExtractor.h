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

    // aExtractorProgram: the extractor to run; empty for the one installed beside this program.
    explicit AppleExtractor(const QString& aExtractorProgram = QString());

    // Empties aExtractDir, runs the extractor on aBackupPath and reads the list it leaves.
    // 0, or kBackupListMissing when there is no list (an encrypted or unreadable backup).
    int extractFromManifest(const QString& aBackupPath, const QString& aExtractDir);

    // Sorts the line pairs of a backup_file_list into the lists below. Restored files outside
    // aExtractDir are ignored (nothing outside the extraction is ever read).
    void readFileList(const QString& aListPath, const QString& aExtractDir);

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
    // aDatabases opened read-only and handed to aWrite; one that can't be opened or isn't valid
    // is logged and skipped. 0, or -1 when the file could not be written.
    static int exportDatabases(const QStringList& aDatabases, const ExportFrame& aFrame,
                               const QString& aXmlPath,
                               const std::function<void(BackupDatabase&, BackupXmlWriter&)>& aWrite);
    void addListEntry(const QString& aRestored, const QString& aPlace);
    void writeCalendar(BackupDatabase& aDb, BackupXmlWriter& aXml);
    void writeMessages(BackupDatabase& aDb, BackupXmlWriter& aXml);
    void writeMessageAttachments(QSqlQuery& aParts, BackupDatabase::Row& aPart, BackupXmlWriter& aXml,
                                 bool aNewSchema, const QString& aRowId, QString& aText);
    void writeNotes(BackupDatabase& aDb, BackupXmlWriter& aXml);
    void writeNoteStore(BackupDatabase& aDb, BackupXmlWriter& aXml);
    void writePersons(BackupDatabase& aDb, BackupDatabase* aImages, BackupXmlWriter& aXml);

    QString mExtractorProgram;
};

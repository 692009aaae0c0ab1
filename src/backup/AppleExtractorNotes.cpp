// The notes exporter: notes.xml from the notes databases of every iOS generation.
#include "app/LogScope.h"
#include "backup/AppleExtractor.h"
#include "backup/BackupDatabase.h"
#include "backup/BackupDates.h"
#include "backup/BackupXmlWriter.h"
#include "backup/NoteStoreBody.h"

#include <QSqlError>
#include <QSqlRecord>

namespace {

const QString kConnection = QStringLiteral("qt_sql_default_connection");

// The first of aNames the row has with a value (column names moved between iOS versions).
QString firstOf(BackupDatabase::Row& aRow, std::initializer_list<const char*> aNames)
{
    for (const char* name : aNames) {
        const QString value = aRow.text(QLatin1String(name));
        if (!value.isNull())
            return value;
    }
    return QString();
}

void writeNote(BackupXmlWriter& aXml, const QString& aCreated, const QString& aTitle,
               const QString& aModified, const QString& aData, const QString& aSummary)
{
    aXml.start(QStringLiteral("note"));
    aXml.element(QStringLiteral("creation_date"), BackupDates::fromReferenceSeconds(aCreated));
    aXml.element(QStringLiteral("title"), aTitle);
    aXml.element(QStringLiteral("modification_date"), BackupDates::fromReferenceSeconds(aModified));
    aXml.element(QStringLiteral("data"), aData);
    aXml.element(QStringLiteral("summary"), aSummary);
    aXml.end();
}

} // namespace

int AppleExtractor::generateNotesXML(const QString& aExtractDir, const QString& aXmlPath)
{
    LogScope log("AppleExtractor::generateNotesXML");
    Q_UNUSED(aExtractDir);
    return log.ret(exportDatabases(mNotesDatabases, {"notes", "Unable to open file", "notes", kConnection},
                                   aXmlPath, [this](BackupDatabase& aDb, BackupXmlWriter& aXml) {
                                       return aDb.hasTable(QStringLiteral("ZICCLOUDSYNCINGOBJECT"))
                                                  ? writeNoteStore(aDb, aXml)
                                                  : writeNotes(aDb, aXml);
                                   }));
}

bool AppleExtractor::writeNotes(BackupDatabase& aDb, BackupXmlWriter& aXml)
{
    const bool oldSchema = aDb.hasTable(QStringLiteral("note_bodies"));
    QSqlQuery query = aDb.query();
    BackupDatabase::Row queryRow(query);
    const bool ran =
        query.exec(oldSchema ? QStringLiteral("SELECT * FROM Note INNER JOIN note_bodies ON "
                                              "Note.ROWID=note_bodies.note_id")
                             : QStringLiteral("SELECT ZNOTE.ZCREATIONDATE AS creation_date, "
                                              "ZNOTE.ZSUMMARY AS summary, ZNOTE.ZTITLE AS title, "
                                              "ZNOTEBODY.ZCONTENT AS data FROM ZNOTE INNER JOIN "
                                              "ZNOTEBODY ON ZNOTE.ZBODY=ZNOTEBODY.Z_PK"));
    if (!queryDone(query, ran))
        return false;
    while (query.next())
        writeNote(aXml, queryRow.text(QStringLiteral("creation_date")),
                  queryRow.text(QStringLiteral("title")), queryRow.text(QStringLiteral("modification_date")),
                  queryRow.text(QStringLiteral("data")), queryRow.text(QStringLiteral("summary")));
    return queryDone(query, true);
}

// iOS 9 and later: one row of ZICCLOUDSYNCINGOBJECT per note, its body gzip-compressed in
// ZICNOTEDATA. Locked notes are encrypted: they are left out and counted.
bool AppleExtractor::writeNoteStore(BackupDatabase& aDb, BackupXmlWriter& aXml)
{
    QSqlQuery query = aDb.query();
    BackupDatabase::Row queryRow(query);
    if (!query.exec(
            QStringLiteral("SELECT note.*, body.ZDATA AS note_body_data FROM ZICCLOUDSYNCINGOBJECT AS note "
                           "INNER JOIN ZICNOTEDATA AS body "
                           "ON body.ZNOTE = note.Z_PK"))) {
        return queryDone(query, false);
    }
    int locked = 0;
    int unreadable = 0;
    while (query.next()) {
        if (queryRow.text(QStringLiteral("ZMARKEDFORDELETION")) == QLatin1String("1"))
            continue;
        if (queryRow.text(QStringLiteral("ZISPASSWORDPROTECTED")) == QLatin1String("1")) {
            ++locked;
            continue;
        }
        const QString text =
            NoteStoreBody::text(queryRow.value(QStringLiteral("note_body_data")).toByteArray());
        if (text.isNull()) {
            ++unreadable;
            continue;
        }
        writeNote(aXml, firstOf(queryRow, {"ZCREATIONDATE3", "ZCREATIONDATE1", "ZCREATIONDATE"}),
                  firstOf(queryRow, {"ZTITLE1", "ZTITLE"}),
                  firstOf(queryRow, {"ZMODIFICATIONDATE1", "ZMODIFICATIONDATE"}), text,
                  firstOf(queryRow, {"ZSNIPPET", "ZSUMMARY"}));
    }
    logValue("Password-protected notes skipped", locked);
    logValue("Unreadable notes skipped", unreadable);
    return queryDone(query, true);
}

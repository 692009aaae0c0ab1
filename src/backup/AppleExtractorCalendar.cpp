// The calendar exporter: calendar.xml from the calendar databases of both iOS generations.
#include "app/LogScope.h"
#include "backup/AppleExtractor.h"
#include "backup/BackupDatabase.h"
#include "backup/BackupDates.h"
#include "backup/BackupXmlWriter.h"

#include <QSqlError>

namespace {

const QString kConnection = QStringLiteral("qt_sql_default_connection");

// The query texts are kept exactly as iPhone backups have always been read, tabs included.
const char* const kNewQuery =
    "SELECT CalendarItem.ROWID AS entry_rowid, CalendarItem.summary AS summary,\t\t\t\t\t"
    "CalendarItem.description AS description,\t\t\t\t\tLocation.title AS location,\t\t\t\t\t"
    "CalendarItem.start_date AS start_date,\t\t\t\t\tCalendarItem.end_date AS end_date,\t\t\t\t\t"
    "CalendarItem.start_tz AS start_tz,\t\t\t\t\tCalendarItem.all_day AS all_day,\t\t\t\t\t"
    "CalendarItem.has_recurrences AS has_recurrences,\t\t\t\t\tCalendarItem.url AS url,\t\t\t\t\t"
    "Recurrence.frequency AS frequency,\t\t\t\t\tRecurrence.interval AS interval,\t\t\t\t\t"
    "Recurrence.end_date AS recurrence_end_date \t\t\t\t\tFROM CalendarItem LEFT OUTER JOIN Recurrence "
    "ON CalendarItem.ROWID=Recurrence.owner_id LEFT OUTER JOIN Location ON CalendarItem.ROWID=item_owner_id";
const char* const kOldQuery =
    "SELECT Event.ROWID AS entry_rowid, Event.summary AS summary, \t\t\t\t\t\t"
    "Event.description AS description, \t\t\t\t\t\tEvent.location AS location, \t\t\t\t\t\t"
    "Event.start_date AS start_date, \t\t\t\t\t\tEvent.end_date AS end_date, \t\t\t\t\t\t"
    "Event.start_tz AS start_tz, \t\t\t\t\t\tEvent.all_day AS all_day, \t\t\t\t\t\t"
    "Recurrence.frequency AS frequency, \t\t\t\t\t\tRecurrence.interval AS interval, \t\t\t\t\t\t"
    "Recurrence.end_date AS recurrence_end_date \t\t\t\t\t\tFROM Event LEFT OUTER JOIN Recurrence ON "
    "Event.ROWID=Recurrence.event_id";

QString frequencyText(const QString& aFrequency)
{
    if (aFrequency == QLatin1String("1"))
        return QStringLiteral("DAILY");
    if (aFrequency == QLatin1String("2"))
        return QStringLiteral("WEEKLY");
    if (aFrequency == QLatin1String("3"))
        return QStringLiteral("MONTHLY");
    if (aFrequency == QLatin1String("4"))
        return QStringLiteral("YEARLY");
    return QStringLiteral("once");
}

QString dateOrZero(const QString& aValue)
{
    return BackupDates::fromReferenceSeconds(aValue.isEmpty() ? QStringLiteral("0") : aValue);
}

} // namespace

int AppleExtractor::generateCalendarXML(const QString& aExtractDir, const QString& aXmlPath)
{
    LogScope log("AppleExtractor::generateCalendarXML");
    Q_UNUSED(aExtractDir);
    return log.ret(exportDatabases(
        mCalendarDatabases, {"calendar", "Unable to open file", "calendar", kConnection}, aXmlPath,
        [this](BackupDatabase& aDb, BackupXmlWriter& aXml) { return writeCalendar(aDb, aXml); }));
}

bool AppleExtractor::writeCalendar(BackupDatabase& aDb, BackupXmlWriter& aXml)
{
    const bool newSchema = aDb.hasTable(QStringLiteral("Location"));
    QSqlQuery query = aDb.query();
    BackupDatabase::Row queryRow(query);
    if (!queryDone(query, query.exec(QLatin1String(newSchema ? kNewQuery : kOldQuery))))
        return false;
    const QString alarmQuery = newSchema ? QStringLiteral("SELECT * FROM Alarm WHERE owner_id=")
                                         : QStringLiteral("SELECT * FROM Alarm WHERE entity_id=");
    while (query.next()) {
        const bool allDay = queryRow.text(QStringLiteral("all_day")) == QLatin1String("1");
        const QString frequency = queryRow.text(QStringLiteral("frequency"));
        QString frequencyName = QStringLiteral("once");
        QString interval;
        QString repeatEnd;
        if (!frequency.isEmpty()) {
            repeatEnd = queryRow.text(QStringLiteral("recurrence_end_date"));
            if (!repeatEnd.isEmpty() && repeatEnd != QLatin1String("0"))
                repeatEnd = BackupDates::fromReferenceSeconds(repeatEnd);
            interval = queryRow.text(QStringLiteral("interval"));
            frequencyName = frequencyText(frequency);
        }
        aXml.start(QStringLiteral("calendar_entry"));
        aXml.element(QStringLiteral("title"), queryRow.text(QStringLiteral("summary")));
        aXml.element(QStringLiteral("location"), queryRow.text(QStringLiteral("location")));
        aXml.element(QStringLiteral("description"), queryRow.text(QStringLiteral("description")));
        aXml.element(QStringLiteral("time_zone"), queryRow.text(QStringLiteral("start_tz")));
        aXml.element(QStringLiteral("frequency"), frequencyName);
        aXml.element(QStringLiteral("interval"), interval);
        if (!repeatEnd.isNull())
            aXml.element(QStringLiteral("repeat_end_date"), repeatEnd);
        aXml.element(QStringLiteral("all_day"), allDay ? QStringLiteral("true") : QStringLiteral("false"));
        aXml.element(QStringLiteral("url"), queryRow.text(QStringLiteral("url")));
        aXml.element(QStringLiteral("start_date"), dateOrZero(queryRow.text(QStringLiteral("start_date"))));
        aXml.element(QStringLiteral("end_date"), dateOrZero(queryRow.text(QStringLiteral("end_date"))));

        const QString rowId = queryRow.text(QStringLiteral("entry_rowid"));
        QSqlQuery alarms = aDb.query();
        BackupDatabase::Row alarmsRow(alarms);
        bool isNumber = false;
        rowId.toLongLong(&isNumber);
        if (!isNumber || !alarms.exec(alarmQuery + rowId)) {
            logValue("Alarm selection error", alarms.lastError().text());
        } else {
            while (alarms.next()) {
                bool integer = false;
                const qlonglong trigger =
                    alarmsRow.text(QStringLiteral("trigger_interval")).toLongLong(&integer);
                if (integer)
                    aXml.element(QStringLiteral("alarm"), QString::number(trigger));
            }
        }
        aXml.end();
    }
    return queryDone(query, true);
}

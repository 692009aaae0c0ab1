// The contacts exporter: address.xml from the contacts databases, with their pictures.
#include "app/LogScope.h"
#include "backup/AppleExtractor.h"
#include "backup/BackupDatabase.h"
#include "backup/BackupDates.h"
#include "backup/BackupXmlWriter.h"

#include <QSqlError>

#include <memory>

namespace {

QString propertyElement(const QString& aProperty)
{
    if (aProperty == QLatin1String("3"))
        return QStringLiteral("phone");
    if (aProperty == QLatin1String("4"))
        return QStringLiteral("email");
    if (aProperty == QLatin1String("5"))
        return QStringLiteral("address");
    if (aProperty == QLatin1String("22"))
        return QStringLiteral("url");
    return QStringLiteral("unknown");
}

QString labelType(const QString& aLabel)
{
    if (aLabel == QLatin1String("_$!<Home>!$_"))
        return QStringLiteral("home");
    if (aLabel == QLatin1String("_$!<Work>!$_"))
        return QStringLiteral("work");
    if (aLabel == QLatin1String("_$!<HomePage>!$_"))
        return QStringLiteral("homepage");
    if (aLabel == QLatin1String("_$!<Main>!$_"))
        return QStringLiteral("main");
    if (aLabel == QLatin1String("_$!<Mobile>!$_"))
        return QStringLiteral("mobile");
    return QString();
}

QString addressPart(const QString& aKey)
{
    if (aKey == QLatin1String("Country"))
        return QStringLiteral("country");
    if (aKey == QLatin1String("Street"))
        return QStringLiteral("street");
    if (aKey == QLatin1String("ZIP"))
        return QStringLiteral("zip");
    if (aKey == QLatin1String("City"))
        return QStringLiteral("city");
    if (aKey == QLatin1String("CountryCode"))
        return QStringLiteral("country_code");
    if (aKey == QLatin1String("State"))
        return QStringLiteral("state");
    return QStringLiteral("unknown");
}

void writeAddressParts(BackupDatabase& aDb, BackupXmlWriter& aXml, const QVariant& aUid)
{
    QSqlQuery parts = aDb.query();
    BackupDatabase::Row partsRow(parts);
    if (!parts.prepare(QStringLiteral(
            "SELECT *, ABMultiValueEntryKey.value AS key_value FROM ABMultiValueEntry LEFT "
            "OUTER JOIN ABMultiValueEntryKey ON ABMultiValueEntry.key=ABMultiValueEntryKey.rowid "
            "WHERE ABMultiValueEntry.parent_id=:uid"))) {
        logValue("SQL prepare error 2", parts.lastError().text());
        return;
    }
    parts.bindValue(QStringLiteral(":uid"), aUid);
    if (!parts.exec()) {
        logValue("SQL query error 2", parts.lastError().text());
        return;
    }
    while (parts.next())
        aXml.element(addressPart(partsRow.text(QStringLiteral("key_value"))),
                     partsRow.text(QStringLiteral("value")));
}

void writeMultiValues(BackupDatabase& aDb, BackupXmlWriter& aXml, const QVariant& aRowId)
{
    QSqlQuery values = aDb.query();
    BackupDatabase::Row valuesRow(values);
    if (!values.prepare(
            QStringLiteral("SELECT *, ABMultiValueLabel.value AS label_value FROM ABMultiValue LEFT OUTER "
                           "JOIN ABMultiValueLabel ON ABMultiValue.label=ABMultiValueLabel.rowid WHERE "
                           "ABMultiValue.record_id=:rowid"))) {
        logValue("SQL Prepare Error", values.lastError().text());
        return;
    }
    values.bindValue(QStringLiteral(":rowid"), aRowId);
    if (!values.exec()) {
        logValue("SQL Query Error", values.lastError().text());
        return;
    }
    while (values.next()) {
        aXml.start(propertyElement(valuesRow.text(QStringLiteral("property"))));
        aXml.attribute(QStringLiteral("type"), labelType(valuesRow.text(QStringLiteral("label_value"))));
        // "value" names two columns here (the multi-value's and the label's); the first is the
        // multi-value's own.
        aXml.attribute(QStringLiteral("value"), valuesRow.text(QStringLiteral("value")));
        writeAddressParts(aDb, aXml, valuesRow.value(QStringLiteral("UID")));
        aXml.end();
    }
}

void writePhoto(BackupDatabase& aImages, BackupXmlWriter& aXml, const QString& aRowId)
{
    bool isNumber = false;
    aRowId.toLongLong(&isNumber);
    if (!isNumber)
        return;
    QSqlQuery image = aImages.query();
    BackupDatabase::Row imageRow(image);
    const QString where = QStringLiteral(" WHERE record_id='") + aRowId + QStringLiteral("' AND format='0'");
    if (!image.exec(QStringLiteral("SELECT * FROM ABThumbnailImage") + where)) {
        logValue("Image query selection error", image.lastError().text());
        logMessage("Trying with ABImage table name");
        if (!image.exec(QStringLiteral("SELECT * FROM ABImage") + where)) {
            logValue("Image query selection error", image.lastError().text());
            return;
        }
    }
    if (image.next()) {
        logMessage("We have a contact image");
        aXml.element(QStringLiteral("photo"),
                     QString::fromLatin1(imageRow.value(QStringLiteral("data")).toByteArray().toBase64()));
    }
}

} // namespace

int AppleExtractor::generateAddressBookXML(const QString& aExtractDir, const QString& aXmlPath)
{
    LogScope log("AppleExtractor::generateAddressBookXML");
    Q_UNUSED(aExtractDir);
    // The pictures' database is opened with the first contacts database (none is read when the
    // file can't be written).
    std::unique_ptr<BackupDatabase> images;
    bool imagesTried = false;
    const auto openImages = [&] {
        imagesTried = true;
        if (mAddressBookImagesDatabase.isEmpty())
            return;
        images = std::make_unique<BackupDatabase>(mAddressBookImagesDatabase, QStringLiteral("Connection2"));
        if (!images->isOpen()) {
            logValue("Could not open images database", images->errorText());
        } else {
            logMessage("Opened images database");
            logMessage(images->isValid() ? "Database is valid" : "Invalid images database");
        }
        if (!images->isValid())
            images.reset();
    };
    return log.ret(exportDatabases(
        mAddressBookDatabases,
        {"address_book", "Unable to open XML file", "addressbook", QStringLiteral("Connection")}, aXmlPath,
        [&](BackupDatabase& aDb, BackupXmlWriter& aXml) {
            if (!imagesTried)
                openImages();
            return writePersons(aDb, images.get(), aXml);
        }));
}

bool AppleExtractor::writePersons(BackupDatabase& aDb, BackupDatabase* aImages, BackupXmlWriter& aXml)
{
    QSqlQuery persons = aDb.query();
    BackupDatabase::Row personsRow(persons);
    if (!queryDone(persons, persons.exec(QStringLiteral("SELECT * FROM ABPerson"))))
        return false;
    while (persons.next()) {
        aXml.start(QStringLiteral("person"));
        const std::pair<const char*, const char*> names[] = {{"first", "first_name"},
                                                             {"middle", "middle_name"},
                                                             {"last", "last_name"},
                                                             {"organization", "organization"}};
        for (const auto& [column, element] : names) {
            const QString value = personsRow.text(QLatin1String(column));
            if (!value.isNull())
                aXml.element(QLatin1String(element), value);
        }
        const QString birthday = personsRow.text(QStringLiteral("Birthday"));
        if (!birthday.isNull())
            aXml.element(QStringLiteral("birthday"), BackupDates::fromBirthday(birthday));
        const QVariant rowId = personsRow.value(QStringLiteral("ROWID"));
        writeMultiValues(aDb, aXml, rowId);
        if (aImages)
            writePhoto(*aImages, aXml, rowId.toString());
        aXml.end();
    }
    return queryDone(persons, true);
}

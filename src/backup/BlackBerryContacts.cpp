#include "backup/BlackBerryContacts.h"
#include "app/DiagnosticLog.h"
#include "backup/BackupXmlWriter.h"

#include <QList>
#include <QPair>
#include <QStringDecoder>

namespace {

constexpr quint8 kContactField = 10;

// One entry of a person, in the order gathered: a text element, or an element with a type and a
// value (and, for an address, its parts).
struct PersonEntry
{
    QString element;
    QString text;
    bool typed = false;
    QString type;
    QString value;
    QList<QPair<QString, QString>> parts;
};

QString decodeText(quint8& aType, const QByteArray& aData)
{
    if (!(aType & 0x80))
        return QString::fromLatin1(aData);
    logMessage("Got non-ascii contact string");
    aType &= 0x7F;
    logValue("converted subFieldType", static_cast<int>(aType));
    if (aData.isEmpty())
        return QString();
    const QByteArray rest = aData.mid(1);
    if (aData.at(0) == 0)
        return QString::fromUtf8(rest);
    if (aData.at(0) == 1) {
        QStringDecoder utf16(QStringDecoder::Utf16BE);
        return utf16(rest);
    }
    logMessage("Unknown contact character set");
    return QString();
}

PersonEntry typedEntry(const char* aElement, const char* aType, const QString& aValue)
{
    PersonEntry entry;
    entry.element = QLatin1String(aElement);
    entry.typed = true;
    entry.type = QLatin1String(aType);
    entry.value = aValue;
    return entry;
}

// More values than any contact has (a hostile record of tiny subfields would otherwise cost a
// hundred times its size in memory): the rest of such a record is left out.
constexpr int kMaxValuesPerPerson = 256;

class Person
{
public:
    void add(quint8 aType, const QString& aText)
    {
        if (++mValues > kMaxValuesPerPerson) {
            if (mValues == kMaxValuesPerPerson + 1)
                logMessage("! A contact with more values than any has: the rest is left out");
            return;
        }
        switch (aType) {
        case 1:
            mEntries.append(typedEntry("email", "main", aText));
            break;
        case 6:
        case 16:
            mEntries.append(typedEntry("phone", "work", aText));
            break;
        case 8:
        case 19:
            mEntries.append(typedEntry("phone", "mobile", aText));
            break;
        case 17:
            mEntries.append(typedEntry("phone", "home", aText));
            break;
        case 18:
            mEntries.append(typedEntry("phone", "main", aText));
            break;
        case 32:
            mNames.append(aText);
            break;
        case 33:
        case 42:
            mEntries.append({QStringLiteral("organization"), aText, false, {}, {}, {}});
            break;
        case 54:
            mEntries.append(typedEntry("url", "homepage", aText));
            break;
        case 35:
        case 36:
            mWork.parts.append({QStringLiteral("street"), aText});
            break;
        case 61:
        case 62:
            mHome.parts.append({QStringLiteral("street"), aText});
            break;
        default:
            if (aType >= 38 && aType <= 41)
                mWork.parts.append({addressPart(aType - 38), aText});
            else if (aType >= 69 && aType <= 72)
                mHome.parts.append({addressPart(aType - 69), aText});
            break;
        }
    }

    void write(BackupXmlWriter& aXml)
    {
        static const char* const nameElements[] = {"first_name", "middle_name", "last_name"};
        if (mNames.size() >= 3) {
            for (int i = 0; i < 3; ++i)
                mEntries.append({QLatin1String(nameElements[i]), mNames.at(i), false, {}, {}, {}});
        } else if (mNames.size() == 2) {
            mEntries.append({QStringLiteral("first_name"), mNames.at(0), false, {}, {}, {}});
            mEntries.append({QStringLiteral("last_name"), mNames.at(1), false, {}, {}, {}});
        } else if (mNames.size() == 1) {
            mEntries.append({QStringLiteral("first_name"), mNames.at(0), false, {}, {}, {}});
        }
        for (PersonEntry* address : {&mHome, &mWork}) {
            if (address->parts.isEmpty())
                continue;
            address->element = QStringLiteral("address");
            address->typed = true;
            address->type = address == &mHome ? QStringLiteral("home") : QStringLiteral("work");
            mEntries.append(*address);
        }
        aXml.start(QStringLiteral("person"));
        for (const PersonEntry& entry : mEntries) {
            if (!entry.typed) {
                aXml.element(entry.element, entry.text);
                continue;
            }
            aXml.start(entry.element);
            aXml.attribute(QStringLiteral("type"), entry.type);
            aXml.attribute(QStringLiteral("value"), entry.value);
            for (const auto& [part, text] : entry.parts)
                aXml.element(part, text);
            aXml.end();
        }
        aXml.end();
    }

private:
    static QString addressPart(int aIndex)
    {
        static const char* const parts[] = {"city", "state", "zip", "country"};
        return QLatin1String(parts[aIndex]);
    }

    QList<PersonEntry> mEntries;
    QStringList mNames;
    int mValues = 0;
    PersonEntry mHome;
    PersonEntry mWork;
};

void readSubfields(const QByteArray& aData, Person& aPerson)
{
    qsizetype pos = 0;
    while (aData.size() - pos >= 3) {
        logValue("Reading subfield, position", static_cast<int>(pos));
        const qsizetype length =
            static_cast<quint8>(aData.at(pos)) | (static_cast<quint8>(aData.at(pos + 1)) << 8);
        quint8 type = static_cast<quint8>(aData.at(pos + 2));
        logValue("subFieldLength", static_cast<int>(length));
        logValue("subFieldType", static_cast<int>(type));
        pos += 3;
        if (length > aData.size() - pos) {
            logMessage("*** ERROR: bad string length. Logging raw data as file");
            return;
        }
        const QString text = decodeText(type, aData.mid(pos, length));
        pos += length;
        aPerson.add(type, text);
    }
}

} // namespace

bool BlackBerryContacts::write(const QList<IpdRecord>& aRecords, const QString& aXmlPath)
{
    BackupXmlWriter xml(aXmlPath);
    if (!xml.isOpen()) {
        logValue("Unable to open XML file", aXmlPath);
        return false;
    }
    xml.startDocument(QStringLiteral("address_book"));
    for (const IpdRecord& record : aRecords) {
        Person person;
        for (const IpdField& field : record) {
            if (field.type != kContactField)
                continue;
            logMessage("Field found");
            readSubfields(field.data, person);
        }
        person.write(xml);
    }
    return xml.endDocument();
}

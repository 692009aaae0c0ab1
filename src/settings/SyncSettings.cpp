#include "settings/SyncSettings.h"

#include "app/ApplicationPaths.h"
#include "app/LogScope.h"
#include "app/XmlLimits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

const QString SyncSettings::kDontSyncMusic = QStringLiteral("###DONT-SYNC-MUSIC###");

QString SyncSettings::filePath()
{
    return ApplicationPaths::kordaFolder() + QStringLiteral("/korda.xml");
}

int SyncSettings::load()
{
    LogScope log("SyncSettings::load");
    clear();
    QDir().mkpath(ApplicationPaths::kordaFolder());
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return log.ret(kCannotOpen);
    // A settings file is a few kilobytes: one far larger, or nested deeper than any this program
    // writes, is no settings file, and reading it would cost memory or stack without end.
    const QString refusal = file.size() > kMaxFileBytes
                                ? QStringLiteral("larger than 1 MB")
                                : XmlLimits::problem(file, {kMaxDepth, kMaxAttributes, kMaxElements});
    if (!refusal.isEmpty()) {
        logValue("! Settings file refused", refusal);
        keepDamagedCopy();
        return log.ret(kCannotOpen);
    }
    file.seek(0);
    QString error;
    int line = 0;
    int column = 0;
    if (!setContent(&file, false, &error, &line, &column)) {
        // The document keeps what was parsed before the error. A later save would replace the
        // damaged file with that part, so keep the whole of it aside first.
        logMessage("! Settings file is not well-formed");
        logValue("error", error);
        logValue("line", line);
        keepDamagedCopy();
    }
    return log.ret(kResultOk);
}

QString SyncSettings::xmlText(const QString& aText)
{
    // Characters XML 1.0 can't hold (control characters, lone surrogates, U+FFFE and U+FFFF)
    // would make a file the reader refuses: they are left out.
    QString text;
    text.reserve(aText.size());
    for (qsizetype i = 0; i < aText.size(); ++i) {
        const char16_t unit = aText.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < aText.size() && aText.at(i + 1).isLowSurrogate()) {
            text += aText.at(i);
            text += aText.at(++i);
            continue;
        }
        const bool allowed = unit == 0x09 || unit == 0x0A || unit == 0x0D ||
                             (unit >= 0x20 && unit < 0xD800) || (unit >= 0xE000 && unit < 0xFFFE);
        if (allowed)
            text += aText.at(i);
    }
    if (text.size() != aText.size())
        logValue("! Characters XML can't hold left out of", text);
    return text;
}

void SyncSettings::keepDamagedCopy()
{
    const QString keptCopy = filePath() + QStringLiteral(".bad");
    QFile::remove(keptCopy);
    if (QFile::copy(filePath(), keptCopy))
        logValue("Kept a copy in", keptCopy);
}

int SyncSettings::save()
{
    LogScope log("SyncSettings::save");
    // Written to a temporary file that replaces the old one only when complete, so a crash or a
    // full disk never leaves a half-written settings file. Unbuffered, because a short write
    // inside QSaveFile's own buffer would be committed as if it were whole.
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        logMessage("Error opening file");
        return log.ret(kCannotWrite);
    }
    logMessage("File opened");
    const QByteArray content = toByteArray(0);
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        file.commit();
        logMessage("! Error writing file");
        logValue("error", file.errorString());
        return log.ret(kCannotWrite);
    }
    if (!file.commit()) {
        logMessage("! Error writing file");
        logValue("error", file.errorString());
        return log.ret(kCannotWrite);
    }
    return log.ret(kResultOk);
}

QDomElement SyncSettings::deviceElement(const QString& aId) const
{
    const QDomNodeList devices = elementsByTagName(QStringLiteral("device"));
    for (int i = 0; i < devices.size(); ++i) {
        const QDomElement device = devices.at(i).toElement();
        if (device.firstChildElement(QStringLiteral("id")).text() == aId)
            return device;
    }
    return {};
}

int SyncSettings::deviceElementLine(const QString& aId) const
{
    const QDomElement device = deviceElement(aId);
    return device.isNull() ? -1 : device.lineNumber();
}

QString SyncSettings::getStringValue(const QString& aId, const QString& aKey) const
{
    return deviceElement(aId).firstChildElement(aKey).text();
}

int SyncSettings::getIntValue(const QString& aId, const QString& aKey, int aDefault) const
{
    const QDomElement value = deviceElement(aId).firstChildElement(aKey);
    return value.isNull() ? aDefault : value.text().toInt();
}

bool SyncSettings::getBooleanValue(const QString& aId, const QString& aKey, bool aDefault) const
{
    const QDomElement value = deviceElement(aId).firstChildElement(aKey);
    return value.isNull() ? aDefault : value.text() == QLatin1String("true");
}

void SyncSettings::writeChildValue(const QString& aId, const QString& aKey, const QString& aText)
{
    QDomElement device = deviceElement(aId);
    if (!device.isNull())
        replaceChildValue(device, aKey, aText);
}

void SyncSettings::replaceChildValue(QDomElement& aDevice, const QString& aKey, const QString& aText)
{
    const QDomElement old = aDevice.firstChildElement(aKey);
    if (!old.isNull())
        aDevice.removeChild(old);
    QDomElement value = createElement(aKey);
    value.appendChild(createTextNode(xmlText(aText)));
    aDevice.appendChild(value);
}

void SyncSettings::setStringValue(const QString& aId, const QString& aKey, const QString& aValue)
{
    writeChildValue(aId, aKey, aValue);
}

void SyncSettings::setIntValue(const QString& aId, const QString& aKey, int aValue)
{
    writeChildValue(aId, aKey, QString::number(aValue));
}

void SyncSettings::setBooleanValue(const QString& aId, const QString& aKey, bool aValue)
{
    writeChildValue(aId, aKey, aValue ? QStringLiteral("true") : QStringLiteral("false"));
}

QString SyncSettings::getGlobalStringValue(const QString& aKey) const
{
    return documentElement().firstChildElement(aKey).text();
}

void SyncSettings::setGlobalStringValue(const QString& aKey, const QString& aValue)
{
    QDomElement root = documentElement();
    if (root.isNull()) {
        root = createElement(QStringLiteral("settings"));
        appendChild(root);
    }
    for (QDomElement old = root.firstChildElement(aKey); !old.isNull(); old = root.firstChildElement(aKey))
        root.removeChild(old);
    QDomElement value = createElement(aKey);
    value.appendChild(createTextNode(xmlText(aValue)));
    root.appendChild(value);
}

bool SyncSettings::deleteWithoutWarning(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("delete-without-warning"), false);
}
void SyncSettings::setDeleteWithoutWarning(const QString& aId)
{
    setBooleanValue(aId, QStringLiteral("delete-without-warning"), true);
}
bool SyncSettings::convertAacToMp3(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("convert-to-mp3"), false);
}
void SyncSettings::setConvertAacToMp3(const QString& aId, bool aValue)
{
    setBooleanValue(aId, QStringLiteral("convert-to-mp3"), aValue);
}
bool SyncSettings::skipUsbEjectWarning(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("dont-warn-usb"), false);
}
void SyncSettings::setSkipUsbEjectWarning(const QString& aId)
{
    setBooleanValue(aId, QStringLiteral("dont-warn-usb"), true);
}
bool SyncSettings::skipDrmWarning(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("dont-warn-drm"), false);
}
void SyncSettings::setSkipDrmWarning(const QString& aId)
{
    setBooleanValue(aId, QStringLiteral("dont-warn-drm"), true);
}
bool SyncSettings::skipNotCopiedWarning(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("dont-warn-not-copied"), false);
}
void SyncSettings::setSkipNotCopiedWarning(const QString& aId)
{
    setBooleanValue(aId, QStringLiteral("dont-warn-not-copied"), true);
}
bool SyncSettings::forceArtworkSync(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("force-album-art-sync"), true);
}
void SyncSettings::setForceArtworkSync(const QString& aId, bool aValue)
{
    setBooleanValue(aId, QStringLiteral("force-album-art-sync"), aValue);
}
bool SyncSettings::enableArtworkSync(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("enable-album-art-sync"), true);
}
void SyncSettings::setEnableArtworkSync(const QString& aId, bool aValue)
{
    setBooleanValue(aId, QStringLiteral("enable-album-art-sync"), aValue);
}
int SyncSettings::numberOfEpisodesToSync(const QString& aId) const
{
    return getIntValue(aId, QStringLiteral("number-of-episodes-to-sync"), 0);
}
void SyncSettings::setNumberOfEpisodesToSync(const QString& aId, int aValue)
{
    setIntValue(aId, QStringLiteral("number-of-episodes-to-sync"), aValue);
}
bool SyncSettings::copyTextMessages(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("copy-text-messages"), false);
}
void SyncSettings::setCopyTextMessages(const QString& aId, bool aValue)
{
    setBooleanValue(aId, QStringLiteral("copy-text-messages"), aValue);
}
bool SyncSettings::copyAddressBook(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("copy-address-book"), false);
}
void SyncSettings::setCopyAddressBook(const QString& aId, bool aValue)
{
    setBooleanValue(aId, QStringLiteral("copy-address-book"), aValue);
}
bool SyncSettings::copyPhotos(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("copy-photos"), false);
}
void SyncSettings::setCopyPhotos(const QString& aId, bool aValue)
{
    setBooleanValue(aId, QStringLiteral("copy-photos"), aValue);
}
bool SyncSettings::copyCalendar(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("copy-calendar"), false);
}
void SyncSettings::setCopyCalendar(const QString& aId, bool aValue)
{
    setBooleanValue(aId, QStringLiteral("copy-calendar"), aValue);
}
bool SyncSettings::copyNotes(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("copy-notes"), false);
}
void SyncSettings::setCopyNotes(const QString& aId, bool aValue)
{
    setBooleanValue(aId, QStringLiteral("copy-notes"), aValue);
}
QString SyncSettings::selectedBackupPath(const QString& aId) const
{
    return getStringValue(aId, QStringLiteral("backup-path"));
}
void SyncSettings::setSelectedBackupPath(const QString& aId, const QString& aValue)
{
    setStringValue(aId, QStringLiteral("backup-path"), aValue);
}
bool SyncSettings::isFirstUse(const QString& aId) const
{
    return getBooleanValue(aId, QStringLiteral("first-use"), false);
}
void SyncSettings::setFirstUse(const QString& aId, bool aValue)
{
    setBooleanValue(aId, QStringLiteral("first-use"), aValue);
}
QString SyncSettings::skipUpdateMessage() const
{
    return getGlobalStringValue(QStringLiteral("dont-display-message"));
}
void SyncSettings::setSkipUpdateMessage(const QString& aValue)
{
    setGlobalStringValue(QStringLiteral("dont-display-message"), aValue);
}

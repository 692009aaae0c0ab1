#include "devices/mtp/libmtp/LibmtpDeviceManager.h"

#include "app/LogScope.h"
#include "devices/mtp/MtpResult.h"
#include "devices/mtp/libmtp/LibmtpDevice.h"
#include "devices/mtp/libmtp/LibmtpLock.h"
#include "devices/mtp/libmtp/UsbProbe.h"

#include "tracks/DeviceLock.h"

#include <QThread>

#include <cstdlib>

namespace {

QString text(const char* aText)
{
    return aText ? QString::fromUtf8(aText) : QString();
}

QString takeText(char* aText)
{
    const QString result = text(aText);
    std::free(aText);
    return result;
}

} // namespace

QList<PortableDeviceRecord> LibmtpDeviceManager::enumerate()
{
    const QByteArray signature = mUsbDevices.signature();
    {
        QMutexLocker locker(&mMutex);
        if (!signature.isEmpty() && signature == mDetectedSignature)
            return mDetected;
    }
    QList<PortableDeviceRecord> records;
    QHash<QString, LIBMTP_raw_device_t> rawDevices;
    bool answered = true;
    {
        LibmtpLock lock;
        LIBMTP_raw_device_t* devices = nullptr;
        int count = 0;
        const LIBMTP_error_number_t result = LIBMTP_Detect_Raw_Devices(&devices, &count);
        if (result == LIBMTP_ERROR_NONE) {
            for (int i = 0; i < count; ++i) {
                const LIBMTP_raw_device_t& device = devices[i];
                PortableDeviceRecord record;
                record.id = QStringLiteral("usb %1:%2").arg(device.bus_location).arg(device.devnum);
                record.manufacturer = text(device.device_entry.vendor);
                record.description = text(device.device_entry.product);
                if (record.description.isEmpty())
                    record.description = QStringLiteral("MTP device %1:%2")
                                             .arg(device.device_entry.vendor_id, 4, 16, QLatin1Char('0'))
                                             .arg(device.device_entry.product_id, 4, 16, QLatin1Char('0'));
                records.append(record);
                rawDevices.insert(record.id, device);
            }
        } else if (result != LIBMTP_ERROR_NO_DEVICE_ATTACHED) {
            logValue("! Detecting MTP devices failed", static_cast<int>(result));
            answered = false; // asked again at the next pass
        }
        std::free(devices);
    }
    QMutexLocker locker(&mMutex);
    if (answered) {
        for (auto it = mFailedOpens.begin(); it != mFailedOpens.end();)
            it = rawDevices.contains(*it) ? std::next(it) : mFailedOpens.erase(it);
    }
    mRawDevices = rawDevices;
    mDetectedSignature = answered ? signature : QByteArray();
    mDetected = records;
    return records;
}

std::unique_ptr<PortableDevice> LibmtpDeviceManager::open(const PortableDeviceRecord& aRecord,
                                                          qint32& aResult, QString& aFriendlyName)
{
    LIBMTP_raw_device_t raw;
    {
        QMutexLocker locker(&mMutex);
        const auto found = mRawDevices.constFind(aRecord.id);
        if (found == mRawDevices.constEnd()) {
            aResult = MtpResult::kGone;
            mOpenFailure = QStringLiteral("%1 is no longer connected").arg(aRecord.description);
            return nullptr;
        }
        raw = found.value();
    }
    // Another run of Veltrane (the window, another veltrane-sync) has the phone: it is not
    // touched at all, as opening it would reset it under that run.
    auto lock = std::make_unique<DeviceLock>();
    if (lock->acquire(QStringLiteral("phone at ") + aRecord.id) == DeviceLock::HeldElsewhere) {
        failOpen(aResult, MtpResult::kInUse,
                 QStringLiteral("%1 is in use by another Veltrane (its window, or another veltrane-sync)")
                     .arg(aRecord.description));
        return nullptr;
    }
    {
        // libmtp's failed open leaves the process unable to open that phone again safely (its
        // next open was seen to corrupt the heap): it is not tried again until it is plugged in
        // again, under a new address.
        QMutexLocker locker(&mMutex);
        if (mFailedOpens.contains(aRecord.id)) {
            aResult = MtpResult::kFailed;
            return nullptr;
        }
    }
    LibmtpLock libmtp;
    if (!UsbProbe::present(raw.bus_location, raw.devnum)) {
        failOpen(aResult, MtpResult::kGone,
                 QStringLiteral("%1 was disconnected while it was being opened").arg(aRecord.description));
        return nullptr;
    }
    // A phone another program holds is not given to libmtp: its failed open leaves the USB
    // handle open, one more descriptor for every pass of the refresher.
    if (UsbProbe::claimedByAnotherProgram(raw.bus_location, raw.devnum)) {
        failOpen(
            aResult, MtpResult::kBusy,
            QStringLiteral("%1 is in use by another program, most likely a file manager that shows the "
                           "phone (GNOME Files, Dolphin, or gvfs/kio in the background): eject the phone "
                           "there or close that program, then unplug the phone and plug it in again")
                .arg(aRecord.description));
        return nullptr;
    }
    LIBMTP_mtpdevice_t* device = LIBMTP_Open_Raw_Device_Uncached(&raw);
    if (!device) {
        // A phone pulled out stops answering a moment before its node goes.
        if (UsbProbe::present(raw.bus_location, raw.devnum))
            QThread::msleep(kGoneWaitMs);
        if (!UsbProbe::present(raw.bus_location, raw.devnum) ||
            !UsbProbe::answers(raw.bus_location, raw.devnum)) {
            failOpen(
                aResult, MtpResult::kGone,
                QStringLiteral("%1 was disconnected while it was being opened").arg(aRecord.description));
            return nullptr;
        }
        failOpen(
            aResult, MtpResult::kFailed,
            QStringLiteral("%1 could not be opened (it may still have been starting): unlock the phone, "
                           "choose \"File transfer\" in its USB notification, then unplug it and plug it "
                           "in again")
                .arg(aRecord.description));
        QMutexLocker locker(&mMutex);
        mFailedOpens.insert(aRecord.id);
        return nullptr;
    }
    aFriendlyName = takeText(LIBMTP_Get_Friendlyname(device));
    if (aFriendlyName.isEmpty())
        aFriendlyName = takeText(LIBMTP_Get_Modelname(device));
    LIBMTP_Clear_Errorstack(device);
    aResult = MtpResult::kOk;
    return std::make_unique<LibmtpDevice>(device, raw, std::move(lock));
}

void LibmtpDeviceManager::failOpen(qint32& aResult, qint32 aCode, const QString& aReason)
{
    aResult = aCode;
    QMutexLocker locker(&mMutex);
    mOpenFailure = aReason;
    logValue("! Could not open the phone", aReason);
}

QString LibmtpDeviceManager::openFailure() const
{
    QMutexLocker locker(&mMutex);
    return mOpenFailure;
}

#pragma once

#include "devices/mtp/PortableDevice.h"
#include "devices/mtp/libmtp/UsbProbe.h"

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>

#include <libmtp.h>

// Phones through libmtp: the raw devices libmtp recognises as MTP (mass-storage devices are
// not among them), each known by its bus and address. libmtp opens every USB device it doesn't
// know to ask whether it speaks MTP; that is done again only when a device comes or goes, not on
// every pass of the refresher. A phone that another program holds (a
// file manager's MTP mount claims the USB interface) is told apart from other failures by
// trying to claim its interface; one another Veltrane run has (a lock on its place on the bus,
// held with the opened device) is not touched at all; one that goes while it is opened is said to
// be gone. A phone libmtp failed to open is not opened again until it is plugged in again: libmtp
// leaves the process unable to open it safely.
class LibmtpDeviceManager : public PortableDeviceManager
{
public:
    QList<PortableDeviceRecord> enumerate() override;
    std::unique_ptr<PortableDevice> open(const PortableDeviceRecord& aRecord, qint32& aResult,
                                         QString& aFriendlyName) override;
    QString openFailure() const override;

private:
    static constexpr unsigned long kGoneWaitMs = 300;
    void failOpen(qint32& aResult, qint32 aCode, const QString& aReason);

    mutable QMutex mMutex;
    QHash<QString, LIBMTP_raw_device_t> mRawDevices; // by record id, from the last enumeration
    QString mOpenFailure;
    UsbDeviceSet mUsbDevices;
    QByteArray mDetectedSignature; // the USB devices when libmtp last looked
    QList<PortableDeviceRecord> mDetected;
    QSet<QString> mFailedOpens; // record ids libmtp failed to open, while they stay connected
};

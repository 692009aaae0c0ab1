#pragma once

#include "devices/mtp/PortableDevice.h"
#include "devices/mtp/libmtp/UsbProbe.h"

#include <QHash>
#include <QMutex>
#include <QString>

#include <libmtp.h>

// Phones through libmtp: the raw devices libmtp recognises as MTP (mass-storage devices are
// not among them), each known by its bus and address. libmtp opens every USB device it doesn't
// know to ask whether it speaks MTP; that is done again only when a device comes or goes, not on
// every pass of the refresher. A phone that another program holds (a
// file manager's MTP mount claims the USB interface) is told apart from other failures by
// trying to claim its interface; one another Veltrane run has (a lock on its place on the bus,
// held with the opened device) is not touched at all. A phone answering "busy" is tried again
// for a few seconds; one that goes while it is opened is said to be gone.
class LibmtpDeviceManager : public PortableDeviceManager
{
public:
    QList<PortableDeviceRecord> enumerate() override;
    std::unique_ptr<PortableDevice> open(const PortableDeviceRecord& aRecord, qint32& aResult,
                                         QString& aFriendlyName) override;
    QString openFailure() const override;

    static constexpr int kOpenAttempts = 4;
    static constexpr unsigned long kOpenPauseMs = 1000;

private:
    void failOpen(qint32& aResult, qint32 aCode, const QString& aReason);

    mutable QMutex mMutex;
    QHash<QString, LIBMTP_raw_device_t> mRawDevices; // by record id, from the last enumeration
    QString mOpenFailure;
    UsbDeviceSet mUsbDevices;
    QByteArray mDetectedSignature; // the USB devices when libmtp last looked
    QList<PortableDeviceRecord> mDetected;
};

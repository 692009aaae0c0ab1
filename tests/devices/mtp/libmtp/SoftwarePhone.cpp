#include "devices/mtp/libmtp/SoftwarePhone.h"

#include <QThread>
#include <QtEndian>

// glib names a member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <umockdev.h>
#pragma pop_macro("signals")

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <linux/usbdevice_fs.h>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr int kPacket = 512;
constexpr uint8_t kBulkIn = 0x81;
constexpr uint8_t kBulkOut = 0x02;

// The device, configuration, interface and three endpoint descriptors of an Android phone in
// MTP mode (Google's vendor and product numbers, which libmtp knows).
// clang-format off
const char* const kDescriptors =
    "12010002000000" "40" "d118" "e14e" "4004" "010203" "01"          // device
    "0902" "2700" "0101" "00" "80" "fa"                               // configuration
    "0904" "00" "00" "03" "ff" "ff" "00" "00"                         // interface
    "0705" "81" "02" "0002" "00" "0705" "02" "02" "0002" "00"         // bulk in, bulk out
    "0705" "83" "03" "1c00" "06";                                     // interrupt
// clang-format on

usbdevfs_urb* urbOf(UMockdevIoctlData* aData)
{
    return reinterpret_cast<usbdevfs_urb*>(aData->data);
}

} // namespace

void SoftwarePhone::runUnderUmockdev(char** aArgv)
{
    const char* preload = std::getenv("LD_PRELOAD");
    if (!preload || !std::strstr(preload, "libumockdev-preload")) {
        std::string list = "libumockdev-preload.so.0";
        if (preload && *preload)
            list += std::string(":") + preload;
        setenv("LD_PRELOAD", list.c_str(), 1);
        execv("/proc/self/exe", aArgv);
        std::perror("execv");
        std::exit(1);
    }
    testbed();
}

UMockdevTestbed* SoftwarePhone::testbed()
{
    static UMockdevTestbed* bed = umockdev_testbed_new();
    return bed;
}

SoftwarePhone::SoftwarePhone(int aAddress) : mAddress(aAddress)
{
    const QString name = QStringLiteral("1-%1").arg(aAddress);
    mSysPath = QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0/usb1/") + name;
    mDevNode = QStringLiteral("/dev/bus/usb/001/%1").arg(aAddress, 3, 10, QLatin1Char('0'));
    const QString record =
        QStringLiteral("P: /devices/pci0000:00/0000:00:14.0/usb1/%1\n"
                       "N: bus/usb/001/%2\n"
                       "E: BUSNUM=001\nE: DEVNUM=%2\nE: DEVNAME=/dev/bus/usb/001/%2\n"
                       "E: DEVTYPE=usb_device\nE: DRIVER=usb\nE: SUBSYSTEM=usb\n"
                       "E: ID_VENDOR_ID=18d1\nE: ID_MODEL_ID=4ee1\nE: PRODUCT=18d1/4ee1/440\n"
                       "E: MAJOR=189\nE: MINOR=%3\n"
                       "A: busnum=1\nA: devnum=%4\nA: idVendor=18d1\nA: idProduct=4ee1\nA: speed=480\n"
                       "A: bConfigurationValue=1\nA: bNumConfigurations=1\nA: bNumInterfaces= 1\n"
                       "A: manufacturer=Google\nA: product=Pixel 7\nA: serial=ABC123\n"
                       "H: descriptors=%5\n")
            .arg(name)
            .arg(aAddress, 3, 10, QLatin1Char('0'))
            .arg(aAddress - 1)
            .arg(aAddress)
            .arg(QString::fromLatin1(kDescriptors));
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed(), record.toUtf8().constData(), &error)) {
        qWarning("umockdev: %s", error ? error->message : "device not added");
        g_clear_error(&error);
    }
    mHandler = umockdev_ioctl_base_new();
    g_signal_connect(mHandler, "handle-ioctl", G_CALLBACK(&SoftwarePhone::onIoctl), this);
    g_signal_connect(mHandler, "client-vanished", G_CALLBACK(&SoftwarePhone::onClientVanished), this);
    if (!umockdev_testbed_attach_ioctl(testbed(), mDevNode.toUtf8().constData(), mHandler, &error)) {
        qWarning("umockdev: %s", error ? error->message : "ioctl handler not attached");
        g_clear_error(&error);
    }
    umockdev_testbed_uevent(testbed(), mSysPath.toUtf8().constData(), "add");
}

SoftwarePhone::~SoftwarePhone()
{
    unplug();
    if (mRemover.joinable())
        mRemover.join();
    GError* error = nullptr;
    umockdev_testbed_detach_ioctl(testbed(), mDevNode.toUtf8().constData(), &error);
    g_clear_error(&error);
    g_signal_handlers_disconnect_by_data(mHandler, this);
    QMutexLocker locker(&mMutex);
    for (QList<Urb>* list : {&mPending, &mFinished}) {
        for (Urb& urb : *list)
            release(urb);
    }
    if (mClaimer)
        g_object_unref(mClaimer);
    locker.unlock();
    g_object_unref(mHandler);
}

void SoftwarePhone::pullCable()
{
    // What was on its way stops: the host's URBs end with "no device", its node and sysfs
    // entry go, and udev says so.
    for (Urb& urb : mPending)
        finish(urb, -ENODEV, 0);
    mFinished.append(mPending);
    mPending.clear();
    if (mSysPath.isEmpty())
        return;
    mPluggedIn = false;
    const QByteArray sysPath = mSysPath.toUtf8();
    mSysPath.clear();
    // The node goes a moment later, from another thread: the handler that may be calling
    // this can't wait for umockdev, which waits for the handler.
    mRemover = std::thread([sysPath] {
        umockdev_testbed_uevent(testbed(), sysPath.constData(), "remove");
        umockdev_testbed_remove_device(testbed(), sysPath.constData());
    });
}

void SoftwarePhone::withResponder(const std::function<void(MtpResponder&)>& aAction)
{
    QMutexLocker locker(&mMutex);
    aAction(mResponder);
}

void SoftwarePhone::setHeldByAnotherProgram(bool aHeld)
{
    QMutexLocker locker(&mMutex);
    mHeld = aHeld;
}

void SoftwarePhone::unplugAfterBytes(qint64 aBytes)
{
    QMutexLocker locker(&mMutex);
    mUnplugAfter = aBytes;
}

void SoftwarePhone::unplug()
{
    QMutexLocker locker(&mMutex);
    pullCable();
}

void SoftwarePhone::unplugAtOperation(uint16_t aOperation)
{
    QMutexLocker locker(&mMutex);
    mUnplugAtOperation = aOperation;
}

void SoftwarePhone::breakLink()
{
    QMutexLocker locker(&mMutex);
    mLinkDead = true;
    for (Urb& urb : mPending)
        finish(urb, -ENODEV, 0);
    mFinished.append(mPending);
    mPending.clear();
}

void SoftwarePhone::setOperationDelay(int aMilliseconds)
{
    QMutexLocker locker(&mMutex);
    mOperationDelayMs = aMilliseconds;
}

bool SoftwarePhone::pluggedIn() const
{
    QMutexLocker locker(&mMutex);
    return mPluggedIn;
}

int SoftwarePhone::cancelRequests() const
{
    QMutexLocker locker(&mMutex);
    return mCancelRequests;
}

int SoftwarePhone::zeroLengthPacketsReceived() const
{
    QMutexLocker locker(&mMutex);
    return mZeroReceived;
}

int SoftwarePhone::zeroLengthPacketsSent() const
{
    QMutexLocker locker(&mMutex);
    return mZeroSent;
}

void SoftwarePhone::release(Urb& aUrb)
{
    if (aUrb.buffer)
        g_object_unref(aUrb.buffer);
    if (aUrb.client)
        g_object_unref(aUrb.client);
    g_object_unref(aUrb.urb);
}

void SoftwarePhone::onClientVanished(UMockdevIoctlBase*, UMockdevIoctlClient* aClient, void* aSelf)
{
    auto* self = static_cast<SoftwarePhone*>(aSelf);
    QMutexLocker locker(&self->mMutex);
    bool had = false;
    for (QList<Urb>* list : {&self->mPending, &self->mFinished}) {
        for (qsizetype i = 0; i < list->size();) {
            if ((*list)[i].client == aClient) {
                release((*list)[i]);
                list->removeAt(i);
                had = true;
            } else {
                ++i;
            }
        }
    }
    if (had) {
        self->mOut.clear();
        self->mIn.clear();
    }
    if (self->mClaimer == aClient) {
        g_object_unref(self->mClaimer);
        self->mClaimer = nullptr;
    }
}

int SoftwarePhone::onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* aClient, void* aSelf)
{
    return static_cast<SoftwarePhone*>(aSelf)->handle(aClient);
}

void SoftwarePhone::finish(Urb& aUrb, int aStatus, int aActualLength)
{
    urbOf(aUrb.urb)->status = aStatus;
    urbOf(aUrb.urb)->actual_length = aActualLength;
}

int SoftwarePhone::handle(UMockdevIoctlClient* aClient)
{
    const gulong request = umockdev_ioctl_client_get_request(aClient);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(aClient);
    GError* error = nullptr;
    QMutexLocker locker(&mMutex);
    const auto complete = [&](long aResult, int aErrno) {
        umockdev_ioctl_client_complete(aClient, aResult, aErrno);
        return 1;
    };
    // After the cable is pulled (or the link failed), only what was under way can still be
    // reaped.
    const bool reachable = mPluggedIn && !mLinkDead;
    if (!reachable && request != USBDEVFS_REAPURB && request != USBDEVFS_REAPURBNDELAY)
        return complete(-1, ENODEV);
    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(uint32_t), &error);
        if (!caps)
            return complete(-1, EFAULT);
        *reinterpret_cast<uint32_t*>(caps->data) =
            USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_BULK_SCATTER_GATHER |
            USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
        g_object_unref(caps);
        return complete(0, 0);
    }
    case USBDEVFS_CLAIMINTERFACE:
        // As the kernel does: an interface is claimed by one open descriptor at a time.
        if (mHeld || (mClaimer && mClaimer != aClient && umockdev_ioctl_client_get_connected(mClaimer)))
            return complete(-1, EBUSY);
        if (mClaimer != aClient) {
            if (mClaimer)
                g_object_unref(mClaimer);
            mClaimer = static_cast<UMockdevIoctlClient*>(g_object_ref(aClient));
        }
        return complete(0, 0);
    case USBDEVFS_RELEASEINTERFACE:
        if (mClaimer == aClient) {
            g_object_unref(mClaimer);
            mClaimer = nullptr;
        }
        return complete(0, 0);
    case USBDEVFS_SETCONFIGURATION:
    case USBDEVFS_SETINTERFACE:
    case USBDEVFS_CLEAR_HALT:
    case USBDEVFS_RESETEP:
    case USBDEVFS_RESET:
        return complete(0, 0);
    case USBDEVFS_GETDRIVER:
        return complete(-1, ENODATA); // no kernel driver holds it
    case USBDEVFS_SUBMITURB: {
        UMockdevIoctlData* urb = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), &error);
        if (!urb) {
            g_clear_error(&error);
            return complete(-1, EFAULT);
        }
        submit(urb, aClient);
        return complete(0, 0);
    }
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY: {
        feedInUrbs();
        if (mFinished.isEmpty())
            return complete(-1, reachable ? EAGAIN : ENODEV);
        const Urb urb = mFinished.takeFirst();
        UMockdevIoctlData* slot = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), &error);
        if (!slot) {
            g_clear_error(&error);
            mFinished.prepend(urb);
            return complete(-1, EFAULT);
        }
        umockdev_ioctl_data_set_ptr(slot, 0, urb.urb);
        g_object_unref(slot);
        Urb reaped = urb;
        release(reaped);
        return complete(0, 0);
    }
    case USBDEVFS_DISCARDURB: {
        // The argument is the URB's own address in the host.
        const gulong address = *reinterpret_cast<const gulong*>(arg->data);
        for (qsizetype i = 0; i < mPending.size(); ++i) {
            if (mPending[i].urb->client_addr == address) {
                Urb urb = mPending.takeAt(i);
                finish(urb, -ENOENT, 0);
                mFinished.append(urb);
                return complete(0, 0);
            }
        }
        return complete(-1, EINVAL);
    }
    default:
        return complete(-1, ENOTTY);
    }
}

void SoftwarePhone::submit(UMockdevIoctlData* aUrb, UMockdevIoctlClient* aClient)
{
    Urb urb{aUrb, nullptr, static_cast<UMockdevIoctlClient*>(g_object_ref(aClient))};
    usbdevfs_urb* raw = urbOf(aUrb);
    if (raw->buffer_length > 0) {
        GError* error = nullptr;
        urb.buffer = umockdev_ioctl_data_resolve(aUrb, offsetof(usbdevfs_urb, buffer),
                                                 static_cast<gsize>(raw->buffer_length), &error);
        g_clear_error(&error);
    }
    if (raw->type == USBDEVFS_URB_TYPE_CONTROL) {
        control(urb);
        mFinished.append(urb);
    } else if (raw->endpoint == kBulkOut) {
        bulkOut(urb);
        mFinished.append(urb);
    } else {
        mPending.append(urb); // IN: finished when the device has something to send
        feedInUrbs();
    }
}

void SoftwarePhone::control(Urb& aUrb)
{
    usbdevfs_urb* raw = urbOf(aUrb.urb);
    if (!aUrb.buffer || raw->buffer_length < 8) {
        finish(aUrb, -EPIPE, 0);
        return;
    }
    uint8_t* setup = aUrb.buffer->data;
    uint8_t* data = setup + 8;
    const uint8_t requestType = setup[0];
    const uint8_t request = setup[1];
    const int length = qMin<int>(qFromLittleEndian<uint16_t>(setup + 6), raw->buffer_length - 8);
    if (requestType == 0x82 && request == 0x00 && length >= 2) { // endpoint status: not halted
        data[0] = data[1] = 0;
        finish(aUrb, 0, 2);
    } else if (requestType == 0xA1 && request == 0x67 && length >= 4) { // device status
        qToLittleEndian<uint16_t>(4, data);
        qToLittleEndian<uint16_t>(mResponder.deviceStatus(), data + 2);
        finish(aUrb, 0, 4);
    } else if (requestType == 0x21 && request == 0x64) { // cancel the transaction
        ++mCancelRequests;
        mResponder.abandon(mOut);
        mOut.clear();
        mIn.clear();
        finish(aUrb, 0, length);
    } else {
        finish(aUrb, -EPIPE, 0);
    }
}

void SoftwarePhone::bulkOut(Urb& aUrb)
{
    const int length = urbOf(aUrb.urb)->buffer_length;
    if (length == 0) {
        ++mZeroReceived;
        finish(aUrb, 0, 0);
        return;
    }
    QByteArray bytes(reinterpret_cast<const char*>(aUrb.buffer->data), length);
    if (mUnplugAfter >= 0 && length > mUnplugAfter) {
        // The cable goes in the middle of this packet: the phone keeps what arrived.
        mOut += bytes.left(static_cast<int>(mUnplugAfter));
        mResponder.abandon(mOut);
        mOut.clear();
        mUnplugAfter = -1;
        finish(aUrb, -ENODEV, 0);
        pullCable();
        return;
    }
    if (mUnplugAfter >= 0)
        mUnplugAfter -= length;
    mOut += bytes;
    finish(aUrb, 0, length);
    // Whole containers go to the responder; its answers are the device's next transfers.
    while (mOut.size() >= 12) {
        const uint32_t containerLength = qFromLittleEndian<uint32_t>(mOut.constData());
        if (containerLength < 12) {
            mOut.clear();
            break;
        }
        if (static_cast<uint32_t>(mOut.size()) < containerLength)
            break;
        const QByteArray container = mOut.left(static_cast<int>(containerLength));
        mOut.remove(0, static_cast<int>(containerLength));
        const bool command = qFromLittleEndian<uint16_t>(container.constData() + 4) == 1;
        if (command && qFromLittleEndian<uint16_t>(container.constData() + 6) == mUnplugAtOperation) {
            mOut.clear();
            mUnplugAtOperation = -1;
            pullCable();
            return;
        }
        if (command && mOperationDelayMs > 0)
            QThread::msleep(static_cast<unsigned long>(mOperationDelayMs));
        for (const QByteArray& answer : mResponder.receive(container))
            mIn.append({answer, 0});
    }
}

void SoftwarePhone::feedInUrbs()
{
    for (qsizetype i = 0; i < mPending.size() && !mIn.isEmpty();) {
        Urb& urb = mPending[i];
        usbdevfs_urb* raw = urbOf(urb.urb);
        if (raw->endpoint != kBulkIn) {
            ++i;
            continue;
        }
        InTransfer& transfer = mIn.first();
        const int remaining = transfer.bytes.size() - transfer.offset;
        int copied = 0;
        if (remaining > 0) {
            copied = qMin(remaining, raw->buffer_length);
            if (copied > 0 && urb.buffer)
                std::memcpy(urb.buffer->data, transfer.bytes.constData() + transfer.offset,
                            static_cast<size_t>(copied));
            transfer.offset += copied;
            // The transfer ends with a short packet, or with a zero-length packet after a full
            // one: that ends this URB too when it had room left; else the zero-length packet
            // is the next URB's.
            const bool whole = transfer.offset == transfer.bytes.size();
            const bool endsOnPacket = transfer.bytes.size() % kPacket == 0;
            if (whole && endsOnPacket && copied < raw->buffer_length)
                ++mZeroSent;
            if (whole && (!endsOnPacket || copied < raw->buffer_length))
                mIn.removeFirst();
        } else {
            ++mZeroSent;
            mIn.removeFirst();
        }
        finish(urb, 0, copied);
        mFinished.append(urb);
        mPending.removeAt(i);
    }
}

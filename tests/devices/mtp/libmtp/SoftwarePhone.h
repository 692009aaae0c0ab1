#pragma once

// An Android phone on a software USB bus, for the real libmtp and libusb: umockdev describes
// the device in a sysfs of its own and hands every ioctl on its device node to this class, which
// answers as the kernel's usbfs would (URBs submitted, reaped, discarded; control requests on
// endpoint 0) with an MTP responder behind the bulk endpoints. Packets are 512 bytes: a device
// transfer that ends on a packet boundary is followed by a zero-length packet, as on a real bus.
// Tests run in a process whose libc calls go through umockdev's preload library (see the test's
// main). One testbed per process; phones are plugged in and out of it.
#include "devices/mtp/libmtp/MtpResponder.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>

#include <functional>
#include <thread>

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevIoctlData UMockdevIoctlData;

class SoftwarePhone
{
public:
    // The process's testbed: made before anything starts libusb (libusb enumerates at its start
    // and learns of later devices through uevents).
    static UMockdevTestbed* testbed();
    // Starts the program again with umockdev's preload library in front of libc, unless it runs
    // so already; then makes the testbed. First thing in main.
    static void runUnderUmockdev(char** aArgv);

    // A phone plugged in at bus 1, address aAddress.
    explicit SoftwarePhone(int aAddress = 5);
    ~SoftwarePhone();
    SoftwarePhone(const SoftwarePhone&) = delete;
    SoftwarePhone& operator=(const SoftwarePhone&) = delete;

    // The phone's content and settings, with the lock held.
    void withResponder(const std::function<void(MtpResponder&)>& aAction);
    // Another program has claimed the phone's interface (a file manager's MTP mount).
    void setHeldByAnotherProgram(bool aHeld);
    // The cable goes once the host has sent aBytes more bytes.
    void unplugAfterBytes(qint64 aBytes);
    void unplug();
    bool pluggedIn() const;
    // The cable goes when the host sends the command aOperation (an open that meets no phone).
    void unplugAtOperation(uint16_t aOperation);
    // The link fails while the device's node stays: every transfer ends with "no such device".
    void breakLink();
    // Every command is answered aMilliseconds late, as a real phone's round trip is.
    void setOperationDelay(int aMilliseconds);

    int cancelRequests() const;
    int zeroLengthPacketsReceived() const;
    int zeroLengthPacketsSent() const;

private:
    struct Urb
    {
        UMockdevIoctlData* urb = nullptr;
        UMockdevIoctlData* buffer = nullptr;
        UMockdevIoctlClient* client = nullptr; // the descriptor it was submitted on
    };
    struct InTransfer
    {
        QByteArray bytes;
        int offset = 0;
    };

    static int onIoctl(UMockdevIoctlBase* aHandler, UMockdevIoctlClient* aClient, void* aSelf);
    // A descriptor closed: as the kernel does, what was submitted on it is dropped (its buffers
    // are the closing program's, maybe freed already), and the transaction under way with it.
    static void onClientVanished(UMockdevIoctlBase* aHandler, UMockdevIoctlClient* aClient, void* aSelf);
    static void release(Urb& aUrb);
    int handle(UMockdevIoctlClient* aClient);
    void submit(UMockdevIoctlData* aUrb, UMockdevIoctlClient* aClient);
    void control(Urb& aUrb);
    void bulkOut(Urb& aUrb);
    // Moves whatever the device has to send into the IN URBs waiting for it.
    void feedInUrbs();
    void finish(Urb& aUrb, int aStatus, int aActualLength);
    // The phone leaves the bus; the lock is held.
    void pullCable();

    mutable QMutex mMutex;
    MtpResponder mResponder;
    int mAddress;
    QString mSysPath;
    QString mDevNode;
    UMockdevIoctlBase* mHandler = nullptr;
    QList<Urb> mPending;   // submitted, not finished
    QList<Urb> mFinished;  // finished, not reaped
    QByteArray mOut;       // what the host sent of the container in progress
    QList<InTransfer> mIn; // device transfers waiting to be read
    bool mHeld = false;
    UMockdevIoctlClient* mClaimer = nullptr; // the descriptor that claimed the interface
    bool mPluggedIn = true;
    bool mLinkDead = false;
    int mUnplugAtOperation = -1;
    int mOperationDelayMs = 0;
    qint64 mUnplugAfter = -1;
    int mCancelRequests = 0;
    int mZeroReceived = 0;
    int mZeroSent = 0;
    std::thread mRemover;
};

#pragma once

#include <cstdint>

// Questions about a USB device by its bus and address, asked through a libusb context of its own
// (not libmtp's): whether it is still connected, and whether another program has claimed it.
namespace UsbProbe {

bool present(uint32_t aBus, uint8_t aAddress);
// False when the device's node is there but the device doesn't answer ("no such device"): a link
// that failed, a phone gone whose node the system hasn't removed yet.
bool answers(uint32_t aBus, uint8_t aAddress);
// True when claiming one of its interfaces fails because another program holds it (a desktop
// file manager's MTP mount does).
bool claimedByAnotherProgram(uint32_t aBus, uint8_t aAddress);

} // namespace UsbProbe

#include <QByteArray>

struct libusb_context;

// The USB devices connected now, as a value that changes whenever one comes or goes (a context
// of its own that udev keeps current, so asking costs no opening of any device).
class UsbDeviceSet
{
public:
    UsbDeviceSet();
    ~UsbDeviceSet();
    UsbDeviceSet(const UsbDeviceSet&) = delete;
    UsbDeviceSet& operator=(const UsbDeviceSet&) = delete;

    // Bus, address, vendor and product of every device; empty when libusb can't be used.
    QByteArray signature();

private:
    libusb_context* mContext = nullptr;
};

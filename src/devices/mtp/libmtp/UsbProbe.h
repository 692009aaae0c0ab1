#pragma once

#include <cstdint>

// Questions about a USB device by its bus and address, asked through a libusb context of its own
// (not libmtp's): whether it is still connected, and whether another program has claimed it.
namespace UsbProbe {

bool present(uint32_t aBus, uint8_t aAddress);
// True when claiming one of its interfaces fails because another program holds it (a desktop
// file manager's MTP mount does).
bool claimedByAnotherProgram(uint32_t aBus, uint8_t aAddress);

} // namespace UsbProbe

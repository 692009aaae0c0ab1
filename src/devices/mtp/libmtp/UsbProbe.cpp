#include "devices/mtp/libmtp/UsbProbe.h"

#include <libusb.h>

#include <functional>

namespace {

// Runs aAction on the device at aBus/aAddress, when there is one; false when there is none.
bool withDevice(uint32_t aBus, uint8_t aAddress, const std::function<void(libusb_device*)>& aAction)
{
    libusb_context* context = nullptr;
    if (libusb_init(&context) != LIBUSB_SUCCESS)
        return true; // nothing can be said: take it as there
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    bool found = false;
    for (ssize_t i = 0; i < count && !found; ++i) {
        if (libusb_get_bus_number(list[i]) == aBus && libusb_get_device_address(list[i]) == aAddress) {
            found = true;
            aAction(list[i]);
        }
    }
    if (count >= 0)
        libusb_free_device_list(list, 1);
    libusb_exit(context);
    return found;
}

} // namespace

bool UsbProbe::present(uint32_t aBus, uint8_t aAddress)
{
    return withDevice(aBus, aAddress, [](libusb_device*) {});
}

bool UsbProbe::answers(uint32_t aBus, uint8_t aAddress)
{
    bool answering = false;
    const bool found = withDevice(aBus, aAddress, [&answering](libusb_device* aDevice) {
        libusb_device_handle* handle = nullptr;
        if (libusb_open(aDevice, &handle) != LIBUSB_SUCCESS)
            return;
        // Claiming asks the device's node: a claim held elsewhere (this process's libmtp) still
        // answers; a device gone says so.
        const int claimed = libusb_claim_interface(handle, 0);
        answering = claimed != LIBUSB_ERROR_NO_DEVICE;
        if (claimed == LIBUSB_SUCCESS)
            libusb_release_interface(handle, 0);
        libusb_close(handle);
    });
    return found && answering;
}

bool UsbProbe::claimedByAnotherProgram(uint32_t aBus, uint8_t aAddress)
{
    bool busy = false;
    withDevice(aBus, aAddress, [&busy](libusb_device* aDevice) {
        libusb_device_handle* handle = nullptr;
        if (libusb_open(aDevice, &handle) != LIBUSB_SUCCESS)
            return;
        libusb_config_descriptor* config = nullptr;
        if (libusb_get_active_config_descriptor(aDevice, &config) == LIBUSB_SUCCESS) {
            for (uint8_t n = 0; n < config->bNumInterfaces && !busy; ++n) {
                const int number = config->interface[n].altsetting[0].bInterfaceNumber;
                const int claimed = libusb_claim_interface(handle, number);
                if (claimed == LIBUSB_ERROR_BUSY)
                    busy = true;
                else if (claimed == LIBUSB_SUCCESS)
                    libusb_release_interface(handle, number);
            }
            libusb_free_config_descriptor(config);
        }
        libusb_close(handle);
    });
    return busy;
}

UsbDeviceSet::UsbDeviceSet()
{
    if (libusb_init(&mContext) != LIBUSB_SUCCESS)
        mContext = nullptr;
}

UsbDeviceSet::~UsbDeviceSet()
{
    if (mContext)
        libusb_exit(mContext);
}

QByteArray UsbDeviceSet::signature()
{
    if (!mContext)
        return QByteArray();
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(mContext, &list);
    QByteArray signature;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        libusb_get_device_descriptor(list[i], &descriptor);
        signature += QByteArray::number(libusb_get_bus_number(list[i])) + ':' +
                     QByteArray::number(libusb_get_device_address(list[i])) + ':' +
                     QByteArray::number(descriptor.idVendor, 16) + ':' +
                     QByteArray::number(descriptor.idProduct, 16) + ' ';
    }
    if (count >= 0)
        libusb_free_device_list(list, 1);
    return signature.isEmpty() ? QByteArrayLiteral("none") : signature;
}

#include "platform/usb/LibusbBus.h"
#include "platform/usb/RealUsbBus.h"

namespace platform {

std::unique_ptr<UsbBus> CreateRealUsbBus() {
    return CreateLibusbBus();
}

} // namespace platform

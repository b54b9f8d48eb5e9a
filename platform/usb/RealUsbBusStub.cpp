#include "platform/usb/RealUsbBus.h"

namespace platform {
namespace {

// Stands in for the host until a USB backend is built: a bus on which no printer is ever found.
class EmptyUsbBus final : public UsbBus {
  public:
    UsbStatus ListInterfaces(std::vector<std::unique_ptr<UsbInterfaceEntry>>& entries) override {
        entries.clear();
        return kUsbOk;
    }
};

} // namespace

std::unique_ptr<UsbBus> CreateRealUsbBus() {
    return std::make_unique<EmptyUsbBus>();
}

} // namespace platform

#include "platform/usb/ProcessUsbBus.h"

#include "platform/usb/RealUsbBus.h"
#include "simulator/ProcessSimulatedBus.h"

#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

std::unique_ptr<UsbBus> CreateProcessUsbBus() {
    const char* choice = std::getenv("LM360R_USB");
    if (choice != nullptr && std::string_view(choice) == "simulated") {
        return simulator::CreateProcessSimulatedBus(std::getenv("LM360R_SIM_STATE"));
    }
    return CreateRealUsbBus();
}

} // namespace

UsbBus& ProcessUsbBus() {
    static const std::unique_ptr<UsbBus> bus = CreateProcessUsbBus();
    return *bus;
}

} // namespace platform

#include "usb/BusChoice.h"

#include "platform/usbhost/libusb/LibusbBus.h"
#include "simulator/ProcessSimulatedBus.h"

#include <cstdlib>
#include <string_view>

std::unique_ptr<platform::UsbBus> ChooseUsbBus(const BusOptions& options) {
    const char* choice = std::getenv("LM360R_USB");
    if (choice != nullptr && std::string_view(choice) == "simulated") {
        return simulator::CreateProcessSimulatedBus(std::getenv("LM360R_SIM_STATE"));
    }
    return platform::CreateLibusbBus(options.libusb);
}

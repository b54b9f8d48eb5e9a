#include "platform/usb/InterfaceSysfs.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

namespace fs = std::filesystem;

fs::path SysfsEntry(const InterfaceLocation& location) {
    return fs::path("/sys/bus/usb/devices") / location.SysfsName();
}

} // namespace

std::string InterfaceLocation::SysfsName() const {
    return std::to_string(bus) + "-" + ports + ":" + std::to_string(configuration) + "." +
           std::to_string(interface);
}

std::string InterfaceLocation::UsbfsNode() const {
    char node[32];
    std::snprintf(node, sizeof node, "/dev/bus/usb/%03d/%03d", bus, address);
    return node;
}

std::string BoundDriver(const InterfaceLocation& location) {
    std::error_code error;
    const fs::path driver = fs::read_symlink(SysfsEntry(location) / "driver", error);
    return error ? std::string() : driver.filename().string();
}

std::string PrinterNode(const InterfaceLocation& location) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(SysfsEntry(location) / "usbmisc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("lp")) {
            return "/dev/usb/" + name;
        }
    }
    return {};
}

} // namespace platform

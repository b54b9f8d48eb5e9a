#include "platform/usb/libusb/InterfaceSysfs.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace platform {
namespace {

namespace fs = std::filesystem;

const fs::path kDevices = "/sys/bus/usb/devices";

fs::path SysfsEntry(const InterfaceLocation& location) {
    return kDevices / location.SysfsName();
}

// A sysfs attribute's one line, without its newline; nullopt when there is no such attribute.
std::optional<std::string> ReadLine(const fs::path& path) {
    std::ifstream file(path);
    std::string line;
    if (!file || !std::getline(file, line)) {
        return std::nullopt;
    }
    return line;
}

} // namespace

std::string InterfaceLocation::DeviceSysfsName() const {
    return std::to_string(bus) + "-" + ports;
}

std::string InterfaceLocation::SysfsName() const {
    return DeviceSysfsName() + ":" + std::to_string(configuration) + "." + std::to_string(interface);
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

std::optional<ShownStrings> DeviceStrings(const InterfaceLocation& location) {
    const fs::path device = kDevices / location.DeviceSysfsName();
    std::error_code error;
    if (location.ports.empty() || !fs::is_directory(device, error)) {
        return std::nullopt;
    }
    return ShownStrings{ReadLine(device / "manufacturer"), ReadLine(device / "product")};
}

} // namespace platform

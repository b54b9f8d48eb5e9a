#include "platform/usb/libusb/InterfaceSysfs.h"

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

InterfaceView ViewOf(const InterfaceLocation& location) {
    InterfaceView view;
    const fs::path entry = SysfsEntry(location);
    std::error_code error;
    if (location.ports.empty() || !fs::is_directory(entry, error)) {
        // Gone with its device, or never shown (another platform, an emulated bus): the device says
        // which when it is next asked.
        const std::optional<std::string> address = ReadLine(kDevices / location.DeviceSysfsName() / "devnum");
        view.plugged = !address || *address == std::to_string(location.address);
        return view;
    }
    view.shown = true;
    if (const std::optional<std::string> address =
            ReadLine(kDevices / location.DeviceSysfsName() / "devnum")) {
        view.plugged = *address == std::to_string(location.address);
    }
    const fs::path driver = fs::read_symlink(entry / "driver", error);
    if (!error) {
        view.driver = driver.filename().string();
    }
    for (const auto& child : fs::directory_iterator(entry / "usbmisc", error)) {
        const std::string name = child.path().filename().string();
        if (name.starts_with("lp")) {
            view.node = "/dev/usb/" + name;
            break;
        }
    }
    return view;
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

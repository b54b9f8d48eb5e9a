#include "platform/usbhost/libusb/InterfaceSysfs.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

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

std::chrono::milliseconds PlugAge(const InterfaceLocation& location) {
    char usbfsNode[32];
    std::snprintf(usbfsNode, sizeof usbfsNode, "/dev/bus/usb/%03d/%03d", location.bus, location.address);
    struct stat status {};
    timespec now{};
    if (stat(usbfsNode, &status) != 0 || clock_gettime(CLOCK_REALTIME, &now) != 0) {
        return std::chrono::hours(1);
    }
    const auto made =
        std::chrono::seconds(status.st_ctim.tv_sec) + std::chrono::nanoseconds(status.st_ctim.tv_nsec);
    const auto then = std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
    return std::chrono::duration_cast<std::chrono::milliseconds>(then - made);
}

std::optional<int> ActiveConfiguration(const InterfaceLocation& location) {
    if (location.ports.empty()) {
        return std::nullopt;
    }
    const std::optional<std::string> value =
        ReadLine(kDevices / location.DeviceSysfsName() / "bConfigurationValue");
    if (!value) {
        return std::nullopt;
    }
    // An unconfigured device shows an empty value.
    return value->empty() ? 0 : std::atoi(value->c_str());
}

std::optional<std::vector<std::string>> NamesIn(const std::string& folder) {
    struct Closer {
        void operator()(DIR* dir) const { closedir(dir); }
    };
    const std::unique_ptr<DIR, Closer> dir(opendir(folder.c_str()));
    if (!dir) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir.get())) {
        if (entry->d_name[0] != '.') {
            names.emplace_back(entry->d_name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Every exchange looks, so it asks as little as it can: a slow machine feels each question.
InterfaceView ViewOf(const InterfaceLocation& location, const std::string& knownNode) {
    InterfaceView view;
    char usbfsNode[32];
    std::snprintf(usbfsNode, sizeof usbfsNode, "/dev/bus/usb/%03d/%03d", location.bus, location.address);
    struct stat status {};
    // The usbfs node is the plug's own: another plug of the device has another address.
    view.plugged = location.ports.empty() || stat(usbfsNode, &status) == 0 || errno != ENOENT;
    const fs::path entry = SysfsEntry(location);
    char driver[PATH_MAX];
    const ssize_t length = readlink((entry / "driver").c_str(), driver, sizeof driver - 1);
    if (length > 0) {
        view.shown = true;
        view.driver = fs::path(std::string(driver, static_cast<std::size_t>(length))).filename().string();
    } else {
        std::error_code error;
        view.shown = !location.ports.empty() && fs::is_directory(entry, error);
    }
    if (view.driver.empty()) {
        return view;
    }
    // usblp names its node once when it binds: while the name is still the interface's, it is the node.
    struct stat known {};
    if (!knownNode.empty() && stat((entry / "usbmisc" / knownNode).c_str(), &known) == 0) {
        view.node = "/dev/usb/" + knownNode;
        return view;
    }
    for (const std::string& name :
         NamesIn((entry / "usbmisc").string()).value_or(std::vector<std::string>{})) {
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

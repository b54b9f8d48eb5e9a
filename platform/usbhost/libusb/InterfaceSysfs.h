#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Where the kernel shows one USB interface: its sysfs entry (driver link, usblp's device node). Linux
// only; elsewhere every query finds nothing.
struct InterfaceLocation {
    int bus = 0;
    std::string ports; // "1" or "1.4": the port path from the root hub
    int address = 0;   // changes on every plug, so it tells one plug of the device from the next
    int configuration = 0;
    int interface = 0;

    std::string DeviceSysfsName() const; // "1-1": the device the interface belongs to
    std::string SysfsName() const;       // "1-1:1.0"
};

// The kernel's printer driver, and the name under which sysfs shows a program's claim through usbfs.
inline constexpr const char* kPrinterDriver = "usblp";
inline constexpr const char* kProgramClaim = "usbfs";

// What the kernel shows of the interface now.
struct InterfaceView {
    bool shown = false;  // sysfs has an entry for the interface; without one nothing else is known
    bool plugged = true; // the device is still the one listed (same address); false once it went
    std::string driver;  // bound to the interface ("usblp", "usbfs"), or empty
    std::string node;    // usblp's device node ("/dev/usb/lp0"), or empty
};
// `knownNode`: the name ("lp0") the interface's node had when last seen, looked at first.
InterfaceView ViewOf(const InterfaceLocation& location, const std::string& knownNode = {});

// How long ago the device was plugged in (its usbfs node made); long ago when that cannot be told.
std::chrono::milliseconds PlugAge(const InterfaceLocation& location);

// The device's active configuration (0: none); nullopt when sysfs does not show the device.
std::optional<int> ActiveConfiguration(const InterfaceLocation& location);

// The names in a folder, sorted, without the dot entries; nullopt when it cannot be read.
std::optional<std::vector<std::string>> NamesIn(const std::string& folder);

// The device's manufacturer and product strings as the kernel shows them (read from the device when
// it was plugged in); nullopt when sysfs has no entry for the device, an unset string when it has none.
struct ShownStrings {
    std::optional<std::string> manufacturer;
    std::optional<std::string> product;
};
std::optional<ShownStrings> DeviceStrings(const InterfaceLocation& location);

} // namespace platform

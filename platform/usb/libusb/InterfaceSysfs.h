#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Where the kernel shows one USB interface: its sysfs entry (driver link, usblp's device node) and its
// device's usbfs node. Linux only; elsewhere every query finds nothing.
struct InterfaceLocation {
    int bus = 0;
    std::string ports; // "1" or "1.4": the port path from the root hub
    int address = 0;   // changes on every plug, so it tells one plug of the device from the next
    int configuration = 0;
    int interface = 0;

    std::string DeviceSysfsName() const; // "1-1": the device the interface belongs to
    std::string SysfsName() const;       // "1-1:1.0"
    std::string UsbfsNode() const;       // "/dev/bus/usb/001/002"
};

// The kernel driver bound to the interface ("usblp", "usbfs" for a program's claim), or empty.
std::string BoundDriver(const InterfaceLocation& location);
// usblp's device node for the interface ("/dev/usb/lp0"), or empty when usblp has none.
std::string PrinterNode(const InterfaceLocation& location);

// The device's manufacturer and product strings as the kernel shows them (read from the device when
// it was plugged in); nullopt when sysfs has no entry for the device, an unset string when it has none.
struct ShownStrings {
    std::optional<std::string> manufacturer;
    std::optional<std::string> product;
};
std::optional<ShownStrings> DeviceStrings(const InterfaceLocation& location);

} // namespace platform

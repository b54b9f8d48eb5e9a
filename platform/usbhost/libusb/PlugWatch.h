#pragma once

// Private to the libusb backend.

#include "platform/usbhost/libusb/FileDescriptor.h"

#include <memory>

namespace platform::libusb {

// Tells whether a device was plugged in or out since the watch began, by the usbfs nodes the kernel
// makes and removes for every plug (/dev/bus/usb/BBB/DDD), without asking anyone: one read that finds
// nothing when nothing changed. Needs no udev and no hot-plug support of libusb's.
class PlugWatch {
  public:
    // nullptr where the nodes cannot be watched.
    static std::unique_ptr<PlugWatch> Start();

    explicit PlugWatch(FileDescriptor inotify) : inotify_(std::move(inotify)) {}
    // True once anything came or went; it stays true.
    bool Changed();

  private:
    FileDescriptor inotify_;
    bool changed_ = false;
};

} // namespace platform::libusb

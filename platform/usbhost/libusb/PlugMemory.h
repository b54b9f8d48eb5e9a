#pragma once

// Private to the libusb backend.

#include "platform/usbhost/UsbInterface.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace platform::libusb {

// One plug of one device: the bus and the address it got when it was plugged in, which the next plug
// does not get.
struct Plug {
    int bus = 0;
    int address = 0;
    auto operator<=>(const Plug&) const = default;
};

// What the bus has learnt of each plug that does not change while it stays plugged in: its answers to
// the requests that tell who it is (device and string descriptors, the IEEE 1284 device ID), and the
// name of usblp's node for an interface. Every exchange finds its printer again by them, and a slow
// machine feels each question of the device or of sysfs. Kept for as long as the plug is listed;
// shared by the bus and the interfaces it hands out, from any thread.
class PlugMemory {
  public:
    static bool Kept(const UsbDevRequest& request);

    // Fills the request's data from an earlier answer; false when there is none.
    bool Answer(const Plug& plug, UsbDevRequest& request) const;
    void Keep(const Plug& plug, const UsbDevRequest& request);

    // The name ("lp0") last seen for the interface's node; empty when none was.
    std::string NodeName(const Plug& plug, int interface) const;
    void KeepNodeName(const Plug& plug, int interface, const std::string& name);

    // After a listing: what was learnt of plugs no longer there goes.
    void KeepOnly(const std::set<Plug>& listed);

  private:
    using Question = std::tuple<std::uint8_t, std::uint8_t, std::uint16_t, std::uint16_t, std::uint16_t>;
    static Question QuestionOf(const UsbDevRequest& request);
    struct Learnt {
        std::map<Question, std::vector<std::uint8_t>> answers;
        std::map<int, std::string> nodeNames;
    };

    mutable std::mutex mutex_;
    std::map<Plug, Learnt> plugs_;
};

} // namespace platform::libusb

#include "platform/usbhost/libusb/PlugWatch.h"

#include "platform/usbhost/libusb/InterfaceSysfs.h"

#include <cerrno>
#include <string>
#include <sys/inotify.h>

namespace platform::libusb {
namespace {

const std::string kNodes = "/dev/bus/usb";
constexpr std::uint32_t kComingAndGoing = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

} // namespace

std::unique_ptr<PlugWatch> PlugWatch::Start() {
    FileDescriptor inotify(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (inotify.get() < 0 || inotify_add_watch(inotify.get(), kNodes.c_str(), kComingAndGoing) < 0) {
        return nullptr;
    }
    for (const std::string& bus : NamesIn(kNodes).value_or(std::vector<std::string>{})) {
        if (inotify_add_watch(inotify.get(), (kNodes + "/" + bus).c_str(), kComingAndGoing) < 0) {
            return nullptr;
        }
    }
    return std::make_unique<PlugWatch>(std::move(inotify));
}

bool PlugWatch::Changed() {
    alignas(inotify_event) char events[4096];
    while (!changed_) {
        const ssize_t got = read(inotify_.get(), events, sizeof events);
        if (got > 0) {
            changed_ = true;
        } else if (got == 0 || errno != EINTR) {
            // EAGAIN: nothing came or went. Any other failure: nobody can tell, so assume a change.
            changed_ = got < 0 && errno != EAGAIN;
            break;
        }
    }
    return changed_;
}

} // namespace platform::libusb

#include "platform/usbhost/libusb/NodeRoute.h"

#include "platform/usbhost/libusb/LibusbInterface.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <time.h>

namespace platform::libusb {
namespace {

using Clock = std::chrono::steady_clock;

// usblp's ioctl for the IEEE 1284 device ID; the size of the caller's buffer travels in its number.
constexpr unsigned long kGetDeviceIdRequest = 1;
unsigned long GetDeviceId(std::size_t size) {
    return _IOC(_IOC_READ, 'P', kGetDeviceIdRequest, size);
}

// How long after a node appeared (or had its access changed) a refusal may still be udev's work in
// progress: usblp's node comes back with the driver after another program had the printer, and the
// seat's ACL or the lp group follow it a moment later.
constexpr std::chrono::seconds kNodeSettling{10};

UsbStatus StatusOfErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return kUsbErrorAccess;
    case EBUSY:
        return kUsbErrorBusy;
    case ENODEV:
    case ENXIO:
    case ENOENT:
        return kUsbErrorNoDevice;
    case ETIMEDOUT:
        return kUsbErrorTimeout;
    case EPIPE:
        return kUsbErrorPipe;
    case EINTR:
        return kUsbErrorInterrupted;
    case ENOMEM:
        return kUsbErrorNoMem;
    case EINVAL:
        return kUsbErrorInvalidParam;
    case EIO:
        return kUsbErrorIo;
    default:
        return kUsbErrorOther;
    }
}

bool JustChanged(const std::string& node) {
    struct stat status {};
    timespec now{};
    if (stat(node.c_str(), &status) != 0 || clock_gettime(CLOCK_REALTIME, &now) != 0) {
        return false;
    }
    return now.tv_sec - status.st_ctim.tv_sec <= kNodeSettling.count();
}

int Milliseconds(Clock::duration duration) {
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(duration).count());
}

} // namespace

OpenAttempt NodeRoute::Open(const std::string& node, std::unique_ptr<PipeRoute>& route) {
    FileDescriptor fd(open(node.c_str(), O_RDWR | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error = errno;
        switch (error) {
        case EBUSY:
            return {kUsbErrorBusy, true};
        case EACCES:
        case EPERM:
            return {kUsbErrorAccess, JustChanged(node)};
        case ENOENT:
        case ENODEV:
        case ENXIO:
            // The driver let go of the printer since it was looked at: look again.
            return {kUsbErrorBusy, true};
        default:
            return {StatusOfErrno(error), false};
        }
    }
    route = std::make_unique<NodeRoute>(std::move(fd));
    return {kUsbOk, false};
}

// The driver keeps the node's file but marks it hung up when it lets go of the printer: unbound (by
// another program taking the interface) or unplugged. Which of the two, the next open tells. A transfer
// cut by an unplug fails a moment before the kernel has seen the device go: that moment is waited for
// (a halted pipe pays it once per exchange).
bool NodeRoute::DriverLetGo() const {
    pollfd ask{node_.get(), 0, 0};
    const Clock::time_point end = Clock::now() + kLettingGo;
    while (true) {
        const int ready = poll(&ask, 1, std::max(0, Milliseconds(end - Clock::now())));
        if (ready == 1) {
            return (ask.revents & POLLHUP) != 0;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

RouteResult NodeRoute::Failed(int error) {
    if (error == ENODEV || ((error == EIO || error == EPIPE) && DriverLetGo())) {
        return {kUsbErrorNoDevice, true};
    }
    // With the driver still bound, a transfer that failed is the printer's: a halted pipe, which usblp
    // never clears, among others.
    return {StatusOfErrno(error), false};
}

RouteResult NodeRoute::Write(std::uint8_t /*endpoint*/, std::span<const std::uint8_t> bytes) {
    if (ended_ != kUsbOk) {
        return {ended_, false};
    }
    // usblp waits for the printer to take a write, without end: the wait is ours to bound. The bound
    // stays armed after the write (a poll it interrupts goes on); arming it is all each write costs.
    if (!writeBound_.Arm(kWriteTimeout)) {
        return {kUsbErrorNotSupported, false};
    }
    ssize_t written = 0;
    int error = 0;
    bool expired = false;
    do {
        written = write(node_.get(), bytes.data(), bytes.size());
        error = errno;
    } while (written < 0 && error == EINTR && !(expired = writeBound_.Expired()));
    if (written == static_cast<ssize_t>(bytes.size())) {
        return {};
    }
    if (expired) {
        // Closing the node cancels the write the printer never took.
        node_.Reset();
        ended_ = kUsbErrorTimeout;
        return {ended_, false};
    }
    if (written >= 0) {
        return {kUsbErrorIo, false}; // the driver took part of the frame: not written
    }
    return Failed(error);
}

RouteResult NodeRoute::ReadPass(std::uint8_t /*endpoint*/, std::span<std::uint8_t> room,
                                std::uint32_t& delivered) {
    delivered = 0;
    if (ended_ != kUsbOk) {
        return {ended_, false};
    }
    if (room.empty()) {
        return {};
    }
    const Clock::time_point end = Clock::now() + kReadPassTimeout;
    while (true) {
        const Clock::duration left = end - Clock::now();
        if (left <= Clock::duration::zero()) {
            return {}; // the pass ends with nothing
        }
        pollfd wait{node_.get(), POLLIN, 0};
        const int ready = poll(&wait, 1, Milliseconds(left));
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return {StatusOfErrno(errno), false};
        }
        if (ready == 0) {
            continue; // the pass's time runs out above
        }
        // Readable (usblp's buffer has a completed transfer) or hung up: read says which.
        const ssize_t got = read(node_.get(), room.data(), room.size());
        if (got > 0) {
            delivered = static_cast<std::uint32_t>(got);
            return {};
        }
        if (got == 0) {
            // A zero-length packet: it delivered nothing and ends nothing; the pass waits on.
            continue;
        }
        if (errno == EINTR || errno == EAGAIN) {
            continue;
        }
        return Failed(errno);
    }
}

std::optional<UsbStatus> NodeRoute::DeviceId(std::span<std::uint8_t> buffer, std::uint32_t& done) {
    done = 0;
    if (ended_ != kUsbOk) {
        return ended_;
    }
    if (ioctl(node_.get(), GetDeviceId(buffer.size()), buffer.data()) < 0) {
        return Failed(errno).status;
    }
    // usblp copies the ID as far as its length bytes say, the buffer permitting.
    const std::size_t announced =
        buffer.size() >= 2 ? static_cast<std::size_t>(buffer[0] << 8 | buffer[1]) : 0;
    done = static_cast<std::uint32_t>(std::min(announced, buffer.size()));
    return kUsbOk;
}

} // namespace platform::libusb

#include "platform/usb/libusb/LibusbClaim.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace platform::libusb {
namespace {

using Clock = std::chrono::steady_clock;
// How long a program that let go of the interface is given to hand it back to its kernel driver.
constexpr std::chrono::milliseconds kHandBackGrace{1000};

// The node is gone with its driver or its device: nothing can be printing through it.
bool NodeAbsent(int error) {
    return error == ENOENT || error == ENODEV || error == ENXIO;
}

} // namespace

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        Reset(other.fd_);
        other.fd_ = -1;
    }
    return *this;
}

void FileDescriptor::Reset(int fd) {
    if (fd_ >= 0) {
        close(fd_);
    }
    fd_ = fd;
}

InterfaceClaim::InterfaceClaim(Passkey, libusb_device_handle* handle, const InterfaceLocation& location,
                               std::chrono::milliseconds inUseWait)
    : handle_(handle), location_(location), inUseWait_(inUseWait) {}

UsbStatus InterfaceClaim::Acquire(libusb_device_handle* handle, const InterfaceLocation& location,
                                  std::chrono::milliseconds inUseWait,
                                  std::unique_ptr<InterfaceClaim>& claim) {
    auto pending = std::make_unique<InterfaceClaim>(Passkey{}, handle, location, inUseWait);
    const Clock::time_point deadline = Clock::now() + inUseWait;
    while (true) {
        if (SignalDeferral::Pending()) {
            return LIBUSB_ERROR_INTERRUPTED;
        }
        const UsbStatus status = pending->TryOnce();
        if (status == kUsbOk) {
            claim = std::move(pending);
            return kUsbOk;
        }
        if (status != LIBUSB_ERROR_BUSY) {
            return status;
        }
        if (Clock::now() >= deadline) {
            return pending->nodeRefused_ ? LIBUSB_ERROR_ACCESS : LIBUSB_ERROR_BUSY;
        }
        std::this_thread::sleep_for(kInUsePoll);
    }
}

bool InterfaceClaim::LockDevice() {
    lock_.Reset(open(location_.UsbfsNode().c_str(), O_RDONLY | O_CLOEXEC));
    // Without the node (another platform, an emulated bus) there is no one to take turns with.
    if (lock_.get() < 0) {
        return true;
    }
    if (flock(lock_.get(), LOCK_EX | LOCK_NB) == 0) {
        return true;
    }
    const bool taken = errno == EWOULDBLOCK;
    lock_.Reset();
    return !taken; // a node that cannot be locked at all leaves nobody to take turns with either
}

std::string InterfaceClaim::CurrentDriver() const {
    std::string driver = BoundDriver(location_);
    // Where sysfs does not show the interface, usbfs still tells whether a kernel driver has it.
    if (driver.empty() && libusb_kernel_driver_active(handle_, location_.interface) == 1) {
        driver = kUnnamedDriver;
    }
    return driver;
}

UsbStatus InterfaceClaim::TryOnce() {
    if (!LockDevice()) {
        return LIBUSB_ERROR_BUSY; // another run of ours has it
    }
    GiveBackAbandoned();
    const std::string driver = CurrentDriver();
    if (driver == kProgramClaim) {
        otherProgramSeen_ = true;
        otherLetGo_.reset();
        lock_.Reset();
        return LIBUSB_ERROR_BUSY;
    }
    if (driver.empty() && otherProgramSeen_) {
        // A program just let go; it may be about to give its driver back. A moment for it, and if none
        // comes, the driver it took is given back when this claim ends.
        if (!otherLetGo_) {
            otherLetGo_ = Clock::now();
        }
        if (Clock::now() - *otherLetGo_ < kHandBackGrace) {
            lock_.Reset();
            return LIBUSB_ERROR_BUSY;
        }
        driverOwed_ = true;
        driverName_ = kUnnamedDriver;
        noted_ = ledger_.Write(location_, driverName_);
    }
    FileDescriptor jobGuard;
    nodeRefused_ = false;
    if (const std::string node = PrinterNode(location_); !node.empty()) {
        jobGuard.Reset(open(node.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (jobGuard.get() < 0 && !NodeAbsent(errno)) {
            // A print job holds the node (EBUSY), or this user may not open it and so cannot tell
            // whether one does: either way the driver stays.
            nodeRefused_ = errno == EACCES || errno == EPERM;
            lock_.Reset();
            return LIBUSB_ERROR_BUSY;
        }
    }
    if (!driver.empty()) {
        driverName_ = driver;
        noted_ = ledger_.Write(location_, driver);
        const int status = libusb_detach_kernel_driver(handle_, location_.interface);
        if (status == LIBUSB_SUCCESS) {
            driverOwed_ = true;
        } else if (status != LIBUSB_ERROR_NOT_FOUND) {
            if (noted_) {
                ledger_.RemoveOwn(location_);
                noted_ = false;
            }
            lock_.Reset();
            return status;
        }
    }
    jobGuard.Reset(); // the driver's node is gone with the driver
    if (const int status = libusb_claim_interface(handle_, location_.interface); status != LIBUSB_SUCCESS) {
        // Given back at once (the claim never lived), so the next try starts from the kernel's state.
        GiveBack();
        lock_.Reset();
        return status;
    }
    claimed_ = true;
    Register();
    return kUsbOk;
}

} // namespace platform::libusb

#include "platform/usb/LibusbClaim.h"

#include "platform/usb/InUseWait.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace platform::libusb {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kInUsePoll{100};
constexpr std::string_view kProgramClaim = "usbfs"; // the driver name of an interface a program claimed
constexpr std::string_view kUnnamedDriver = "kernel";

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

InterfaceClaim::InterfaceClaim(Passkey, libusb_device_handle* handle, const InterfaceLocation& location)
    : handle_(handle), location_(location) {}

InterfaceClaim::~InterfaceClaim() {
    if (claimed_) {
        libusb_release_interface(handle_, location_.interface);
    }
    GiveBack();
}

UsbStatus InterfaceClaim::Acquire(libusb_device_handle* handle, const InterfaceLocation& location,
                                  std::unique_ptr<InterfaceClaim>& claim) {
    auto pending = std::make_unique<InterfaceClaim>(Passkey{}, handle, location);
    const Clock::time_point deadline = Clock::now() + InUseWait();
    bool otherProgramSeen = false;
    while (true) {
        if (SignalDeferral::Pending()) {
            return LIBUSB_ERROR_INTERRUPTED;
        }
        const UsbStatus status = pending->TryOnce(otherProgramSeen);
        if (status == kUsbOk) {
            claim = std::move(pending);
            return kUsbOk;
        }
        if (status != LIBUSB_ERROR_BUSY || Clock::now() >= deadline) {
            return status;
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

UsbStatus InterfaceClaim::TryOnce(bool& otherProgramSeen) {
    if (!LockDevice()) {
        return LIBUSB_ERROR_BUSY; // another run of ours has it
    }
    GiveBackAbandoned();
    std::string driver = BoundDriver(location_);
    // Where sysfs does not show the interface, usbfs still tells whether a kernel driver has it.
    if (driver.empty() && libusb_kernel_driver_active(handle_, location_.interface) == 1) {
        driver = kUnnamedDriver;
    }
    if (driver == kProgramClaim) {
        otherProgramSeen = true;
        lock_.Reset();
        return LIBUSB_ERROR_BUSY;
    }
    if (driver.empty() && otherProgramSeen) {
        // A program just let go; it may be about to give the driver back. One more turn for it.
        otherProgramSeen = false;
        lock_.Reset();
        return LIBUSB_ERROR_BUSY;
    }
    FileDescriptor jobGuard;
    if (const std::string node = PrinterNode(location_); !node.empty()) {
        jobGuard.Reset(open(node.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (jobGuard.get() < 0 && errno == EBUSY) {
            lock_.Reset();
            return LIBUSB_ERROR_BUSY; // a print job holds the printer
        }
    }
    if (!driver.empty()) {
        noted_ = ledger_.Write(location_, driver);
        const int status = libusb_detach_kernel_driver(handle_, location_.interface);
        if (status == LIBUSB_SUCCESS) {
            detachedDriver_ = driver;
        } else if (status != LIBUSB_ERROR_NOT_FOUND) {
            GiveBack();
            lock_.Reset();
            return status;
        }
    }
    jobGuard.Reset(); // the driver's node is gone with the driver
    if (const int status = libusb_claim_interface(handle_, location_.interface); status != LIBUSB_SUCCESS) {
        GiveBack();
        lock_.Reset();
        return status;
    }
    claimed_ = true;
    return kUsbOk;
}

void InterfaceClaim::GiveBackAbandoned() {
    const auto note = ledger_.Read(location_);
    if (!note || !DetachLedger::Abandoned(*note)) {
        return;
    }
    // Only the plug the killed run took the driver from, and only if nobody has bound one since.
    if (note->address == location_.address && BoundDriver(location_).empty()) {
        libusb_attach_kernel_driver(handle_, location_.interface);
    }
    ledger_.Remove(location_);
}

void InterfaceClaim::GiveBack() {
    if (!detachedDriver_.empty()) {
        libusb_attach_kernel_driver(handle_, location_.interface);
        detachedDriver_.clear();
    }
    if (noted_) {
        ledger_.Remove(location_);
        noted_ = false;
    }
}

} // namespace platform::libusb

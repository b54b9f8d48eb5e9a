#pragma once

// Private to the libusb backend.

#include "platform/usb/DetachLedger.h"
#include "platform/usb/InterfaceSysfs.h"
#include "platform/usb/SignalDeferral.h"
#include "platform/usb/UsbStatus.h"

#include <libusb.h>
#include <memory>
#include <string>

namespace platform::libusb {

// An open file descriptor, closed with its owner.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { Reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    int get() const { return fd_; }
    void Reset(int fd = -1);

  private:
    int fd_;
};

// The printer interface claimed for this process, taken from its kernel driver in a way that the
// driver always comes back:
// - Runs of our programs take turns (a lock on the device's usbfs node), so none sees another's
//   half-done hand-over.
// - A printer in use is waited for, up to InUseWait(): an interface another program claimed, and a
//   print job holding usblp's device node (usblp lets one process open it; the test-open is kept until
//   the driver is detached, so no job can start in between). usblp is never taken from a job.
// - The driver taken is noted in the DetachLedger first; a note left by a killed run is honoured
//   before anything else.
// - SIGINT, SIGTERM and SIGHUP are deferred while the claim lives; destroying the claim releases the
//   interface, gives the driver back and then lets such a signal end the process.
class InterfaceClaim {
    struct Passkey {};

  public:
    // LIBUSB_ERROR_BUSY: still in use when the wait ran out; LIBUSB_ERROR_INTERRUPTED: a deferred
    // signal arrived while waiting (raised when `claim`'s remains go).
    static UsbStatus Acquire(libusb_device_handle* handle, const InterfaceLocation& location,
                             std::unique_ptr<InterfaceClaim>& claim);

    InterfaceClaim(Passkey, libusb_device_handle* handle, const InterfaceLocation& location);
    ~InterfaceClaim();
    InterfaceClaim(const InterfaceClaim&) = delete;
    InterfaceClaim& operator=(const InterfaceClaim&) = delete;

  private:
    UsbStatus TryOnce(bool& otherProgramSeen);
    bool LockDevice();
    void GiveBackAbandoned();
    void GiveBack();

    SignalDeferral deferral_; // first member: the last to go, after the driver is back
    FileDescriptor lock_;
    libusb_device_handle* handle_;
    InterfaceLocation location_;
    DetachLedger ledger_;
    std::string detachedDriver_;
    bool noted_ = false;
    bool claimed_ = false;
};

} // namespace platform::libusb

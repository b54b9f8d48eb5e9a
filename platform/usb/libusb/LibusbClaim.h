#pragma once

// Private to the libusb backend.

#include "platform/usb/libusb/DetachLedger.h"
#include "platform/usb/libusb/InterfaceSysfs.h"
#include "platform/usb/libusb/SignalDeferral.h"
#include "platform/usb/UsbStatus.h"

#include <chrono>
#include <libusb.h>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform::libusb {

// How often a printer in use is looked at again.
inline constexpr std::chrono::milliseconds kInUsePoll{100};
// The driver name of an interface a program claimed through usbfs.
inline constexpr std::string_view kProgramClaim = "usbfs";
// A kernel driver usbfs says is bound where sysfs does not name it.
inline constexpr std::string_view kUnnamedDriver = "kernel";

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
// - A printer in use is waited for, up to the bus's in-use wait: an interface another program claimed, and a
//   print job holding usblp's device node (usblp lets one process open it; the test-open is kept until
//   the driver is detached, so no job can start in between). Where the node cannot be opened at all
//   (this user may not), a job cannot be ruled out: the driver is left alone and the run fails,
//   LIBUSB_ERROR_ACCESS. usblp is never taken from a job.
// - The driver taken is noted in the DetachLedger first; notes left by killed runs are honoured before
//   anything else.
// - Another program that takes the interface before the driver is back is waited for (the in-use wait
//   again); past that the note stays for the next run, and the user is told.
// - SIGINT, SIGTERM, SIGHUP and SIGQUIT are deferred while the claim lives; destroying the claim
//   releases the interface, gives the driver back and then lets such a signal end the process. exit()
//   and std::terminate() give the driver back too.
class InterfaceClaim {
    struct Passkey {};

  public:
    // LIBUSB_ERROR_BUSY: still in use when the wait ran out; LIBUSB_ERROR_ACCESS: usblp's node refused
    // this user until then; LIBUSB_ERROR_INTERRUPTED: a deferred signal arrived while waiting (raised
    // when `claim`'s remains go).
    static UsbStatus Acquire(libusb_device_handle* handle, const InterfaceLocation& location,
                             std::chrono::milliseconds inUseWait, std::unique_ptr<InterfaceClaim>& claim);

    InterfaceClaim(Passkey, libusb_device_handle* handle, const InterfaceLocation& location,
                   std::chrono::milliseconds inUseWait);
    ~InterfaceClaim();
    InterfaceClaim(const InterfaceClaim&) = delete;
    InterfaceClaim& operator=(const InterfaceClaim&) = delete;

    // Releases every live claim and gives their drivers back; for exit() and std::terminate().
    static void GiveBackAll();

  private:
    UsbStatus TryOnce();
    bool LockDevice();
    std::string CurrentDriver() const;
    void GiveBackAbandoned();
    void GiveBack();
    bool AttachWaitingForOthers();
    void Register();

    SignalDeferral deferral_; // first member: the last to go, after the driver is back
    FileDescriptor lock_;
    libusb_device_handle* handle_;
    InterfaceLocation location_;
    std::chrono::milliseconds inUseWait_;
    DetachLedger ledger_;
    // Another program held the interface; when it let go without a driver coming back.
    bool otherProgramSeen_ = false;
    std::optional<std::chrono::steady_clock::time_point> otherLetGo_;
    bool nodeRefused_ = false; // usblp's node refused this user on the last try
    bool driverOwed_ = false;  // a driver is to be attached when the claim ends
    std::string driverName_;   // for the note and for what the user is told
    bool noted_ = false;
    bool claimed_ = false;
    bool registered_ = false;
};

} // namespace platform::libusb

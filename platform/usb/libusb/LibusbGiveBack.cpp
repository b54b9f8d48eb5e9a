// How a claim ends: the interface released and its kernel driver given back, also when the process
// leaves through exit() or std::terminate() while it holds the printer, and when a run killed outright
// left the driver away.
#include "platform/usb/libusb/LibusbClaim.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <set>
#include <thread>
#include <unistd.h>

namespace platform::libusb {
namespace {

using Clock = std::chrono::steady_clock;

// The claims alive in this process. Recursive: std::terminate() may be reached from inside a give-back.
std::recursive_mutex liveGuard;
std::set<InterfaceClaim*>& Live() {
    static auto* live = new std::set<InterfaceClaim*>; // never destroyed: exit handlers still need it
    return *live;
}

std::terminate_handler previousTerminate = nullptr;

void GiveBackAtExit() {
    InterfaceClaim::GiveBackAll();
}

[[noreturn]] void GiveBackThenTerminate() {
    InterfaceClaim::GiveBackAll();
    if (previousTerminate != nullptr) {
        previousTerminate();
    }
    std::abort();
}

void InstallExitHandlers() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        std::atexit(GiveBackAtExit);
        previousTerminate = std::set_terminate(GiveBackThenTerminate);
    });
}

// The backend has no window of its own; one line on standard error, as the command line speaks.
void TellUser(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, text.c_str());
}

} // namespace

InterfaceClaim::~InterfaceClaim() {
    const std::lock_guard lock(liveGuard);
    Live().erase(this);
    GiveBack();
}

void InterfaceClaim::GiveBackAll() {
    const std::lock_guard lock(liveGuard);
    for (InterfaceClaim* claim : Live()) {
        claim->GiveBack();
    }
    Live().clear();
}

void InterfaceClaim::Register() {
    InstallExitHandlers();
    const std::lock_guard lock(liveGuard);
    Live().insert(this);
}

void InterfaceClaim::GiveBack() {
    const std::lock_guard lock(liveGuard);
    if (claimed_) {
        claimed_ = false;
        libusb_release_interface(handle_, location_.interface);
    }
    bool back = true;
    if (driverOwed_) {
        driverOwed_ = false;
        back = AttachWaitingForOthers();
    }
    if (noted_) {
        noted_ = false;
        if (back) {
            ledger_.RemoveOwn(location_);
        }
    }
}

// Another program (a print spooler retrying its claim) may take the interface in the moment between
// the release and the attach. It is waited for like a printer in use; it may even give the driver back
// itself. Past the wait the note stays, so that the next run attaches the driver.
bool InterfaceClaim::AttachWaitingForOthers() {
    const Clock::time_point deadline = Clock::now() + inUseWait_;
    while (true) {
        if (libusb_attach_kernel_driver(handle_, location_.interface) != LIBUSB_ERROR_BUSY) {
            return true; // attached, or the device or its driver is gone: nothing left to give back
        }
        const std::string driver = CurrentDriver();
        if (!driver.empty() && driver != kProgramClaim) {
            return true; // the other program gave a driver back
        }
        if (Clock::now() >= deadline || SignalDeferral::Pending()) {
            const std::string named =
                driverName_.empty() || driverName_ == kUnnamedDriver ? "" : " (" + driverName_ + ")";
            TellUser("the printer's kernel driver" + named +
                     " could not be given back: another program holds the printer; the next run of this "
                     "program gives it back");
            return false;
        }
        std::this_thread::sleep_for(kInUsePoll);
    }
}

void InterfaceClaim::GiveBackAbandoned() {
    for (const FoundNote& found : ledger_.Find(location_)) {
        // A live run gives its driver back itself; a claim of this process whose give-back was cut
        // short left its note for the next claim to finish.
        if (!DetachLedger::Abandoned(found.note) && found.note.pid != getpid()) {
            continue;
        }
        // Only the plug the killed run took the driver from: after a replug the device is another one,
        // and whatever driver it has or lacks is none of the note's business.
        if (found.note.address == location_.address) {
            const std::string driver = CurrentDriver();
            if (driver == kProgramClaim) {
                continue; // a program holds the interface; the note waits until it lets go
            }
            if (driver.empty() &&
                libusb_attach_kernel_driver(handle_, location_.interface) == LIBUSB_ERROR_BUSY) {
                continue;
            }
        }
        ledger_.Discard(location_, found);
    }
}

} // namespace platform::libusb

#pragma once

#include "platform/usb/InterfaceSysfs.h"

#include <optional>
#include <string>

namespace platform {

// A note, written before a kernel driver is detached from an interface and removed once it is back,
// of which driver this process took away. A run that is killed outright leaves its note behind; the
// next run finds that the process is gone and gives the driver back, and only where a note says a run
// of ours took it (a driver someone else unbound stays unbound). Kept under the user's runtime
// directory (the superuser's under /run); without one there is nowhere to keep notes and nothing is
// given back after a kill.
struct DetachNote {
    int address = 0;                // the plug the driver was taken from
    long pid = 0;                   // the run that took it
    unsigned long long started = 0; // that process's start time, so a reused pid is not taken for it
    std::string driver;
};

class DetachLedger {
  public:
    DetachLedger(); // the ledger of the user's runtime directory

    bool Write(const InterfaceLocation& location, const std::string& driver) const;
    void Remove(const InterfaceLocation& location) const;
    std::optional<DetachNote> Read(const InterfaceLocation& location) const;

    // The note was left by a run that has ended.
    static bool Abandoned(const DetachNote& note);

  private:
    std::string PathFor(const InterfaceLocation& location) const;

    std::string folder_; // empty: no runtime directory
};

} // namespace platform

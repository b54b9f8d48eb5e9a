#pragma once

#include "platform/usb/libusb/InterfaceSysfs.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

// A note, written before a kernel driver is detached from an interface and removed once it is back,
// of which driver this process took away. A run that is killed outright leaves its note behind; the
// next run finds that the process is gone and gives the driver back, and only where a note says a run
// of ours took it (a driver someone else unbound stays unbound).
struct DetachNote {
    int address = 0;                // the plug the driver was taken from
    long pid = 0;                   // the run that took it
    unsigned long long started = 0; // that process's start time, so a reused pid is not taken for it
    std::string driver;
};

// A folder of notes: used only while it is a real directory of `owner`'s that nobody else may write
// to, and, unless it is `shared`, nobody else may read either.
struct LedgerFolder {
    std::string path;
    uid_t owner = 0;
    bool shared = false; // the superuser's, which every user's runs read
};

// Where a run keeps its notes and where it looks for those of killed runs. A user's runs keep theirs
// under the user's runtime directory, and only one that is a real directory of the user's (`su` and
// `sudo -E` hand the superuser a user's XDG_RUNTIME_DIR); the superuser's runs keep theirs in /run,
// readable by everyone, so that a user's run gives back what a killed superuser's run took. The
// superuser's runs also read every user's ledger.
struct LedgerPlaces {
    std::optional<LedgerFolder> own; // none: this run keeps no notes
    std::vector<LedgerFolder> others;
};

LedgerPlaces DefaultLedgerPlaces();
// Makes DefaultLedgerPlaces() answer `places` instead, for tests of the backend that must not touch the
// machine's ledgers; nullopt goes back to the real ones.
void OverrideDefaultLedgerPlaces(std::optional<LedgerPlaces> places);

// The folder opened for use (a descriptor to close), or -1 when it is missing or fails the checks
// above. `create` makes a missing folder first.
int OpenLedgerFolder(const LedgerFolder& folder, bool create);

// A note found in one of the ledgers.
struct FoundNote {
    DetachNote note;
    LedgerFolder folder;
};

// Notes are written without following links, and read only when they are small regular files, without
// waiting on what else may sit at their path.
class DetachLedger {
  public:
    DetachLedger(); // DefaultLedgerPlaces()
    explicit DetachLedger(LedgerPlaces places);

    // Notes that this run took the driver; false when there is nowhere to keep the note.
    bool Write(const InterfaceLocation& location, const std::string& driver) const;
    // Removes this run's own note for the interface; another run's note stays.
    void RemoveOwn(const InterfaceLocation& location) const;
    // The notes for the interface in every ledger this run can read, its own first.
    std::vector<FoundNote> Find(const InterfaceLocation& location) const;
    // Removes a note found earlier if it is still there unchanged and this run may remove it.
    void Discard(const InterfaceLocation& location, const FoundNote& found) const;

    // The note was left by a run that has ended.
    static bool Abandoned(const DetachNote& note);

  private:
    LedgerPlaces places_;
};

} // namespace platform

#include "platform/usb/libusb/DetachLedger.h"

#include "platform/core/AtomicFile.h"

#include <array>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// A note is one short line; anything longer is not one of ours.
constexpr std::size_t kLongestNote = 128;
constexpr std::size_t kLongestDriverName = 32;

// Field 22 of /proc/PID/stat, counted after the command name, which may itself hold spaces.
std::optional<unsigned long long> ProcessStartTime(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(stat, text)) {
        return std::nullopt;
    }
    const auto close = text.rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(text.substr(close + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22) {
            return std::strtoull(field.c_str(), nullptr, 10);
        }
    }
    return std::nullopt;
}

std::string NoteName(const InterfaceLocation& location) {
    return std::to_string(location.bus) + "-" + location.ports + ":" + std::to_string(location.interface);
}

bool PlainDriverName(const std::string& driver) {
    if (driver.empty() || driver.size() > kLongestDriverName) {
        return false;
    }
    for (const char c : driver) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
        if (!plain) {
            return false;
        }
    }
    return true;
}

std::optional<DetachNote> Parse(const std::string& text) {
    std::istringstream fields(text);
    DetachNote note;
    std::string rest;
    if (!(fields >> note.address >> note.pid >> note.started >> note.driver) || fields >> rest ||
        note.pid <= 0 || !PlainDriverName(note.driver)) {
        return std::nullopt;
    }
    return note;
}

// Whatever sits at the note's path is only read when it is a small regular file: a FIFO, a device or
// a link planted there is neither waited on nor followed.
std::optional<DetachNote> ReadNote(int folder, const std::string& name) {
    const int fd = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat file {};
    std::array<char, kLongestNote + 1> buffer{};
    ssize_t size = -1;
    if (fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && file.st_size <= static_cast<off_t>(kLongestNote)) {
        size = read(fd, buffer.data(), buffer.size());
    }
    close(fd);
    if (size < 0 || static_cast<std::size_t>(size) > kLongestNote) {
        return std::nullopt;
    }
    return Parse(std::string(buffer.data(), static_cast<std::size_t>(size)));
}

bool SameRun(const DetachNote& a, const DetachNote& b) {
    return a.pid == b.pid && a.started == b.started && a.address == b.address;
}

class OpenFolder {
  public:
    OpenFolder(const LedgerFolder& folder, bool create) : fd_(OpenLedgerFolder(folder, create)) {}
    ~OpenFolder() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Removes the note at `name` if it is still the one `expected` describes.
void RemoveIfStill(const LedgerFolder& ledger, const std::string& name, const DetachNote& expected) {
    const OpenFolder folder(ledger, false);
    if (folder.get() < 0) {
        return;
    }
    const auto current = ReadNote(folder.get(), name);
    if (current && SameRun(*current, expected)) {
        unlinkat(folder.get(), name.c_str(), 0);
    }
}

} // namespace

DetachLedger::DetachLedger() : DetachLedger(DefaultLedgerPlaces()) {}

DetachLedger::DetachLedger(LedgerPlaces places) : places_(std::move(places)) {}

bool DetachLedger::Write(const InterfaceLocation& location, const std::string& driver) const {
    const auto started = ProcessStartTime(getpid());
    if (!places_.own || !started || !PlainDriverName(driver)) {
        return false;
    }
    const OpenFolder folder(*places_.own, true);
    if (folder.get() < 0) {
        return false;
    }
    const std::string text = std::to_string(location.address) + ' ' + std::to_string(getpid()) + ' ' +
                             std::to_string(*started) + ' ' + driver + '\n';
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    return !WriteFileAtomically(places_.own->path + "/" + NoteName(location), bytes,
                                places_.own->shared ? 0644 : 0600);
}

void DetachLedger::RemoveOwn(const InterfaceLocation& location) const {
    const auto started = ProcessStartTime(getpid());
    if (!places_.own || !started) {
        return;
    }
    DetachNote mine;
    mine.address = location.address;
    mine.pid = getpid();
    mine.started = *started;
    RemoveIfStill(*places_.own, NoteName(location), mine);
}

std::vector<FoundNote> DetachLedger::Find(const InterfaceLocation& location) const {
    std::vector<LedgerFolder> folders;
    if (places_.own) {
        folders.push_back(*places_.own);
    }
    folders.insert(folders.end(), places_.others.begin(), places_.others.end());
    std::vector<FoundNote> found;
    for (const LedgerFolder& ledger : folders) {
        const OpenFolder folder(ledger, false);
        if (folder.get() < 0) {
            continue;
        }
        if (auto note = ReadNote(folder.get(), NoteName(location))) {
            found.push_back({std::move(*note), ledger});
        }
    }
    return found;
}

void DetachLedger::Discard(const InterfaceLocation& location, const FoundNote& found) const {
    RemoveIfStill(found.folder, NoteName(location), found.note);
}

bool DetachLedger::Abandoned(const DetachNote& note) {
    const auto started = ProcessStartTime(note.pid);
    return !started || *started != note.started;
}

} // namespace platform

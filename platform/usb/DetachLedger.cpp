#include "platform/usb/DetachLedger.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

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

std::string RuntimeFolder() {
    constexpr const char* kLedger = "/lm360r-detached";
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
        return std::string(runtime) + kLedger;
    }
    // Runs from cron or sudo often lack the variable, not the folder: the user's own is where the session's
    // runs keep their notes too. The superuser has the system's.
    const std::string user = "/run/user/" + std::to_string(getuid());
    struct stat folder {};
    if (stat(user.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode) && folder.st_uid == getuid()) {
        return user + kLedger;
    }
    return getuid() == 0 ? std::string("/run") + kLedger : std::string();
}

} // namespace

DetachLedger::DetachLedger() : folder_(RuntimeFolder()) {}

std::string DetachLedger::PathFor(const InterfaceLocation& location) const {
    return folder_ + "/" + std::to_string(location.bus) + "-" + location.ports + ":" +
           std::to_string(location.interface);
}

bool DetachLedger::Write(const InterfaceLocation& location, const std::string& driver) const {
    const auto started = ProcessStartTime(getpid());
    if (folder_.empty() || !started || (mkdir(folder_.c_str(), 0700) != 0 && errno != EEXIST)) {
        return false;
    }
    const std::string path = PathFor(location);
    const std::string temporary = path + ".new";
    {
        std::ofstream note(temporary, std::ios::trunc);
        note << location.address << ' ' << getpid() << ' ' << *started << ' ' << driver << '\n';
        if (!note.flush()) {
            return false;
        }
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

void DetachLedger::Remove(const InterfaceLocation& location) const {
    if (!folder_.empty()) {
        std::remove(PathFor(location).c_str());
    }
}

std::optional<DetachNote> DetachLedger::Read(const InterfaceLocation& location) const {
    if (folder_.empty()) {
        return std::nullopt;
    }
    std::ifstream file(PathFor(location));
    DetachNote note;
    if (!(file >> note.address >> note.pid >> note.started >> note.driver)) {
        return std::nullopt;
    }
    return note;
}

bool DetachLedger::Abandoned(const DetachNote& note) {
    const auto started = ProcessStartTime(note.pid);
    return !started || *started != note.started;
}

} // namespace platform

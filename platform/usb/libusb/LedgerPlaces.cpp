#include "platform/usb/libusb/DetachLedger.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr const char* kLedgerName = "lm360r-detached";
const std::string kSharedLedger = std::string("/run/") + kLedgerName;
constexpr const char* kUserRuntimeFolders = "/run/user";
constexpr mode_t kWritableByOthers = S_IWGRP | S_IWOTH;
constexpr mode_t kReachableByOthers = S_IRWXG | S_IRWXO;

// A runtime directory the user may keep notes in: a real directory of theirs nobody else may write to.
bool UsersOwnFolder(const std::string& path, uid_t user) {
    struct stat folder {};
    return !path.empty() && path.front() == '/' && lstat(path.c_str(), &folder) == 0 &&
           S_ISDIR(folder.st_mode) && folder.st_uid == user && (folder.st_mode & kWritableByOthers) == 0;
}

// Every user's ledger, for the superuser's runs: /run/user/UID/lm360r-detached, owned by UID.
std::vector<LedgerFolder> UsersLedgers() {
    std::vector<LedgerFolder> ledgers;
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(kUserRuntimeFolders), closedir);
    if (!folder) {
        return ledgers;
    }
    while (const dirent* entry = readdir(folder.get())) {
        const std::string_view name(entry->d_name);
        uid_t uid = 0;
        const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), uid);
        if (error != std::errc() || end != name.data() + name.size() || uid == 0) {
            continue;
        }
        ledgers.push_back(
            {std::string(kUserRuntimeFolders) + "/" + std::string(name) + "/" + kLedgerName, uid});
    }
    return ledgers;
}

std::mutex overrideGuard;
std::optional<LedgerPlaces> overridden;

} // namespace

void OverrideDefaultLedgerPlaces(std::optional<LedgerPlaces> places) {
    const std::lock_guard lock(overrideGuard);
    overridden = std::move(places);
}

LedgerPlaces DefaultLedgerPlaces() {
    {
        const std::lock_guard lock(overrideGuard);
        if (overridden) {
            return *overridden;
        }
    }
    const uid_t user = geteuid();
    LedgerPlaces places;
    if (user == 0) {
        places.own = LedgerFolder{kSharedLedger, 0, true};
        places.others = UsersLedgers();
        return places;
    }
    places.others.push_back({kSharedLedger, 0, true});
    // Runs from cron or sudo often lack the variable, not the folder: the user's own is where the
    // session's runs keep their notes too.
    for (const std::string& runtime :
         {std::string(std::getenv("XDG_RUNTIME_DIR") != nullptr ? std::getenv("XDG_RUNTIME_DIR") : ""),
          std::string(kUserRuntimeFolders) + "/" + std::to_string(user)}) {
        if (UsersOwnFolder(runtime, user)) {
            places.own = LedgerFolder{runtime + "/" + kLedgerName, user, false};
            break;
        }
    }
    return places;
}

int OpenLedgerFolder(const LedgerFolder& ledger, bool create) {
    if (create && mkdir(ledger.path.c_str(), ledger.shared ? 0755 : 0700) != 0 && errno != EEXIST) {
        return -1;
    }
    const int fd = open(ledger.path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat folder {};
    const mode_t forbidden = ledger.shared ? kWritableByOthers : kReachableByOthers;
    if (fstat(fd, &folder) != 0 || !S_ISDIR(folder.st_mode) || folder.st_uid != ledger.owner ||
        (folder.st_mode & forbidden) != 0) {
        close(fd);
        return -1;
    }
    // The shared ledger is read by every user whatever the umask it was made under.
    if (create && ledger.shared && (folder.st_mode & 0755) != 0755 && fchmod(fd, 0755) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace platform

#include "platform/core/AtomicFile.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kNameAttempts = 16;
constexpr std::size_t kLongestKeptName = 200; // of the target's name in the temporary one, within NAME_MAX

std::string Reason(int error) {
    return std::strerror(error);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A name nobody can guess ahead of time, so nobody can have put a link or a file there to catch it.
std::optional<std::string> RandomSuffix() {
    std::array<unsigned char, 8> random{};
    std::size_t filled = 0;
    while (filled < random.size()) {
        const ssize_t got = getrandom(random.data() + filled, random.size() - filled, 0);
        if (got < 0 && errno != EINTR) {
            return std::nullopt;
        }
        filled += got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    std::string suffix;
    char digits[3];
    for (const unsigned char byte : random) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        suffix += digits;
    }
    return suffix;
}

class TemporaryFile {
  public:
    ~TemporaryFile() {
        if (fd_ >= 0) {
            close(fd_);
        }
        if (!path_.empty()) {
            unlink(path_.c_str());
        }
    }

    // Errno of the failure, or 0.
    int Create(const std::string& target, mode_t mode) {
        const auto slash = target.rfind('/');
        const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
        const std::string name = target.substr(folder.size()).substr(0, kLongestKeptName);
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            const auto suffix = RandomSuffix();
            if (!suffix) {
                return errno;
            }
            const std::string candidate = folder + "." + name + "." + *suffix;
            fd_ = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            if (fd_ >= 0) {
                path_ = candidate;
                return 0;
            }
            if (errno != EEXIST) {
                return errno;
            }
        }
        return EEXIST;
    }

    int WriteAll(std::span<const std::uint8_t> bytes) const {
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t done = write(fd_, bytes.data() + written, bytes.size() - written);
            if (done < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return errno;
            }
            if (done == 0) {
                return EIO;
            }
            written += static_cast<std::size_t>(done);
        }
        return 0;
    }

    int Finish(std::optional<mode_t> permissions) {
        if (permissions && fchmod(fd_, *permissions) != 0) {
            return errno;
        }
        if (fsync(fd_) != 0) {
            return errno;
        }
        const int fd = fd_;
        fd_ = -1;
        return close(fd) == 0 ? 0 : errno;
    }

    int ReplaceTarget(const std::string& target) {
        if (rename(path_.c_str(), target.c_str()) != 0) {
            return errno;
        }
        path_.clear();
        return 0;
    }

  private:
    int fd_ = -1;
    std::string path_; // removed unless it became the target
};

// The rename is durable only once the folder's entry is on disk too.
int SyncFolder(const std::string& path) {
    const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        return errno;
    }
    const int result = fsync(folder) == 0 || errno == EINVAL ? 0 : errno;
    close(folder);
    return result;
}

std::optional<std::string> Write(const std::string& path, std::span<const std::uint8_t> bytes,
                                 std::optional<mode_t> permissions) {
    if (path.empty()) {
        return Reason(ENOENT);
    }
    struct stat existing {};
    if (path.back() == '/') {
        return Reason(EISDIR);
    }
    if (lstat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            return Reason(EISDIR);
        }
        if (!permissions && S_ISREG(existing.st_mode)) {
            permissions = existing.st_mode & 07777;
        }
    }
    TemporaryFile temporary;
    if (const int error = temporary.Create(path, permissions.value_or(0666)); error != 0) {
        return Reason(error);
    }
    if (const int error = temporary.WriteAll(bytes); error != 0) {
        return Reason(error);
    }
    if (const int error = temporary.Finish(permissions); error != 0) {
        return Reason(error);
    }
    if (const int error = temporary.ReplaceTarget(path); error != 0) {
        return Reason(error);
    }
    if (const int error = SyncFolder(path); error != 0) {
        return "written, but not yet safe on disk: " + Reason(error);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    return Write(path, bytes, std::nullopt);
}

std::optional<std::string> WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                                               mode_t permissions) {
    return Write(path, bytes, permissions & 07777);
}

} // namespace platform

#include "simulator/FileWatch.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

namespace simulator {

struct FileWatch::Private {
    int inotify = -1;
    int stop = -1; // an eventfd that ends the thread
    std::string name;
    std::function<void()> changed;
    std::thread thread;

    ~Private() {
        if (stop >= 0) {
            close(stop);
        }
        if (inotify >= 0) {
            close(inotify);
        }
    }

    void Run() {
        std::array<pollfd, 2> fds{pollfd{inotify, POLLIN, 0}, pollfd{stop, POLLIN, 0}};
        alignas(inotify_event) std::array<char, 4096> buffer{};
        for (;;) {
            if (poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) {
                    continue; // a signal the process handles is no reason to stop watching
                }
                break;
            }
            if ((fds[1].revents & POLLIN) != 0) {
                break;
            }
            const ssize_t length = read(inotify, buffer.data(), buffer.size());
            bool ours = false;
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
                ours = ours || (event->len > 0 && name == event->name);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
            if (ours) {
                changed();
            }
        }
    }
};

std::unique_ptr<FileWatch> FileWatch::Start(const std::string& path, std::function<void()> changed) {
    auto d = std::make_unique<Private>();
    const std::filesystem::path file = std::filesystem::absolute(path);
    d->name = file.filename().string();
    d->changed = std::move(changed);
    d->inotify = inotify_init1(IN_CLOEXEC);
    d->stop = eventfd(0, EFD_CLOEXEC);
    if (d->inotify < 0 || d->stop < 0 ||
        inotify_add_watch(d->inotify, file.parent_path().c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
        return nullptr;
    }
    Private* running = d.get();
    d->thread = std::thread([running] { running->Run(); });
    return std::make_unique<FileWatch>(Passkey{}, std::move(d));
}

FileWatch::FileWatch(Passkey, std::unique_ptr<Private> d) : d_(std::move(d)) {}

FileWatch::~FileWatch() {
    const std::uint64_t one = 1;
    // An eventfd takes its eight bytes at once; only a signal can cut the write short.
    while (write(d_->stop, &one, sizeof one) < 0 && errno == EINTR) {
    }
    d_->thread.join();
}

} // namespace simulator

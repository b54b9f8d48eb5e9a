// lm360r-usbredir-printer: the simulated LM-360R as a USB device on QEMU's usb-redir socket, for tests
// against a real kernel's USB stack. Settings come from and go back to a state file in the format of
// LM360R_SIM_STATE.
#include "simulator/SimulatedPrinter.h"
#include "simulator/StateFile.h"
#include "simulator/usbredir/BulkOutRecord.h"
#include "simulator/usbredir/DeviceOptions.h"
#include "simulator/usbredir/RedirectedPrinter.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <iostream>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace simulator;
using namespace simulator::usbredir;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr std::string_view kName = "lm360r-usbredir-printer: ";
constexpr auto kReplugPause = 500ms;
// How often the unplug switch is looked at while nothing happens on the connection.
constexpr auto kSwitchLook = 100ms;

class Socket {
  public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_;
};

// QEMU may not listen yet when this program starts: try again until the deadline.
int ConnectWhenListening(const std::string& path, Clock::time_point deadline) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    while (Clock::now() < deadline) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
            return fd;
        }
        if (fd >= 0) {
            close(fd);
        }
        std::this_thread::sleep_for(50ms);
    }
    return -1;
}

enum class Ending { PeerClosed, Unplugged, LifetimeOver };

// `afterAnswers` runs once the answers of a round are on their way to QEMU.
Ending Serve(RedirectedPrinter& redirected, int fd, Clock::time_point deadline, const std::string& unplugWhen,
             const std::function<void()>& afterAnswers) {
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left <= 0ms) {
            return Ending::LifetimeOver;
        }
        pollfd watched{fd, static_cast<short>(POLLIN | (redirected.HasOutgoing() ? POLLOUT : 0)), 0};
        if (poll(&watched, 1, static_cast<int>(std::min<long>(left.count(), kSwitchLook.count()))) < 0 &&
            errno != EINTR) {
            return Ending::PeerClosed;
        }
        redirected.TakeHeldWrites();
        if (SwitchedOn(unplugWhen)) {
            unlink(unplugWhen.c_str());
            return Ending::Unplugged;
        }
        bool open = true;
        if ((watched.revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            open = redirected.ReadIncoming();
        }
        // Answers are flushed before an unplug, as a device answers what it finished before the
        // cable came out.
        while (redirected.HasOutgoing() && redirected.WriteOutgoing()) {
        }
        afterAnswers();
        if (redirected.Unplugged()) {
            return Ending::Unplugged;
        }
        if (!open) {
            return Ending::PeerClosed;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN); // a vanished QEMU is seen as a failed write
    const ParsedDeviceOptions parsed = ParseDeviceOptions(std::span<char* const>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::cerr << kName << parsed.problem << "\n" << kDeviceUsage;
        return 1;
    }
    DeviceOptions options = *parsed.options;
    LoadedState state = LoadStateFile(options.stateFile);
    if (state.printers.empty()) {
        std::cerr << kName << options.stateFile << " describes no printer\n";
        return 1;
    }
    SimulatedPrinter printer(IdentityOf(state.printers.front()), state.printers.front().settings);
    printer.SetRefusedKinds(state.printers.front().refusedKinds);
    // A change is written to the state file after the USB packet that made it is acknowledged: writing
    // waits for the disk, and the host cancels a transfer whose answer is late, as a slow printer's is.
    bool unsaved = false;
    if (state.writable) {
        printer.SetSettingsObserver([&](const PrinterSettings& settings) {
            state.printers.front().settings = settings;
            unsaved = true;
        });
    }
    const auto saveChanges = [&] {
        if (!unsaved) {
            return;
        }
        unsaved = false;
        if (const auto problem = SaveStateFile(options.stateFile, state.printers)) {
            std::cerr << kName << options.stateFile << ": cannot be written: " << *problem << "\n";
        }
    };
    BulkOutRecord record(options.recordFile);
    BulkOutRecord inRequests(options.inRecordFile);
    BulkOutRecord times(options.timesFile);
    for (const auto& [kept, path] :
         {std::pair{&record, &options.recordFile}, std::pair{&inRequests, &options.inRecordFile},
          std::pair{&times, &options.timesFile}}) {
        if (!kept->Usable()) {
            std::cerr << kName << *path << ": " << std::strerror(errno) << "\n";
            return 1;
        }
    }

    const Clock::time_point deadline = Clock::now() + options.lifetime;
    for (bool first = true;; first = false) {
        const Socket socket(ConnectWhenListening(options.socketPath, deadline));
        if (socket.fd() < 0) {
            std::cerr << kName << "could not connect to " << options.socketPath << " within the lifetime\n";
            return first ? 2 : 0;
        }
        RedirectedPrinter redirected(socket.fd(), printer, options, record, inRequests, times);
        const Ending ending = Serve(redirected, socket.fd(), deadline, options.unplugWhenFile, saveChanges);
        saveChanges();
        switch (ending) {
        case Ending::PeerClosed:
            return 0;
        case Ending::LifetimeOver:
            std::cerr << kName << "lifetime of " << options.lifetime.count() << " s is over\n";
            return 0;
        case Ending::Unplugged:
            std::cerr << kName << "unplugged after " << record.Total() << " bytes written to it\n";
            break;
        }
        std::this_thread::sleep_for(kReplugPause);
    }
}

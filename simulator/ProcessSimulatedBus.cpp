#include "simulator/ProcessSimulatedBus.h"

#include "simulator/FileWatch.h"
#include "simulator/SimulatedBus.h"
#include "simulator/StateFile.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <sstream>

namespace simulator {
namespace {

DeviceScript ScriptFor(const PrinterState& state) {
    DeviceScript script;
    script.identity = IdentityOf(state);
    script.settings = state.settings;
    script.refusedKinds = state.refusedKinds;
    return script;
}

const char* FrameWord(protocol::FrameType type) {
    switch (type) {
    case protocol::FrameType::Initialize:
        return "initialize";
    case protocol::FrameType::Mode:
        return "mode";
    case protocol::FrameType::Status:
        return "status";
    case protocol::FrameType::Read:
        return "read";
    case protocol::FrameType::Write:
        return "write";
    case protocol::FrameType::Reset:
        return "reset";
    }
    return "?";
}

std::optional<std::vector<PrinterState>> ReadPrinters(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file) {
        return std::nullopt;
    }
    return ParseState(text.str()).printers;
}

class StateFileBus final : public platform::UsbBus {
  public:
    StateFileBus(std::string path, LoadedState state, std::string framesFile)
        : path_(std::move(path)), framesFile_(std::move(framesFile)), writable_(state.writable) {
        {
            const std::lock_guard lock(mutex_);
            for (PrinterState& printer : state.printers) {
                Plug(std::move(printer));
            }
        }
        // While the process runs, the serials the file lists are the printers attached: adding a
        // [printer] plugs one in, removing it unplugs it.
        watch_ = FileWatch::Start(path_, [this] { Reload(); });
    }

    platform::UsbStatus
    ListInterfaces(std::vector<std::unique_ptr<platform::UsbInterfaceEntry>>& entries) override {
        return bus_.ListInterfaces(entries);
    }
    std::unique_ptr<platform::UsbChangeSubscription>
    WatchDeviceChanges(platform::UsbDevicesChanged changed) override {
        return bus_.WatchDeviceChanges(std::move(changed));
    }

  private:
    struct Attached {
        PrinterState state;
        bool present = true;
    };

    // With mutex_ held. The bus's devices and printers_ grow together, so they share their indexes.
    void Plug(PrinterState printer) {
        const std::size_t index = printers_.size();
        printers_.push_back({std::move(printer), true});
        SimulatedDevice& device = bus_.AddDevice(ScriptFor(printers_[index].state));
        if (!framesFile_.empty()) {
            const std::string serial = printers_[index].state.serial;
            device.printer().SetFrameObserver(
                [this, serial](protocol::FrameType type, protocol::SettingKind kind) {
                    const std::lock_guard lock(framesMutex_);
                    std::ofstream(framesFile_, std::ios::app)
                        << serial << ' ' << FrameWord(type) << ' ' << kind << '\n';
                });
        }
        if (writable_) {
            device.printer().SetSettingsObserver([this, index](const PrinterSettings& settings) {
                const std::lock_guard lock(mutex_);
                printers_[index].state.settings = settings;
                Save();
            });
        }
    }

    void Reload() {
        const std::optional<std::vector<PrinterState>> wanted = ReadPrinters(path_);
        if (!wanted) {
            return; // half-edited or not understood: the bus stays as it is
        }
        const std::lock_guard lock(mutex_);
        const auto listed = [&wanted](const std::string& serial) {
            return std::any_of(wanted->begin(), wanted->end(),
                               [&serial](const PrinterState& printer) { return printer.serial == serial; });
        };
        for (std::size_t i = 0; i < printers_.size(); ++i) {
            if (printers_[i].present && !listed(printers_[i].state.serial)) {
                printers_[i].present = false;
                bus_.device(i).Unplug();
            }
        }
        for (const PrinterState& printer : *wanted) {
            const bool attached =
                std::any_of(printers_.begin(), printers_.end(), [&printer](const Attached& a) {
                    return a.present && a.state.serial == printer.serial;
                });
            if (!attached) {
                Plug(printer);
            }
        }
    }

    // With mutex_ held.
    void Save() const {
        std::vector<PrinterState> present;
        for (const Attached& printer : printers_) {
            if (printer.present) {
                present.push_back(printer.state);
            }
        }
        if (const auto problem = SaveStateFile(path_, present)) {
            std::cerr << kStateFileMessagePrefix << path_ << ": cannot be written: " << *problem << "\n";
        }
    }

    std::string path_;
    std::string framesFile_; // empty: frames are not written down
    std::mutex framesMutex_;
    bool writable_;
    std::mutex mutex_; // printers_ and the file: the printers store from the exchange's thread
    std::vector<Attached> printers_;
    SimulatedBus bus_;                 // its printers call back into the members above
    std::unique_ptr<FileWatch> watch_; // declared last: stops before anything it reloads goes
};

} // namespace

std::unique_ptr<platform::UsbBus> CreateProcessSimulatedBus(const char* stateFile) {
    if (stateFile == nullptr || *stateFile == '\0') {
        auto bus = std::make_unique<SimulatedBus>();
        bus->AddDevice();
        return bus;
    }
    // Every frame each printer recognises, a line each ("SERIAL write 2"), for tests that count them.
    const char* frames = std::getenv("LM360R_SIM_FRAMES");
    return std::make_unique<StateFileBus>(stateFile, LoadStateFile(stateFile),
                                          frames != nullptr ? frames : "");
}

} // namespace simulator

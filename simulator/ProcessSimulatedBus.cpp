#include "simulator/ProcessSimulatedBus.h"

#include "platform/core/AtomicFile.h"
#include "simulator/SimulatedBus.h"
#include "simulator/StateFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

namespace simulator {
namespace {

constexpr std::string_view kPrefix = "lm360r simulated printer: ";

DeviceScript ScriptFor(const PrinterState& state) {
    DeviceScript script;
    script.identity = DefaultIdentity(state.serial);
    script.identity.manufacturer = state.manufacturer;
    script.identity.product = state.product;
    script.identity.deviceId = DeviceIdText(state.manufacturer, state.product, state.serial);
    script.settings = state.settings;
    script.refusedKinds = state.refusedKinds;
    return script;
}

struct LoadedState {
    std::vector<PrinterState> printers;
    bool writable = false;
};

LoadedState Load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        const bool missing = errno == ENOENT;
        std::cerr << kPrefix << path << ": " << std::strerror(errno)
                  << "; starting from the default printer\n";
        return {DefaultPrinters(), missing};
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        std::cerr << kPrefix << path << ": cannot be read; starting from the default printer\n";
        return {DefaultPrinters(), false};
    }
    ParsedState parsed = ParseState(text.str());
    if (!parsed.printers) {
        std::cerr << kPrefix << path << ": " << parsed.problem
                  << "; starting from the default printer and leaving the file as it is\n";
        return {DefaultPrinters(), false};
    }
    return {std::move(*parsed.printers), true};
}

class StateFileBus final : public platform::UsbBus {
  public:
    StateFileBus(std::string path, LoadedState state)
        : path_(std::move(path)), printers_(std::move(state.printers)) {
        for (std::size_t i = 0; i < printers_.size(); ++i) {
            SimulatedDevice& device = bus_.AddDevice(ScriptFor(printers_[i]));
            if (state.writable) {
                device.printer().SetSettingsObserver([this, i](const PrinterSettings& settings) {
                    printers_[i].settings = settings;
                    Save();
                });
            }
        }
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
    void Save() const {
        const std::string text = FormatState(printers_);
        if (const auto problem = platform::WriteFileAtomically(
                path_, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()))) {
            std::cerr << kPrefix << path_ << ": cannot be written: " << *problem << "\n";
        }
    }

    std::string path_;
    std::vector<PrinterState> printers_;
    SimulatedBus bus_; // declared last: its printers call back into the members above
};

} // namespace

std::unique_ptr<platform::UsbBus> CreateProcessSimulatedBus(const char* stateFile) {
    if (stateFile == nullptr || *stateFile == '\0') {
        auto bus = std::make_unique<SimulatedBus>();
        bus->AddDevice();
        return bus;
    }
    return std::make_unique<StateFileBus>(stateFile, Load(stateFile));
}

} // namespace simulator

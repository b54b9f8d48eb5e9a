#include "simulator/ProcessSimulatedBus.h"

#include "simulator/SimulatedBus.h"
#include "simulator/StateFile.h"

#include <iostream>

namespace simulator {
namespace {

DeviceScript ScriptFor(const PrinterState& state) {
    DeviceScript script;
    script.identity = IdentityOf(state);
    script.settings = state.settings;
    script.refusedKinds = state.refusedKinds;
    return script;
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

  private:
    void Save() const {
        if (const auto problem = SaveStateFile(path_, printers_)) {
            std::cerr << kStateFileMessagePrefix << path_ << ": cannot be written: " << *problem << "\n";
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
    return std::make_unique<StateFileBus>(stateFile, LoadStateFile(stateFile));
}

} // namespace simulator

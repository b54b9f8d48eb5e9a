#pragma once

#include "platform/usbhost/UsbInterface.h"
#include "simulator/DeviceScript.h"
#include "simulator/SimulatedPrinter.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace simulator {

// What happened to a device's interface handles, in order, across the whole bus.
enum class HandleEvent { Created, Opened, Closed, Released };
struct BusEvent {
    std::size_t device = 0; // index in the bus, in the order devices were added
    HandleEvent event = HandleEvent::Created;
};

struct ControlRecord {
    ControlSetup setup;
    platform::UsbStatus status = platform::kUsbOk;
    std::uint32_t delivered = 0;
};

// What the host did to one device.
struct DeviceRecord {
    unsigned handlesCreated = 0;
    unsigned handlesReleased = 0;
    unsigned opens = 0;             // successful USBInterfaceOpen calls
    unsigned closes = 0;            // successful USBInterfaceClose calls
    unsigned releasedWhileOpen = 0; // handles destroyed without closing the interface first
    unsigned readPasses = 0;        // ReadPipe calls that reached the device
    unsigned writes = 0;            // WritePipe calls that reached the device
    std::vector<std::vector<std::uint8_t>> connections; // bulk OUT bytes per successful open
    std::vector<std::uint8_t> alternatesSelected;       // successful SetAlternateInterface values
    std::vector<ControlRecord> controlRequests;

    unsigned LiveHandles() const { return handlesCreated - handlesReleased; }
    bool InterfaceOpen() const { return opens > closes + releasedWhileOpen; }
};

class SimulatedDevice;

// A USB bus of simulated interfaces, listed in the order they were added. The bus must outlive
// every handle created from it. The link uses it from one thread at a time; devices may be added or
// unplugged from another thread meanwhile, as on a real bus, and every such change is told to the
// watchers (WatchDeviceChanges) on the thread that made it.
class SimulatedBus final : public platform::UsbBus {
  public:
    SimulatedBus();
    ~SimulatedBus() override;
    SimulatedBus(const SimulatedBus&) = delete;
    SimulatedBus& operator=(const SimulatedBus&) = delete;

    SimulatedDevice& AddDevice(DeviceScript script = {});
    SimulatedDevice& device(std::size_t index);
    std::size_t deviceCount() const;

    // Makes the next ListInterfaces call fail with this status (once).
    void FailNextListing(platform::UsbStatus status) { listingFault_ = status; }

    platform::UsbStatus
    ListInterfaces(std::vector<std::unique_ptr<platform::UsbInterfaceEntry>>& entries) override;
    std::unique_ptr<platform::UsbChangeSubscription>
    WatchDeviceChanges(platform::UsbDevicesChanged changed) override;

    const std::vector<BusEvent>& events() const { return events_; }
    unsigned liveHandles() const { return liveHandles_; }
    unsigned peakLiveHandles() const { return peakLiveHandles_; }
    // Forgets the events and the peak, keeping the devices and their records.
    void ClearEvents();

  private:
    friend class SimulatedDevice;
    class Subscription;
    void Note(std::size_t device, HandleEvent event);
    void NotifyChange();

    mutable std::mutex devicesMutex_;
    std::vector<std::unique_ptr<SimulatedDevice>> devices_;
    std::mutex watchersMutex_; // held while a watcher is called, so unsubscribing waits for it
    std::map<unsigned, platform::UsbDevicesChanged> watchers_;
    unsigned nextWatcher_ = 0;
    std::vector<BusEvent> events_;
    unsigned liveHandles_ = 0;
    unsigned peakLiveHandles_ = 0;
    platform::UsbStatus listingFault_ = platform::kUsbOk;
};

// One simulated USB interface with the printer behind it.
class SimulatedDevice {
  public:
    SimulatedDevice(SimulatedBus& bus, std::size_t index, DeviceScript script);

    DeviceScript& script() { return script_; }
    SimulatedPrinter& printer() { return printer_; }
    const DeviceRecord& record() const { return record_; }
    // The bulk OUT bytes of the latest connection (empty if it was never opened).
    std::vector<std::uint8_t> LastConnectionOut() const;

    // The device disappears: it is no longer listed and every operation fails with kUsbErrorNoDevice.
    void Unplug();
    bool present() const { return present_; }

    std::uint8_t selectedAlternate() const { return selectedAlternate_; }
    platform::UsbDeviceRef ref() const { return static_cast<platform::UsbDeviceRef>(index_ + 1); }
    std::size_t index() const { return index_; }

  private:
    friend class SimulatedInterface;
    friend class SimulatedEntry;

    // The status an operation gets before doing anything: gone, scripted fault, or success.
    platform::UsbStatus Admit(UsbOperation operation);
    const AlternateSetting& CurrentAlternate() const { return script_.alternates.at(selectedAlternate_); }
    std::optional<platform::PipeProperties> Pipe(std::uint8_t pipeRef) const;
    platform::UsbStatus PipeStatus(std::uint8_t pipeRef) const;
    platform::UsbStatus SelectAlternate(std::uint8_t alternate);
    platform::UsbStatus Control(platform::UsbDevRequest& request);
    platform::UsbStatus Write(std::uint8_t pipeRef, const void* data, std::uint32_t size);
    platform::UsbStatus Read(std::uint8_t pipeRef, void* data, std::uint32_t& size);
    void NoteCreated();
    void NoteOpened(const void* handle);
    void NoteClosed(const void* handle, bool byRelease);
    void NoteReleased();

    SimulatedBus& bus_;
    std::size_t index_;
    DeviceScript script_;
    SimulatedPrinter printer_;
    DeviceRecord record_;
    std::map<UsbOperation, unsigned> calls_;
    std::uint8_t selectedAlternate_ = 0;
    std::atomic<bool> present_ = true;
    const void* holder_ = nullptr; // the handle that has the interface open
    unsigned silentPassesLeft_ = 0;
};

} // namespace simulator

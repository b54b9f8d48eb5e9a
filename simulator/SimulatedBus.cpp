#include "simulator/SimulatedBus.h"

#include "platform/usbhost/UsbRequests.h"

#include <algorithm>
#include <cstring>
#include <thread>
#include <utility>

namespace simulator {

using platform::UsbStatus;

// A handle on one simulated interface. Destroying it while open releases the interface, as
// destroying a real handle does.
class SimulatedInterface final : public platform::UsbInterface {
  public:
    explicit SimulatedInterface(SimulatedDevice& device)
        : device_(device), alternate_(device.selectedAlternate()) {
        device_.NoteCreated();
    }
    ~SimulatedInterface() override {
        if (open_) {
            device_.NoteClosed(this, true);
        }
        device_.NoteReleased();
    }
    SimulatedInterface(const SimulatedInterface&) = delete;
    SimulatedInterface& operator=(const SimulatedInterface&) = delete;

    UsbStatus GetInterfaceClass(std::uint8_t& value) override {
        return Get(UsbOperation::GetInterfaceClass, value, Selected().interfaceClass);
    }
    UsbStatus GetInterfaceSubClass(std::uint8_t& value) override {
        return Get(UsbOperation::GetInterfaceSubClass, value, Selected().interfaceSubClass);
    }
    UsbStatus GetInterfaceProtocol(std::uint8_t& value) override {
        return Get(UsbOperation::GetInterfaceProtocol, value, Selected().interfaceProtocol);
    }
    UsbStatus GetAlternateSetting(std::uint8_t& value) override {
        return Get(UsbOperation::GetAlternateSetting, value, alternate_);
    }
    UsbStatus GetConfigurationValue(std::uint8_t& value) override {
        return Get(UsbOperation::GetConfigurationValue, value, device_.script_.configurationValue);
    }
    UsbStatus GetInterfaceNumber(std::uint8_t& value) override {
        return Get(UsbOperation::GetInterfaceNumber, value, device_.script_.interfaceNumber);
    }
    UsbStatus GetNumEndpoints(std::uint8_t& value) override {
        return Get(UsbOperation::GetNumEndpoints, value, static_cast<std::uint8_t>(Selected().pipes.size()));
    }
    UsbStatus GetDevice(platform::UsbDeviceRef& device) override {
        return Get(UsbOperation::GetDevice, device, device_.ref());
    }
    UsbStatus GetSystemDeviceStrings(std::optional<std::string>& manufacturer,
                                     std::optional<std::string>& product) override {
        if (!device_.script_.systemShowsStrings) {
            return platform::kUsbErrorNotSupported;
        }
        manufacturer = device_.script_.identity.manufacturer;
        product = device_.script_.identity.product;
        return platform::kUsbOk;
    }

    UsbStatus USBInterfaceOpen() override {
        if (const UsbStatus status = device_.Admit(UsbOperation::USBInterfaceOpen);
            status != platform::kUsbOk) {
            return status;
        }
        if (open_ || (device_.holder_ != nullptr && device_.holder_ != this)) {
            return platform::kUsbErrorBusy;
        }
        open_ = true;
        device_.NoteOpened(this);
        // The setting this handle selected becomes the device's, as a real host sets it on claiming.
        if (device_.script_.alternates.size() > 1) {
            if (const UsbStatus status = device_.SelectAlternate(alternate_); status != platform::kUsbOk) {
                open_ = false;
                device_.NoteClosed(this, false);
                return status;
            }
        }
        return platform::kUsbOk;
    }

    UsbStatus USBInterfaceClose() override {
        const UsbStatus status = device_.Admit(UsbOperation::USBInterfaceClose);
        if (status != platform::kUsbOk && device_.present()) {
            return status;
        }
        if (!open_) {
            return status != platform::kUsbOk ? status : platform::kUsbErrorNotFound;
        }
        // A device that is gone has dropped the claim with it, even though the call fails.
        open_ = false;
        device_.NoteClosed(this, false);
        return status;
    }

    UsbStatus SetAlternateInterface(std::uint8_t alternate) override {
        if (const UsbStatus status = device_.Admit(UsbOperation::SetAlternateInterface);
            status != platform::kUsbOk) {
            return status;
        }
        if (alternate >= device_.script_.alternates.size()) {
            return platform::kUsbErrorNotFound;
        }
        if (open_) {
            if (const UsbStatus status = device_.SelectAlternate(alternate); status != platform::kUsbOk) {
                return status;
            }
        }
        alternate_ = alternate;
        return platform::kUsbOk;
    }

    UsbStatus ControlRequest(platform::UsbDevRequest& request) override {
        if (const UsbStatus status = device_.Admit(UsbOperation::ControlRequest);
            status != platform::kUsbOk) {
            return status;
        }
        return device_.Control(request);
    }

    UsbStatus GetPipeProperties(std::uint8_t pipeRef, platform::PipeProperties& properties) override {
        if (const UsbStatus status = device_.Admit(UsbOperation::GetPipeProperties);
            status != platform::kUsbOk) {
            return status;
        }
        const auto pipe = device_.Pipe(pipeRef);
        if (!pipe) {
            return platform::kUsbErrorInvalidParam;
        }
        properties = *pipe;
        return platform::kUsbOk;
    }

    UsbStatus GetPipeStatus(std::uint8_t pipeRef) override {
        if (const UsbStatus status = device_.Admit(UsbOperation::GetPipeStatus); status != platform::kUsbOk) {
            return status;
        }
        return device_.PipeStatus(pipeRef);
    }

    UsbStatus WritePipe(std::uint8_t pipeRef, const void* data, std::uint32_t size) override {
        return WhenOpen(UsbOperation::WritePipe, [&] { return device_.Write(pipeRef, data, size); });
    }

    UsbStatus ReadPipe(std::uint8_t pipeRef, void* data, std::uint32_t& size) override {
        return WhenOpen(UsbOperation::ReadPipe, [&] { return device_.Read(pipeRef, data, size); });
    }

  private:
    template <typename T> UsbStatus Get(UsbOperation operation, T& out, T value) {
        const UsbStatus status = device_.Admit(operation);
        if (status == platform::kUsbOk) {
            out = value;
        }
        return status;
    }

    // Pipes and alternate settings need the interface claimed, as on a real host.
    template <typename Action> UsbStatus WhenOpen(UsbOperation operation, Action action) {
        if (const UsbStatus status = device_.Admit(operation); status != platform::kUsbOk) {
            return status;
        }
        return open_ ? action() : platform::kUsbErrorNotFound;
    }

    const AlternateSetting& Selected() const { return device_.script_.alternates.at(alternate_); }

    SimulatedDevice& device_;
    bool open_ = false;
    std::uint8_t alternate_; // this handle's selection; the device's own while the interface is open
};

class SimulatedEntry final : public platform::UsbInterfaceEntry {
  public:
    explicit SimulatedEntry(SimulatedDevice& device) : device_(device) {}
    UsbStatus CreateInterface(std::unique_ptr<platform::UsbInterface>& handle) override {
        handle.reset();
        if (const UsbStatus status = device_.Admit(UsbOperation::CreateInterface);
            status != platform::kUsbOk) {
            return status;
        }
        handle = std::make_unique<SimulatedInterface>(device_);
        return platform::kUsbOk;
    }

  private:
    SimulatedDevice& device_;
};

// ---- bus

SimulatedBus::SimulatedBus() = default;
SimulatedBus::~SimulatedBus() = default;

class SimulatedBus::Subscription final : public platform::UsbChangeSubscription {
  public:
    Subscription(SimulatedBus& bus, unsigned id) : bus_(bus), id_(id) {}
    ~Subscription() override {
        const std::lock_guard lock(bus_.watchersMutex_);
        bus_.watchers_.erase(id_);
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

  private:
    SimulatedBus& bus_;
    unsigned id_;
};

SimulatedDevice& SimulatedBus::AddDevice(DeviceScript script) {
    SimulatedDevice* added = nullptr;
    {
        const std::lock_guard lock(devicesMutex_);
        devices_.push_back(std::make_unique<SimulatedDevice>(*this, devices_.size(), std::move(script)));
        added = devices_.back().get();
    }
    NotifyChange();
    return *added;
}

SimulatedDevice& SimulatedBus::device(std::size_t index) {
    const std::lock_guard lock(devicesMutex_);
    return *devices_.at(index);
}

std::size_t SimulatedBus::deviceCount() const {
    const std::lock_guard lock(devicesMutex_);
    return devices_.size();
}

std::unique_ptr<platform::UsbChangeSubscription>
SimulatedBus::WatchDeviceChanges(platform::UsbDevicesChanged changed) {
    const std::lock_guard lock(watchersMutex_);
    const unsigned id = nextWatcher_++;
    watchers_.emplace(id, std::move(changed));
    return std::make_unique<Subscription>(*this, id);
}

void SimulatedBus::NotifyChange() {
    const std::lock_guard lock(watchersMutex_);
    for (const auto& [id, changed] : watchers_) {
        changed();
    }
}

UsbStatus SimulatedBus::ListInterfaces(std::vector<std::unique_ptr<platform::UsbInterfaceEntry>>& entries) {
    entries.clear();
    const std::lock_guard lock(devicesMutex_);
    if (listingFault_ != platform::kUsbOk) {
        return std::exchange(listingFault_, platform::kUsbOk);
    }
    for (const auto& device : devices_) {
        if (device->present()) {
            entries.push_back(std::make_unique<SimulatedEntry>(*device));
        }
    }
    return platform::kUsbOk;
}

void SimulatedBus::ClearEvents() {
    events_.clear();
    peakLiveHandles_ = liveHandles_;
}

void SimulatedBus::Note(std::size_t device, HandleEvent event) {
    events_.push_back({device, event});
    if (event == HandleEvent::Created) {
        peakLiveHandles_ = std::max(peakLiveHandles_, ++liveHandles_);
    } else if (event == HandleEvent::Released) {
        --liveHandles_;
    }
}

// ---- device

SimulatedDevice::SimulatedDevice(SimulatedBus& bus, std::size_t index, DeviceScript script)
    : bus_(bus), index_(index), script_(std::move(script)), printer_(script_.identity, script_.settings),
      selectedAlternate_(script_.selectedAlternate) {
    printer_.SetRefusedKinds(script_.refusedKinds);
    if (script_.alternates.empty()) {
        script_.alternates.emplace_back();
    }
    selectedAlternate_ =
        std::min<std::uint8_t>(selectedAlternate_, static_cast<std::uint8_t>(script_.alternates.size() - 1));
}

void SimulatedDevice::Unplug() {
    if (present_.exchange(false)) {
        bus_.NotifyChange();
    }
}

std::vector<std::uint8_t> SimulatedDevice::LastConnectionOut() const {
    return record_.connections.empty() ? std::vector<std::uint8_t>{} : record_.connections.back();
}

UsbStatus SimulatedDevice::Admit(UsbOperation operation) {
    if (!present_) {
        return platform::kUsbErrorNoDevice;
    }
    const unsigned call = ++calls_[operation];
    const auto fault = script_.faults.find(operation);
    if (fault != script_.faults.end() && call > fault->second.afterCalls) {
        return fault->second.status;
    }
    return platform::kUsbOk;
}

std::optional<platform::PipeProperties> SimulatedDevice::Pipe(std::uint8_t pipeRef) const {
    const auto& pipes = CurrentAlternate().pipes;
    if (pipeRef == 0 || pipeRef > pipes.size()) {
        return std::nullopt;
    }
    return pipes[pipeRef - 1];
}

UsbStatus SimulatedDevice::PipeStatus(std::uint8_t pipeRef) const {
    if (!Pipe(pipeRef)) {
        return platform::kUsbErrorInvalidParam;
    }
    const auto halted = script_.pipeStatus.find(pipeRef);
    return halted == script_.pipeStatus.end() ? platform::kUsbOk : halted->second;
}

UsbStatus SimulatedDevice::SelectAlternate(std::uint8_t alternate) {
    if (alternate >= script_.alternates.size()) {
        return platform::kUsbErrorNotFound;
    }
    selectedAlternate_ = alternate;
    record_.alternatesSelected.push_back(alternate);
    return platform::kUsbOk;
}

UsbStatus SimulatedDevice::Control(platform::UsbDevRequest& request) {
    request.wLenDone = 0;
    const ControlSetup setup{request.bmRequestType, request.bRequest, request.wValue, request.wIndex,
                             request.wLength};
    std::optional<std::vector<std::uint8_t>> answer;
    const auto type = static_cast<std::uint8_t>(request.wValue >> 8);
    const auto index = static_cast<std::uint8_t>(request.wValue & 0xFF);
    const auto raw = script_.rawStringDescriptors.find(index);
    if (request.bmRequestType == platform::kRequestTypeStandardDeviceIn &&
        request.bRequest == platform::kRequestGetDescriptor && type == platform::kDescriptorTypeString &&
        raw != script_.rawStringDescriptors.end()) {
        answer = raw->second;
    } else if (request.bmRequestType == platform::kRequestTypeClassInterfaceIn &&
               request.bRequest == platform::kRequestGetDeviceId && script_.rawDeviceId) {
        answer = *script_.rawDeviceId;
    } else {
        answer = printer_.AnswerControl(setup);
    }
    UsbStatus status = platform::kUsbOk;
    if (!answer) {
        status = platform::kUsbErrorPipe; // the device stalls a request it does not know
    } else if (request.data == nullptr && request.wLength > 0) {
        status = platform::kUsbErrorInvalidParam;
    } else {
        const std::size_t count = std::min<std::size_t>(answer->size(), request.wLength);
        std::copy_n(answer->begin(), count, static_cast<std::uint8_t*>(request.data));
        request.wLenDone = static_cast<std::uint32_t>(count);
    }
    record_.controlRequests.push_back({setup, status, request.wLenDone});
    return status;
}

UsbStatus SimulatedDevice::Write(std::uint8_t pipeRef, const void* data, std::uint32_t size) {
    const auto pipe = Pipe(pipeRef);
    if (!pipe || pipe->transferType != platform::kPipeTypeBulk ||
        pipe->direction != platform::kPipeDirectionOut || (data == nullptr && size > 0)) {
        return platform::kUsbErrorInvalidParam;
    }
    if (const UsbStatus halted = PipeStatus(pipeRef); halted != platform::kUsbOk) {
        return halted;
    }
    const std::span<const std::uint8_t> bytes(static_cast<const std::uint8_t*>(data), size);
    if (!record_.connections.empty()) {
        record_.connections.back().insert(record_.connections.back().end(), bytes.begin(), bytes.end());
    }
    ++record_.writes;
    printer_.Receive(bytes);
    if (script_.vanishAfterWrites && record_.writes >= *script_.vanishAfterWrites) {
        Unplug();
    }
    return platform::kUsbOk;
}

UsbStatus SimulatedDevice::Read(std::uint8_t pipeRef, void* data, std::uint32_t& size) {
    const auto pipe = Pipe(pipeRef);
    if (!pipe || pipe->transferType != platform::kPipeTypeBulk ||
        pipe->direction != platform::kPipeDirectionIn || (data == nullptr && size > 0)) {
        size = 0;
        return platform::kUsbErrorInvalidParam;
    }
    if (const UsbStatus halted = PipeStatus(pipeRef); halted != platform::kUsbOk) {
        size = 0;
        return halted;
    }
    ++record_.readPasses;
    if (script_.replyNeverComes || silentPassesLeft_ > 0) {
        silentPassesLeft_ -= silentPassesLeft_ > 0 ? 1 : 0;
        size = 0;
    } else {
        std::uint32_t room = size;
        if (script_.replyBytesPerPass > 0) {
            room = std::min(room, script_.replyBytesPerPass);
        }
        size = static_cast<std::uint32_t>(printer_.TakeReply({static_cast<std::uint8_t*>(data), room}));
    }
    if (size == 0) {
        // A real host's pass waits for bytes before it reports none.
        std::this_thread::sleep_for(script_.emptyPassWait);
    }
    return platform::kUsbOk;
}

void SimulatedDevice::NoteCreated() {
    ++record_.handlesCreated;
    bus_.Note(index_, HandleEvent::Created);
}

void SimulatedDevice::NoteOpened(const void* handle) {
    holder_ = handle;
    ++record_.opens;
    record_.connections.emplace_back();
    silentPassesLeft_ = script_.silentReadPasses;
    bus_.Note(index_, HandleEvent::Opened);
}

void SimulatedDevice::NoteClosed(const void* handle, bool byRelease) {
    if (holder_ == handle) {
        holder_ = nullptr;
    }
    ++(byRelease ? record_.releasedWhileOpen : record_.closes);
    bus_.Note(index_, HandleEvent::Closed);
}

void SimulatedDevice::NoteReleased() {
    ++record_.handlesReleased;
    bus_.Note(index_, HandleEvent::Released);
}

} // namespace simulator

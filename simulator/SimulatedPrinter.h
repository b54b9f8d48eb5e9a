#pragma once

#include "protocol/Frames.h"
#include "protocol/SettingKind.h"
#include "simulator/DeviceIdentity.h"
#include "simulator/PrinterSettings.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <vector>

namespace simulator {

// The setup packet of a request on the default control pipe.
struct ControlSetup {
    std::uint8_t bmRequestType = 0;
    std::uint8_t bRequest = 0;
    std::uint16_t wValue = 0;
    std::uint16_t wIndex = 0;
    std::uint16_t wLength = 0;
};

// The behaviour of one LM-360R, independent of any bus: feed it what the host writes to the bulk OUT
// pipe, take what it has to say from the bulk IN pipe, and ask it to answer control requests.
//
// Commands understood (every frame the settings protocol builds):
//   ESC "@"                 initialise: drops any reply not yet read
//   ESC "i" "a" 01          mode switch: accepted, nothing to answer
//   ESC "i" "S"             status: a 32-byte reply
//   read requests           the setting's reply (32 or 3 bytes) with the stored value
//   write frames            store the value (unless writes of that kind are refused)
//   ESC "i" "U" "i"         reset: every setting back to its default
// Frames may be split across writes or share one. Bytes that start no known frame are skipped one
// at a time, the way a printer resynchronises on the next ESC.
class SimulatedPrinter {
  public:
    explicit SimulatedPrinter(DeviceIdentity identity = DefaultIdentity(), PrinterSettings settings = {});

    // Bulk OUT.
    void Receive(std::span<const std::uint8_t> bytes);
    // Bulk IN: moves up to `room.size()` pending reply bytes into `room`; returns how many.
    std::size_t TakeReply(std::span<std::uint8_t> room);
    std::size_t PendingReplySize() const { return reply_.size(); }

    // Standard GET_DESCRIPTOR (device, language list, strings) and the printer class GET_DEVICE_ID.
    // Returns what the device delivers, at most wLength bytes; nullopt when it stalls the request.
    std::optional<std::vector<std::uint8_t>> AnswerControl(const ControlSetup& setup) const;

    const DeviceIdentity& identity() const { return identity_; }
    const PrinterSettings& settings() const { return settings_; }
    void SetSettings(const PrinterSettings& settings) { settings_ = settings; }

    // Kinds whose write frames the printer accepts but does not store: a read-back shows the old value.
    const std::set<protocol::SettingKind>& refusedKinds() const { return refused_; }
    void SetRefusedKinds(std::set<protocol::SettingKind> kinds) { refused_ = std::move(kinds); }

    // Called after a write or reset changed the stored settings.
    void SetSettingsObserver(std::function<void(const PrinterSettings&)> observer) {
        observer_ = std::move(observer);
    }

    // Called for every frame the printer recognised, in order.
    using FrameObserver = std::function<void(protocol::FrameType type, protocol::SettingKind kind)>;
    void SetFrameObserver(FrameObserver observer) { frameObserver_ = std::move(observer); }

  private:
    void Interpret();
    void AppendSettingReply(protocol::SettingKind kind);
    void AppendStatusReply();
    void ChangeSettings(const PrinterSettings& settings);

    DeviceIdentity identity_;
    PrinterSettings settings_;
    std::set<protocol::SettingKind> refused_;
    std::function<void(const PrinterSettings&)> observer_;
    FrameObserver frameObserver_;
    std::vector<std::uint8_t> input_; // an incomplete frame waiting for its remaining bytes
    std::vector<std::uint8_t> reply_; // bytes waiting on the bulk IN pipe
};

} // namespace simulator

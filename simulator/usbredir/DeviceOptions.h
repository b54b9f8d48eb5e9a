#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace simulator::usbredir {

// What a run of the USB device program is asked to be: where QEMU listens, which state file holds
// the printer, and the faults it shows.
struct DeviceOptions {
    std::string socketPath;
    std::string stateFile;
    std::string recordFile; // every bulk OUT byte received, in order; empty: nothing recorded
    // One byte for every bulk IN request the host made (each pass of a read), so that a test counts a
    // program's passes; empty: not kept.
    std::string inRecordFile;
    // Replies the printer makes while this file exists are swallowed, so a test can make the printer
    // fall silent at the moment it chooses; empty: never.
    std::string silentWhileFile;
    // While this file exists the printer takes no bulk OUT packet: a host's write waits until it gives
    // up and cancels. Empty: never.
    std::string holdOutWhileFile;
    // While this file exists every bulk transfer stalls; a pipe halted so stays halted until the host
    // clears it or the printer is plugged in again. Empty: never.
    std::string stallWhileFile;
    // While this file exists replies come at most three bytes per packet (or --trickle's). Empty: never.
    std::string trickleWhileFile;
    // When this file appears the printer is unplugged (the file is removed) and plugged in again a
    // moment later. Empty: never.
    std::string unplugWhenFile;
    // A line "MICROSECONDS out|in BYTES" for every bulk OUT packet taken and every reply packet sent, the
    // time counted from the program's start; empty: not kept.
    std::string timesFile;
    std::chrono::seconds lifetime{120};
    // Replies the printer swallows, counted by the writes that asked for one: a host that asked
    // waits forever. Unset: every reply is sent.
    std::optional<std::uint32_t> silentReplies;
    bool stallIn = false;
    bool stallOut = false;
    std::uint32_t trickleBytes = 0; // at most this many reply bytes per IN packet; 0: no limit
    bool zeroLengthFirst = false;   // every reply is preceded by a zero-length packet
    // The device goes away (its connection is closed) once this many bulk OUT bytes arrived, and
    // comes back as a freshly plugged printer shortly after.
    std::optional<std::uint64_t> unplugAfterBytes;
};

inline constexpr std::uint32_t kSilentForever = UINT32_MAX;
inline constexpr std::uint32_t kTrickleWhileBytes = 3;

// Whether a switch file (the *-while options) is on now; an empty name is never on.
bool SwitchedOn(const std::string& file);

struct ParsedDeviceOptions {
    std::optional<DeviceOptions> options;
    std::string problem; // when `options` is empty
};

// Arguments after the program name; `--name=VALUE` for options with values.
ParsedDeviceOptions ParseDeviceOptions(std::span<char* const> arguments);

inline constexpr const char* kDeviceUsage =
    "usage: lm360r-usbredir-printer --socket=PATH --state=FILE [--record=FILE] [--record-in=FILE]\n"
    "       [--lifetime=SECONDS] [--silent[=REPLIES]] [--silent-while=FILE] [--hold-out-while=FILE]\n"
    "       [--stall-in] [--stall-out] [--trickle=BYTES] [--zero-length-first] [--unplug-after=BYTES]\n"
    "       [--record-times=FILE] [--stall-while=FILE] [--trickle-while=FILE] [--unplug-when=FILE]\n";

} // namespace simulator::usbredir

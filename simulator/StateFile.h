#pragma once

#include "protocol/SettingKind.h"
#include "simulator/DeviceIdentity.h"
#include "simulator/PrinterSettings.h"

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace simulator {

// One printer as the state file describes it (format in simulator/README.md).
struct PrinterState {
    std::string serial;
    std::string manufacturer;
    std::string product;
    PrinterSettings settings;
    std::set<protocol::SettingKind> refusedKinds;

    friend bool operator==(const PrinterState&, const PrinterState&) = default;
};

// The scenario a process starts from when the file is missing or unreadable: one default printer.
std::vector<PrinterState> DefaultPrinters();

struct ParsedState {
    std::optional<std::vector<PrinterState>> printers; // nullopt: the text is not a valid state file
    std::string problem;                               // "line N: ..." when it is not
};
ParsedState ParseState(std::string_view text);
std::string FormatState(const std::vector<PrinterState>& printers);

// How the simulated printer's messages about its state file begin.
inline constexpr std::string_view kStateFileMessagePrefix = "lm360r simulated printer: ";

// What a process starts from. A missing file, or one that cannot be read or understood, gives one
// default printer and one line on stderr; only a missing file may then be created (`writable`), so a
// file that exists but was not understood is never overwritten.
struct LoadedState {
    std::vector<PrinterState> printers;
    bool writable = false;
};
LoadedState LoadStateFile(const std::string& path);

// The identity a printer of the state file presents: its strings and the matching device ID.
DeviceIdentity IdentityOf(const PrinterState& state);

// Replaces the file at `path` with these printers all at once; returns what went wrong, or nullopt.
std::optional<std::string> SaveStateFile(const std::string& path, const std::vector<PrinterState>& printers);

} // namespace simulator

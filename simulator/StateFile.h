#pragma once

#include "protocol/SettingKind.h"
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

} // namespace simulator

#include "simulator/StateFile.h"

#include "protocol/SettingsTable.h"
#include "simulator/DeviceIdentity.h"

#include <charconv>

namespace simulator {
namespace {

constexpr std::string_view kSection = "[printer]";
constexpr std::string_view kWhitespace = " \t\r";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kWhitespace);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kWhitespace);
    return text.substr(first, last - first + 1);
}

std::optional<std::uint8_t> ParseByte(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 0xFF) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

// "network info-print" (spaces or commas between names)
std::optional<std::set<protocol::SettingKind>> ParseKinds(std::string_view text) {
    std::set<protocol::SettingKind> kinds;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto start = text.find_first_not_of(" \t,", pos);
        if (start == std::string_view::npos) {
            break;
        }
        const auto end = std::min(text.find_first_of(" \t,", start), text.size());
        const protocol::SettingRow* setting = protocol::SettingNamed(text.substr(start, end - start));
        if (setting == nullptr) {
            return std::nullopt;
        }
        kinds.insert(setting->kind);
        pos = end;
    }
    return kinds;
}

PrinterState DefaultPrinter() {
    return {
        std::string(kDefaultSerial), std::string(kDefaultManufacturer), std::string(kDefaultProduct), {}, {}};
}

// Applies `key = value` to a printer; an empty string when it was understood.
std::string Apply(PrinterState& printer, std::string_view key, std::string_view value) {
    if (key == "serial") {
        printer.serial = value;
    } else if (key == "manufacturer") {
        printer.manufacturer = value;
    } else if (key == "product") {
        printer.product = value;
    } else if (key == "refuse") {
        const auto kinds = ParseKinds(value);
        if (!kinds) {
            return "unknown setting in \"refuse\"";
        }
        printer.refusedKinds = *kinds;
    } else if (const protocol::SettingRow* setting = protocol::SettingNamed(key)) {
        const auto byte = ParseByte(value);
        if (!byte) {
            return "a setting's value must be a number from 0 to 255";
        }
        printer.settings.Set(setting->kind, *byte);
    } else {
        return "unknown key \"" + std::string(key) + "\"";
    }
    return {};
}

} // namespace

std::vector<PrinterState> DefaultPrinters() {
    return {DefaultPrinter()};
}

ParsedState ParseState(std::string_view text) {
    std::vector<PrinterState> printers;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto newline = text.find('\n');
        const std::string_view line = Trim(text.substr(0, newline));
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto problem = [lineNumber](const std::string& what) {
            return ParsedState{std::nullopt, "line " + std::to_string(lineNumber) + ": " + what};
        };
        if (line == kSection) {
            printers.push_back(DefaultPrinter());
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            return problem("expected [printer] or key = value");
        }
        if (printers.empty()) {
            return problem("settings must follow a [printer] line");
        }
        if (std::string what =
                Apply(printers.back(), Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
            !what.empty()) {
            return problem(what);
        }
    }
    return ParsedState{std::move(printers), {}};
}

std::string FormatState(const std::vector<PrinterState>& printers) {
    std::string text = "# Simulated LM-360R printers, in bus order. Format: simulator/README.md\n";
    for (const PrinterState& printer : printers) {
        text += "\n[printer]\n";
        text += "serial = " + printer.serial + "\n";
        text += "manufacturer = " + printer.manufacturer + "\n";
        text += "product = " + printer.product + "\n";
        for (const protocol::SettingRow& setting : protocol::Settings()) {
            text +=
                std::string(setting.key) + " = " + std::to_string(printer.settings.Get(setting.kind)) + "\n";
        }
        if (!printer.refusedKinds.empty()) {
            text += "refuse =";
            for (protocol::SettingKind kind : printer.refusedKinds) {
                text += " " + std::string(protocol::SettingOf(kind)->key);
            }
            text += "\n";
        }
    }
    return text;
}

} // namespace simulator

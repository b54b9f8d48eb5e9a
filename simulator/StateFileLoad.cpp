#include "platform/core/AtomicFile.h"
#include "simulator/StateFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

namespace simulator {

LoadedState LoadStateFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        const bool missing = errno == ENOENT;
        std::cerr << kStateFileMessagePrefix << path << ": " << std::strerror(errno)
                  << "; starting from the default printer\n";
        return {DefaultPrinters(), missing};
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        std::cerr << kStateFileMessagePrefix << path
                  << ": cannot be read; starting from the default printer\n";
        return {DefaultPrinters(), false};
    }
    ParsedState parsed = ParseState(text.str());
    if (!parsed.printers) {
        std::cerr << kStateFileMessagePrefix << path << ": " << parsed.problem
                  << "; starting from the default printer and leaving the file as it is\n";
        return {DefaultPrinters(), false};
    }
    return {std::move(*parsed.printers), true};
}

DeviceIdentity IdentityOf(const PrinterState& state) {
    DeviceIdentity identity = DefaultIdentity(state.serial);
    identity.manufacturer = state.manufacturer;
    identity.product = state.product;
    identity.deviceId = DeviceIdText(state.manufacturer, state.product, state.serial);
    return identity;
}

std::optional<std::string> SaveStateFile(const std::string& path, const std::vector<PrinterState>& printers) {
    const std::string text = FormatState(printers);
    return platform::WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace simulator

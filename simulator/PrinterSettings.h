#pragma once

#include "protocol/SettingKind.h"

#include <array>
#include <cstdint>

namespace simulator {

// The five stored settings of a simulated LM-360R, as the value bytes that travel on the wire.
// Defaults (what a new printer holds and what the reset frame restores):
//   power-on 0 (off), auto power-off 6 (60 minutes), network 2, information print 3, command mode 0.
struct PrinterSettings {
    std::array<std::uint8_t, 5> values{0, 6, 2, 3, 0};

    // Kinds 1-5; any other kind reads as 0 and is not stored.
    std::uint8_t Get(protocol::SettingKind kind) const;
    void Set(protocol::SettingKind kind, std::uint8_t value);

    friend bool operator==(const PrinterSettings&, const PrinterSettings&) = default;
};

} // namespace simulator

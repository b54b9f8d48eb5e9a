#pragma once

#include "protocol/SettingKind.h"

#include <cstdint>
#include <map>

namespace simulator {

// The stored settings of a simulated LM-360R, one for each setting of the table, as the value bytes
// that travel on the wire. A new printer (and the reset frame) holds the value of the choice the
// window starts with: power-on off, auto power-off 60 minutes, network 3, full information print,
// command mode 0.
class PrinterSettings {
  public:
    PrinterSettings();

    // Any kind without a row reads as 0 and is not stored.
    std::uint8_t Get(protocol::SettingKind kind) const;
    void Set(protocol::SettingKind kind, std::uint8_t value);

    friend bool operator==(const PrinterSettings&, const PrinterSettings&) = default;

  private:
    std::map<protocol::SettingKind, std::uint8_t> values_;
};

} // namespace simulator

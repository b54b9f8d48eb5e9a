#pragma once

#include "protocol/SettingKind.h"
#include "simulator/PrinterSettings.h"

#include <cstdint>

// A simulated printer's settings, given as the value bytes of the window's boxes in order.
inline simulator::PrinterSettings PrinterHolding(std::uint8_t powerOn, std::uint8_t autoPowerOff,
                                                 std::uint8_t network, std::uint8_t infoPrint,
                                                 std::uint8_t commandMode) {
    simulator::PrinterSettings settings;
    settings.Set(protocol::kPowerOn, powerOn);
    settings.Set(protocol::kAutoPowerOff, autoPowerOff);
    settings.Set(protocol::kNetwork, network);
    settings.Set(protocol::kInfoPrint, infoPrint);
    settings.Set(protocol::kCommandMode, commandMode);
    return settings;
}

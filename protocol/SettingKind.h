#pragma once

#include <cstdint>

namespace protocol {

// What a settings operation acts on. A plain integer, because callers pass numbers through the
// link and the command line; IsReadableKind/IsWritableKind say which numbers are meaningful.
using SettingKind = std::int32_t;

inline constexpr SettingKind kPowerOn = 1;
inline constexpr SettingKind kAutoPowerOff = 2;
inline constexpr SettingKind kNetwork = 3;
inline constexpr SettingKind kInfoPrint = 4;
inline constexpr SettingKind kCommandMode = 5;
inline constexpr SettingKind kReset = 6;

inline constexpr SettingKind kFirstValueKind = kPowerOn;
inline constexpr SettingKind kLastValueKind = kCommandMode;

// Kinds 1-5 carry a value and can be read; kind 6 (reset) can only be written.
constexpr bool IsReadableKind(SettingKind kind) {
    return kind >= kFirstValueKind && kind <= kLastValueKind;
}
constexpr bool IsWritableKind(SettingKind kind) {
    return kind >= kFirstValueKind && kind <= kReset;
}

} // namespace protocol

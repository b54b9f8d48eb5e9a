#pragma once

#include "protocol/SettingKind.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace protocol {

// A setting's write frame found in a command file.
struct CarriedSetting {
    SettingKind kind = 0;
    std::uint8_t value = 0;
    std::size_t offset = 0; // where its frame starts
};

struct CommandFileFault {
    std::size_t offset = 0; // the first byte that is wrong, or the file's size when it ends too early
    std::string reason;
};

struct CommandFileCheck {
    std::optional<CommandFileFault> fault; // the first one; nothing else is checked after it
    std::vector<CarriedSetting> settings;  // in file order; complete only when there is no fault
};

// Checks the header, the constant, the length field against the bytes that follow it, the mode
// frame, and that only settings' write frames follow. Never reads outside `bytes`.
CommandFileCheck CheckCommandFile(std::span<const std::uint8_t> bytes);

// No file lm360rctl or the application writes comes near this; larger files are not read whole.
inline constexpr std::size_t kMaxCommandFileSize = 64 * 1024;

} // namespace protocol

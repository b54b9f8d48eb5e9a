#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace platform {

// Replaces the file at `path` (UTF-8) with `bytes` so that afterwards it is either the whole new
// content or exactly what was there before: the data goes to a temporary file next to it, which
// replaces the target only when every byte reached the disk. Returns what went wrong, in words, or
// nullopt when the file was written.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace platform

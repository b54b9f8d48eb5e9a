#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <sys/types.h>

namespace platform {

// Replaces the file at `path` (UTF-8) with `bytes` so that afterwards it is either the whole new
// content or exactly what was there before, also across a power loss: the data goes to a temporary
// file of an unpredictable name in the same folder, created only if nothing is there and never
// through a link, which replaces the target (a link at `path` is replaced, not followed) only when
// every byte reached the disk. A new file gets the usual 0666 less the umask, a replaced regular file
// keeps its permissions. Returns what went wrong, in words, or nullopt when the file was written.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// The same with the new file's permission bits given exactly (the umask does not apply).
std::optional<std::string> WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                                               mode_t permissions);

} // namespace platform

// Any bytes at all may be handed to `lm360rctl inspect` and `send`: the check must never read
// outside them, never loop, and say something consistent about them.
#include "protocol/CommandFile.h"
#include "protocol/CommandFileReader.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const protocol::CommandFileCheck check = protocol::CheckCommandFile(bytes);
    if (check.fault && check.fault->offset > size) {
        __builtin_trap();
    }
    std::size_t previous = 0;
    for (const protocol::CarriedSetting& setting : check.settings) {
        if (setting.offset < protocol::kCommandFileSettingsOffset || setting.offset >= size ||
            setting.offset < previous) {
            __builtin_trap();
        }
        previous = setting.offset + 1;
    }
    return 0;
}

#pragma once

// Internal to the link: the routines its transfers and transactions share.

#include "usb/USBIOContext.h"

#include <cstdint>

namespace cusb_detail {

// Closes and releases the context's interface, if any; harmless on a closed context.
void close(USBIOContext& context);

// The link's pause: sleeps until the next 1/60-second tick, whatever the nominal duration.
std::uint32_t sleep(std::uint32_t nominal);

} // namespace cusb_detail

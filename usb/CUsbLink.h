#pragma once

// Internal to the link: the routines its transfers and transactions share.

#include "usb/USBIOContext.h"

namespace cusb_detail {

// Closes and releases the context's interface, if any; harmless on a closed context.
void close(USBIOContext& context);

} // namespace cusb_detail

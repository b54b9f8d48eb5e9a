#pragma once

#include <chrono>

namespace platform {

// How long opening the printer waits while another program uses it (a claimed interface, a print job
// holding the kernel driver's device node, another run of ours) before it reports the printer in use.
std::chrono::milliseconds InUseWait();
void SetInUseWait(std::chrono::milliseconds wait);

inline constexpr std::chrono::milliseconds kDefaultInUseWait{5000};

} // namespace platform

#pragma once

#include <cstdint>

// Result of every link operation and transaction. The numbers are fixed: the settings exchange
// tells failures apart by number, and users see them.
using LinkResult = std::int32_t;

inline constexpr LinkResult kLinkOk = 0;
inline constexpr LinkResult kLinkNoPrinter = 1;          // the scan found no matching printer
inline constexpr LinkResult kLinkOpenFailed = 2;         // a USB step failed while finding or opening it
inline constexpr LinkResult kLinkReadFailed = 3;         // the reply read failed or timed out
inline constexpr LinkResult kLinkWriteFailed = 4;        // a frame write failed
inline constexpr LinkResult kLinkRequestWriteFailed = 5; // the frame before the reply read failed
inline constexpr LinkResult kLinkCommandWriteFailed = 6; // the first frame of a set transaction failed

// A failed set transaction whose command got through: the failure came while reading the setting
// back (writing the read request, or reading the reply).
constexpr bool FailedReadingBack(LinkResult result) {
    return result == kLinkRequestWriteFailed || result == kLinkReadFailed;
}

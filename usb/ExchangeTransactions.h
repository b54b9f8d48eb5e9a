#pragma once

#include "usb/CUsb.h"
#include "usb/LinkResult.h"

#include <cstdint>
#include <span>
#include <string>

namespace platform {
class ProgressIndicator;
}

// The two transactions of every settings exchange, shared by the application and the command line:
// open the target printer, write, read the reply, close. On failure the link's mLastResult and
// mLastError receive the result and the status of the failing step (never that of the close after
// it). Progress, when given, moves after each step and ends at 100 on every path.
struct ExchangeTargets {
    const std::string* manufacturer = nullptr;
    const std::string* product = nullptr;
    const std::string* serial = nullptr;
};

// Writes `request` and reads exactly reply.size() bytes. A failed write is kLinkWriteFailed.
LinkResult ReadTransaction(CUsb& link, const ExchangeTargets& targets, std::span<const std::uint8_t> request,
                           std::span<std::uint8_t> reply, platform::ProgressIndicator* progress);

// Writes `frame`, then `request` (when not empty) and reads exactly reply.size() bytes. A failed
// first write is kLinkCommandWriteFailed, a failed request write kLinkRequestWriteFailed. With no
// request nothing is read.
LinkResult SetTransaction(CUsb& link, const ExchangeTargets& targets, std::span<const std::uint8_t> frame,
                          std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                          platform::ProgressIndicator* progress);

// The settings object's two transactions: the shared ones, on its own targets and progress panel.
#include "usb/CUsbCom.h"
#include "usb/ExchangeTransactions.h"

namespace {

const std::string* Target(const std::optional<std::string>& target) {
    return target ? &*target : nullptr;
}

} // namespace

LinkResult CUsbCom::GetSettings(std::span<const std::uint8_t> frame, std::span<std::uint8_t> reply) {
    return ReadTransaction(*cusbLib_,
                           {Target(mTargetManufacturer), Target(mTargetProduct), Target(mTargetSerial)},
                           frame, reply, progress_con);
}

LinkResult CUsbCom::SetSettings(std::span<const std::uint8_t> frame,
                                std::span<const std::uint8_t> secondFrame, std::span<std::uint8_t> reply) {
    return SetTransaction(*cusbLib_,
                          {Target(mTargetManufacturer), Target(mTargetProduct), Target(mTargetSerial)}, frame,
                          secondFrame, reply, progress_con);
}

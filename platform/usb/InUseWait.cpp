#include "platform/usb/InUseWait.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<std::chrono::milliseconds::rep> wait{kDefaultInUseWait.count()};

} // namespace

std::chrono::milliseconds InUseWait() {
    return std::chrono::milliseconds(wait.load());
}

void SetInUseWait(std::chrono::milliseconds value) {
    wait.store(value.count() < 0 ? 0 : value.count());
}

} // namespace platform

#pragma once

#include <functional>

namespace platform {

// Called when USB devices arrived or left, on whatever thread the bus noticed it; it should only
// hand the news on (no bus calls from inside it).
using UsbDevicesChanged = std::function<void()>;

// A standing request to hear of devices arriving or leaving. Destroying it ends the notifications:
// once the destructor has returned, the callback is not running and will not be called again.
class UsbChangeSubscription {
  public:
    virtual ~UsbChangeSubscription() = default;
};

} // namespace platform

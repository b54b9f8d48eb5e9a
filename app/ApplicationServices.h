#pragma once

#include "app/ControllerServices.h"

namespace platform {
class UsbBus;
}

// The real collaborators of the main window controller.

// The process's shared progress panel.
ProgressPanel& SharedProgressPanel();

// Creates CUsbCom on `bus` (borrowed, must outlive what the factory creates).
ExchangeFactory CUsbComFactory(platform::UsbBus& bus);

#pragma once

#include "backend/BusChoice.h"
#include "platform/usb/UsbInterface.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace cli {

// Runs one lm360rctl command line and returns its exit status. Output goes to stdout and stderr.
// `openBus` gives the USB bus with the command line's options, asked for only by commands that talk to
// the printer.
using BusFactory = std::function<std::unique_ptr<platform::UsbBus>(const backend::BusOptions&)>;
int Run(const QStringList& arguments, const BusFactory& openBus);

} // namespace cli

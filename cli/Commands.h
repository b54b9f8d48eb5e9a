#pragma once

#include "cli/CommandLine.h"
#include "platform/usbhost/UsbInterface.h"
#include "usb/BusChoice.h"

#include <functional>
#include <memory>
#include <span>

namespace cli {

// The USB bus with the command line's options, asked for only by commands that talk to the printer.
using BusFactory = std::function<std::unique_ptr<platform::UsbBus>(const BusOptions&)>;

// One command of lm360rctl: how it is named and described, what it takes, and how it runs. Everything
// that lists, parses, documents or completes commands goes by this table.
struct CommandSpec {
    const char* name;
    Command command;
    const char* syntax;
    const char* summary; // one line in the general help
    const char* description;
    bool listsSettings = false;  // its help ends with the settings and the values they take
    bool talksToPrinter = false; // takes --serial and --wait
    bool everyPrinter = false;   // takes --all
    int (*run)(const Invocation& invocation, const BusFactory& openBus) = nullptr;
};

std::span<const CommandSpec> Commands();
const CommandSpec* CommandNamed(const QString& name);
const CommandSpec& CommandOf(Command command);

} // namespace cli

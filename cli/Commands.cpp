#include "cli/Commands.h"

#include "cli/ApplyCommand.h"
#include "cli/DesiredState.h"
#include "cli/FileCommands.h"
#include "cli/PrinterCommands.h"
#include "cli/PrinterList.h"
#include "cli/PrinterRuns.h"

#include <algorithm>
#include <array>

namespace cli {
namespace {

std::unique_ptr<platform::UsbBus> OpenBus(const Invocation& invocation, const BusFactory& openBus) {
    BusOptions options;
    if (invocation.waitMilliseconds >= 0) {
        options.libusb.inUseWait = std::chrono::milliseconds(invocation.waitMilliseconds);
    }
    return openBus(options);
}

// A command run on the printer, or on each one with --all.
template <int (*Command)(platform::UsbBus&, const Invocation&)>
int OnPrinters(const Invocation& invocation, const BusFactory& openBus) {
    return RunOnPrinters(*OpenBus(invocation, openBus), invocation, Command);
}

int List(const Invocation& invocation, const BusFactory& openBus) {
    return RunList(*OpenBus(invocation, openBus), invocation);
}

int Status(const Invocation& invocation, const BusFactory& openBus) {
    return RunStatus(*OpenBus(invocation, openBus), invocation);
}

int SaveCommands(const Invocation& invocation, const BusFactory& /*openBus*/) {
    return RunSaveCommands(invocation);
}

int Inspect(const Invocation& invocation, const BusFactory& /*openBus*/) {
    return RunInspect(invocation);
}

// Files are read once, before any printer is asked: standard input cannot be read again for the next
// printer, and a file that is not right ends the command before it touches one.
int Send(const Invocation& invocation, const BusFactory& openBus) {
    int exitCode = 0;
    const std::optional<std::vector<std::uint8_t>> file =
        ReadValidCommandFile(invocation.file, invocation.json, false, exitCode);
    if (!file) {
        return exitCode;
    }
    return RunOnPrinters(
        *OpenBus(invocation, openBus), invocation,
        [&file](platform::UsbBus& bus, const Invocation& i) { return RunSend(bus, i, *file); });
}

int Apply(const Invocation& invocation, const BusFactory& openBus) {
    int exitCode = 0;
    const std::optional<std::vector<ChosenValue>> desired = ReadDesiredState(invocation, exitCode);
    if (!desired) {
        return exitCode;
    }
    return RunOnPrinters(
        *OpenBus(invocation, openBus), invocation,
        [&desired](platform::UsbBus& bus, const Invocation& i) { return RunApply(bus, i, *desired); });
}

constexpr std::array<CommandSpec, 9> kCommands{{
    {"list", Command::List, "list", "list printer interfaces and which one is the target",
     "List every USB printer interface present, with manufacturer, product, serial and device ID, and "
     "whether it is the target printer.",
     false, true, false, List},
    {"get", Command::Get, "get [SETTING...]", "read settings",
     "Read settings from the printer, each in its own exchange (every setting when none is given).", true,
     true, true, OnPrinters<RunGet>},
    {"set", Command::Set, "set SETTING VALUE", "write a setting and check the printer's answer",
     "Write a setting, read it back and compare.", true, true, true, OnPrinters<RunSet>},
    {"reset", Command::Reset, "reset", "reset the printer's settings",
     "Reset the printer's settings, then print every setting.", false, true, true, OnPrinters<RunReset>},
    {"status", Command::Status, "status", "print the printer's status reply",
     "Print the printer's 32-byte status reply.", false, true, false, Status},
    {"save-commands", Command::SaveCommands, "save-commands power|print -o FILE", "save a command file",
     "Save a command file for the power group (%1) or the print group (%2) without touching the "
     "printer. Settings not given take the application's starting choices (%3).",
     true, false, false, SaveCommands},
    {"inspect", Command::Inspect, "inspect FILE", "check a command file",
     "Check a command file and print the settings it carries.", false, false, false, Inspect},
    {"send", Command::Send, "send FILE", "send a command file to the printer",
     "Check a command file, then send its bytes to the printer in one write.", false, true, true, Send},
    {"apply", Command::Apply, "apply [SETTING=VALUE...]", "write only the settings that differ",
     "Read the settings named, write only those whose value differs from the one wanted, read each "
     "back and compare, and print each setting's value before and after. SETTING=VALUE takes the words "
     "set takes; --from takes a command file or the document get --json prints, whose read-only "
     "settings are left out; arguments win over the file.",
     true, true, true, Apply},
}};

} // namespace

std::span<const CommandSpec> Commands() {
    return kCommands;
}

const CommandSpec* CommandNamed(const QString& name) {
    const auto* it = std::find_if(kCommands.begin(), kCommands.end(),
                                  [&name](const CommandSpec& c) { return name == QLatin1String(c.name); });
    return it == kCommands.end() ? nullptr : &*it;
}

const CommandSpec& CommandOf(Command command) {
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [command](const CommandSpec& c) { return c.command == command; });
}

} // namespace cli

#pragma once

#include "cli/CommandLine.h"

#include <functional>

namespace platform {
class UsbBus;
}

namespace cli {

// A printer command as written for one printer, the one `invocation.serial` names (any LM-360R
// when empty). Returns its exit status.
using PrinterCommand = std::function<int(platform::UsbBus& bus, const Invocation& invocation)>;

// Runs `command` on the printer the invocation names, its JSON document naming that printer
// ("printer": manufacturer, product, serial). With --all, on each LM-360R attached in turn, by its
// serial number: one printer's failure does not stop the others, text lines and errors start with
// "[SERIAL] ", and the JSON documents are gathered into one {"printers": [...]}, each naming its
// printer with its exit status and errors. Returns the worst exit status of them (see Worse).
int RunOnPrinters(platform::UsbBus& bus, const Invocation& invocation, const PrinterCommand& command);

// Of two printers' exit statuses, the one that says less about the printer: a link failure (3), then
// a printer not found (2), then a printer that answered another value (4), then success.
int Worse(int a, int b);

} // namespace cli

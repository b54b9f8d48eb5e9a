#pragma once

#include "usb/LinkResult.h"
#include "usb/PrinterIdentity.h"
#include "usb/SettingsService.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the window knows about its printer, decided from what the bus lists and from how the
// latest exchange went. Plain C++: the widgets only show it.

enum class Connection {
    Searching,  // not decided yet
    Connected,  // the printer in use answered, or at least opened
    NoPrinter,  // none attached
    Refused,    // attached, but this user may not open it
    InUse,      // another program holds it
    OpenFailed, // it could not be opened for another reason
};

struct ConnectionState {
    Connection connection = Connection::Searching;
    std::int32_t status = 0; // OpenFailed: the platform status
};

// What an exchange's result and platform status say: a failure to find or open the printer decides
// the connection; anything after a successful open means the printer is there.
ConnectionState ConnectionAfter(LinkResult result, std::int32_t status);

// Whether the state keeps every exchange from reaching a printer.
bool PrinterUnreachable(Connection connection);

// The serial to talk to among `present`: the one chosen before while it is still there, else the
// first one's; nullopt when none is present. A printer without a serial is chosen by "".
std::optional<std::string> ChooseSerial(const std::vector<PrinterIdentity>& present,
                                        const std::optional<std::string>& chosenBefore);

// The present printer with that serial, if any.
const PrinterIdentity* PrinterWithSerial(const std::vector<PrinterIdentity>& present,
                                         const std::string& serial);

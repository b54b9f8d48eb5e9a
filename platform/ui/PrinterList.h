#pragma once

#include <QStringList>

namespace platform {

// The print queues installed in the system, as two parallel lists: the name and the make-and-model
// type at the same index describe the same queue. Both lists keep the platform's order.
struct InstalledPrinters {
    QStringList names;
    QStringList types;
};

// Asks the print system (CUPS through Qt's print support) for its queues now.
InstalledPrinters InstalledPrinterList();

} // namespace platform

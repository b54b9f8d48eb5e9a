#include "platform/ui/PrinterList.h"

#include <QPrinterInfo>

namespace platform {

InstalledPrinters InstalledPrinterList() {
    InstalledPrinters printers;
    const QList<QPrinterInfo> queues = QPrinterInfo::availablePrinters();
    for (const QPrinterInfo& queue : queues) {
        printers.names << queue.printerName();
        printers.types << queue.makeAndModel();
    }
    return printers;
}

} // namespace platform

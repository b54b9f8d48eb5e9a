#pragma once

#include "platform/usbhost/UsbInterface.h"
#include "usb/LinkResult.h"

#include <QString>
#include <cstdint>

namespace cli {

// What went wrong in words, with what to do about it where there is something, and the codes at the
// end: "the printer did not answer in time (link result 3, platform status 0)".
QString DescribeLinkFailure(LinkResult result, std::int32_t status);

// No printer found is 2; any other failure of the link is 3.
int ExitCodeForLinkFailure(LinkResult result);

// Says on stderr "WHAT failed: " and the description above; returns the exit status for it.
int ReportLinkFailure(LinkResult result, std::int32_t status, const QString& what);

// Says on stderr that the USB interfaces could not be listed; returns the exit status for it.
int ReportListingFailure(platform::UsbStatus status);

} // namespace cli

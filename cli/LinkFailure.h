#pragma once

#include "usb/LinkResult.h"

#include <QString>
#include <cstdint>

namespace cli {

// What went wrong in words, with what to do about it where there is something, and the codes at the
// end: "the printer did not answer in time (link result 3, platform status 0)".
QString DescribeLinkFailure(LinkResult result, std::int32_t status);

// No printer found is 2; any other failure of the link is 3.
int ExitCodeForLinkFailure(LinkResult result);

} // namespace cli

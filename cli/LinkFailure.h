#pragma once

#include "usb/LinkResult.h"

#include <QString>
#include <cstdint>

namespace cli {

// "link result 3 (the reply did not arrive in time), platform status 0"
QString DescribeLinkFailure(LinkResult result, std::int32_t status);

// No printer found is 2; any other failure of the link is 3.
int ExitCodeForLinkFailure(LinkResult result);

} // namespace cli

#include "platform/usb/ProcessUsbBus.h"
#include "protocol/Frames.h"
#include "usb/CUsb.h"

#include <array>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// The bus is chosen on first use, so setting the variables first is the same as starting the
// process with them.
TEST(ProcessBus, SimulatedChoiceServesTheDefaultPrinter) {
    ASSERT_EQ(setenv("LM360R_USB", "simulated", 1), 0);
    ASSERT_EQ(unsetenv("LM360R_SIM_STATE"), 0);
    CUsb link;
    const std::string manufacturer = "Tamblor", product = "LM-360R";
    link.SetDeviceInf(&manufacturer, &product, nullptr);
    std::array<std::uint8_t, 32> reply{};
    EXPECT_EQ(link.GetStatus(reply.data()), kLinkOk);
    EXPECT_EQ(&platform::ProcessUsbBus(), &platform::ProcessUsbBus()) << "chosen once per process";
}

} // namespace

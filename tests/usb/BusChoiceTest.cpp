#include "usb/BusChoice.h"

#include "usb/CUsb.h"

#include <array>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(BusChoice, SimulatedChoiceServesTheDefaultPrinter) {
    ASSERT_EQ(setenv("LM360R_USB", "simulated", 1), 0);
    ASSERT_EQ(unsetenv("LM360R_SIM_STATE"), 0);
    const std::unique_ptr<platform::UsbBus> bus = ChooseUsbBus();
    CUsb link(*bus);
    const std::string manufacturer = "Tamblor", product = "LM-360R";
    link.SetDeviceInf(&manufacturer, &product, nullptr);
    std::array<std::uint8_t, 32> reply{};
    EXPECT_EQ(link.GetStatus(reply).result, kLinkOk);
}

} // namespace

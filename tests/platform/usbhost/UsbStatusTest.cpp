#include "platform/usbhost/UsbStatus.h"

#include <gtest/gtest.h>
#include <libusb.h>
#include <string>

namespace {

// Messages name a status as libusb does, though only the libusb backend links libusb.
TEST(UsbStatusName, SpellsEveryStatusAsLibusbDoes) {
    for (platform::UsbStatus status = -120; status <= 0; ++status) {
        EXPECT_EQ(std::string(platform::UsbStatusName(status)), libusb_error_name(status)) << status;
    }
}

} // namespace

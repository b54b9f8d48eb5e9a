#pragma once

#include "simulator/SimulatedBus.h"
#include "usb/CUsb.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace link_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ToBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

inline Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Names parameterised cases after their `name` field.
struct CaseName {
    template <typename Param> std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        return info.param.name;
    }
};

// A healthy LM-360R with its own serial number.
inline simulator::DeviceScript PrinterWithSerial(std::string_view serial) {
    simulator::DeviceScript script;
    script.identity = simulator::DefaultIdentity(serial);
    return script;
}

// What every successful open writes before anything else: ESC "@", ESC "i" "a" 01.
inline const Bytes kOpeningBytes{0x1B, 0x40, 0x1B, 0x69, 0x61, 0x01};

// A link on a simulated bus, with the application's targets, that checks after each test that
// nothing the link opened is still held.
class LinkTest : public ::testing::Test {
  protected:
    LinkResult Open() { return link.UsbOpen(context, &manufacturer, &product, &serial); }

    void TearDown() override {
        link.UsbClose(context);
        EXPECT_EQ(bus.liveHandles(), 0u) << "a handle was not released";
        for (std::size_t i = 0; i < bus.deviceCount(); ++i) {
            EXPECT_FALSE(bus.device(i).record().InterfaceOpen()) << "device " << i << " left open";
            EXPECT_EQ(bus.device(i).record().releasedWhileOpen, 0u) << "device " << i << " never closed";
        }
    }

    simulator::SimulatedBus bus;
    CUsb link{bus};
    USBIOContext context;
    std::string manufacturer = "Tamblor";
    std::string product = "LM-360R";
    std::string serial;
};

} // namespace link_test

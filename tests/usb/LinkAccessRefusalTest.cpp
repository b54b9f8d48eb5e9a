// The target printer that the user may not open must be reported as such, not as "no printer"; a
// printer of another make that refuses the user is not reported at all.

#include "simulator/SimulatedBus.h"
#include "usb/CUsb.h"

#include <gtest/gtest.h>

namespace {

using namespace simulator;

// A device whose node this user may not open: every request that needs the device open is refused.
DeviceScript Refused(DeviceScript script = {}) {
    script.faults[UsbOperation::ControlRequest] = {platform::kUsbErrorAccess, 0};
    script.faults[UsbOperation::USBInterfaceOpen] = {platform::kUsbErrorAccess, 0};
    return script;
}

DeviceScript OtherMaker(DeviceScript script = {}) {
    script.identity.manufacturer = "Other";
    return script;
}

DeviceScript StringsUnknown(DeviceScript script = {}) {
    script.systemShowsStrings = false;
    return script;
}

DeviceScript NotAPrinter(DeviceScript script = {}) {
    script.alternates = {AlternateSetting{3, 0, 0, {}}};
    return script;
}

TEST(LinkAccessRefusal, OpenResultDependsOnWhatWasRefused) {
    struct Case {
        const char* what;
        std::vector<DeviceScript> devices;
        LinkResult result;
        std::int32_t error;
    };
    const std::vector<Case> cases{
        {"only printer refused", {Refused()}, kLinkOpenFailed, platform::kUsbErrorAccess},
        {"refused printer, then one that may be opened", {Refused(), DeviceScript{}}, kLinkOk, 0},
        {"refused device that is no printer", {Refused(NotAPrinter())}, kLinkNoPrinter, 0},
        {"refused printer of another maker", {Refused(OtherMaker())}, kLinkNoPrinter, 0},
        {"refused printer whose names the system does not show",
         {Refused(OtherMaker(StringsUnknown()))},
         kLinkOpenFailed,
         platform::kUsbErrorAccess},
        {"no device at all", {}, kLinkNoPrinter, 0},
    };
    const std::string manufacturer = "Tamblor", product = "LM-360R", serial;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedBus bus;
        for (const DeviceScript& script : c.devices) {
            bus.AddDevice(script);
        }
        CUsb link(bus);
        USBIOContext context;
        EXPECT_EQ(link.UsbOpen(context, &manufacturer, &product, &serial), c.result);
        EXPECT_EQ(context.error, c.error);
        link.UsbClose(context);
        EXPECT_EQ(bus.liveHandles(), 0u);
    }
}

} // namespace

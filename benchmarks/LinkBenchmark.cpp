#include "protocol/Frames.h"
#include "protocol/PrinterModel.h"
#include "simulator/SimulatedBus.h"
#include "usb/CUsb.h"

#include <array>
#include <benchmark/benchmark.h>

namespace {

const std::string kManufacturer{protocol::kTargetManufacturer};
const std::string kProduct{protocol::kTargetProduct};
const std::string kSerial;

// One exchange as every transaction makes it: open (scan, match, opening frames), write the read
// request, read the 32-byte reply, close.
void BM_Exchange(benchmark::State& state) {
    simulator::SimulatedBus bus;
    bus.AddDevice();
    CUsb link(bus);
    const auto request = *protocol::ReadRequestFor(protocol::kPowerOn);
    std::array<std::uint8_t, 32> reply{};
    for (auto _ : state) {
        USBIOContext context;
        if (link.UsbOpen(context, &kManufacturer, &kProduct, &kSerial) != kLinkOk ||
            link.UsbWrite(context, request.frame.data(), static_cast<std::uint32_t>(request.frame.size())) !=
                kLinkOk) {
            state.SkipWithError("exchange failed");
            break;
        }
        std::uint32_t length = request.replyLength;
        link.UsbRead(context, reply.data(), length, kReadTimeout);
        link.UsbClose(context);
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_Exchange)->Unit(benchmark::kMillisecond);

// The open's scan with N interfaces of other classes ahead of the printer; the open is closed again.
void BM_OpenScan(benchmark::State& state) {
    simulator::SimulatedBus bus;
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        simulator::DeviceScript other;
        other.alternates[0].interfaceClass = 3;
        bus.AddDevice(other);
    }
    bus.AddDevice();
    CUsb link(bus);
    for (auto _ : state) {
        USBIOContext context;
        if (link.UsbOpen(context, &kManufacturer, &kProduct, &kSerial) != kLinkOk) {
            state.SkipWithError("open failed");
            break;
        }
        link.UsbClose(context);
        bus.ClearEvents(); // the bus's event log would otherwise grow with every iteration
    }
}
BENCHMARK(BM_OpenScan)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

} // namespace

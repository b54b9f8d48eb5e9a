// What a USB device says about itself is untrusted: string descriptors and IEEE 1284 device IDs
// of any length and content must decode without reading outside what the device delivered.
#include "platform/usbhost/UsbInterface.h"
#include "usb/CUsbStrings.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace {

using platform::UsbStatus;

// A device whose every control request delivers the fuzzer's bytes, cut to the room offered.
class DeliveringInterface final : public platform::UsbInterface {
  public:
    explicit DeliveringInterface(std::span<const std::uint8_t> reply) : reply_(reply) {}

    UsbStatus ControlRequest(platform::UsbDevRequest& request) override {
        const std::size_t n = std::min<std::size_t>(request.wLength, reply_.size());
        std::memcpy(request.data, reply_.data(), n);
        request.wLenDone = static_cast<std::uint32_t>(n);
        return platform::kUsbOk;
    }
    UsbStatus GetInterfaceClass(std::uint8_t&) override { return platform::kUsbErrorIo; }
    UsbStatus GetInterfaceSubClass(std::uint8_t&) override { return platform::kUsbErrorIo; }
    UsbStatus GetInterfaceProtocol(std::uint8_t&) override { return platform::kUsbErrorIo; }
    UsbStatus USBInterfaceOpen() override { return platform::kUsbErrorIo; }
    UsbStatus USBInterfaceClose() override { return platform::kUsbErrorIo; }
    UsbStatus GetAlternateSetting(std::uint8_t&) override { return platform::kUsbErrorIo; }
    UsbStatus SetAlternateInterface(std::uint8_t) override { return platform::kUsbErrorIo; }
    UsbStatus GetConfigurationValue(std::uint8_t&) override { return platform::kUsbErrorIo; }
    UsbStatus GetInterfaceNumber(std::uint8_t&) override { return platform::kUsbErrorIo; }
    UsbStatus GetDevice(platform::UsbDeviceRef&) override { return platform::kUsbErrorIo; }
    UsbStatus GetSystemDeviceStrings(std::optional<std::string>&, std::optional<std::string>&) override {
        return platform::kUsbErrorIo;
    }
    UsbStatus GetNumEndpoints(std::uint8_t&) override { return platform::kUsbErrorIo; }
    UsbStatus GetPipeProperties(std::uint8_t, platform::PipeProperties&) override {
        return platform::kUsbErrorIo;
    }
    UsbStatus GetPipeStatus(std::uint8_t) override { return platform::kUsbErrorIo; }
    UsbStatus WritePipe(std::uint8_t, const void*, std::uint32_t) override { return platform::kUsbErrorIo; }
    UsbStatus ReadPipe(std::uint8_t, void*, std::uint32_t& size) override {
        size = 0;
        return platform::kUsbErrorIo;
    }

  private:
    std::span<const std::uint8_t> reply_;
};

constexpr std::array<std::string_view, 6> kKeys{"MFG:", "MANUFACTURER:", "MDL:", "MODEL:", "SERN:", ""};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint8_t stringIndex = data[0];
    const std::span<const std::uint8_t> rest(data + 1, size - 1);

    DeliveringInterface device(rest);
    const std::optional<std::string> described = cusb_detail::usb_create_string(device, stringIndex);

    const std::string_view raw(reinterpret_cast<const char*>(rest.data()), rest.size());
    const std::optional<std::string> deviceId = cusb_detail::DecodeDeviceId(raw);
    for (const std::string_view key : kKeys) {
        const std::optional<std::string> value = cusb_detail::create_1284_substring(deviceId, key);
        if (value && (!deviceId || value->size() > deviceId->size())) {
            __builtin_trap(); // a field is always a piece of its device ID
        }
        const std::string target = value.value_or("LM-360R");
        if (value && cusb_detail::cfcomparecstring(&target, value, 8) != 0 &&
            target.find('\0') == std::string::npos) {
            __builtin_trap(); // a string matches itself
        }
        cusb_detail::cfcomparecstring(&target, described, 8);
    }
    return 0;
}

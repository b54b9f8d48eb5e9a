#include "usb/CUsbStrings.h"

#include "platform/core/TextConversion.h"
#include "platform/usbhost/UsbRequests.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace cusb_detail {
namespace {

constexpr std::size_t kStringBufferSize = 256;
constexpr std::size_t kStringHeaderLength = 2; // length byte, descriptor type

bool EqualIgnoringCase(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

std::string_view UpToNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

} // namespace

std::optional<std::string> usb_create_string(platform::UsbInterface& intf, std::uint8_t index) {
    if (index == 0) {
        return std::nullopt;
    }
    std::array<std::uint8_t, kStringBufferSize> buffer{};
    platform::UsbDevRequest request;
    request.bmRequestType = platform::kRequestTypeStandardDeviceIn;
    request.bRequest = platform::kRequestGetDescriptor;
    request.wValue = platform::DescriptorValue(platform::kDescriptorTypeString, index);
    request.wIndex = 0;
    request.wLength = static_cast<std::uint16_t>(buffer.size());
    request.data = buffer.data();
    if (intf.ControlRequest(request) != platform::kUsbOk || request.wLenDone == 0) {
        return std::nullopt;
    }
    // The length byte is signed on the wire's reading: 128 and above is no string.
    const auto length = static_cast<std::int8_t>(buffer[0]);
    if (length < static_cast<std::int8_t>(kStringHeaderLength)) {
        return std::nullopt;
    }
    // Whole UTF-16 code units only, and only those that actually arrived.
    const std::size_t delivered = std::min<std::size_t>(request.wLenDone, buffer.size());
    std::size_t end = std::min<std::size_t>(static_cast<std::size_t>(length), delivered);
    if (end < kStringHeaderLength) {
        return std::nullopt;
    }
    end -= (end - kStringHeaderLength) % 2;
    const std::string_view units(reinterpret_cast<const char*>(buffer.data()) + kStringHeaderLength,
                                 end - kStringHeaderLength);
    return platform::ConvertText(units, "UTF-16LE", "UTF-8");
}

std::optional<std::string> create_1284_substring(const std::optional<std::string>& deviceId,
                                                 std::string_view key) {
    if (!deviceId || key.empty()) {
        return std::nullopt;
    }
    const std::string_view id = *deviceId;
    const auto found = std::search(id.begin(), id.end(), key.begin(), key.end(), EqualIgnoringCase);
    if (found == id.end()) {
        return std::nullopt;
    }
    std::size_t start = static_cast<std::size_t>(found - id.begin()) + key.size();
    while (start < id.size() && id[start] == ' ') {
        ++start;
    }
    const std::size_t end = std::min(id.find(';', start), id.size());
    return std::string(id.substr(start, end - start));
}

int cfcomparecstring(const std::string* target, const std::optional<std::string>& candidate, int /*unused*/) {
    const std::string_view wanted = target != nullptr ? UpToNul(*target) : std::string_view();
    if (wanted.empty()) {
        return 0;
    }
    if (!candidate) {
        return 1;
    }
    return wanted == UpToNul(*candidate) ? 0 : 1;
}

std::optional<std::string> DecodeDeviceId(std::string_view bytes) {
    return platform::ConvertText(bytes, "MACINTOSH", "UTF-8");
}

} // namespace cusb_detail

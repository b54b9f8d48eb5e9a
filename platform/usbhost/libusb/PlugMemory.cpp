#include "platform/usbhost/libusb/PlugMemory.h"

#include "platform/usbhost/UsbRequests.h"

#include <algorithm>
#include <cstring>

namespace platform::libusb {

bool PlugMemory::Kept(const UsbDevRequest& request) {
    const std::uint8_t type = request.wValue >> 8;
    const bool descriptor = request.bmRequestType == kRequestTypeStandardDeviceIn &&
                            request.bRequest == kRequestGetDescriptor &&
                            (type == kDescriptorTypeDevice || type == kDescriptorTypeString ||
                             type == kDescriptorTypeConfiguration);
    const bool deviceId =
        request.bmRequestType == kRequestTypeClassInterfaceIn && request.bRequest == kRequestGetDeviceId;
    return descriptor || deviceId;
}

PlugMemory::Question PlugMemory::QuestionOf(const UsbDevRequest& request) {
    return {request.bmRequestType, request.bRequest, request.wValue, request.wIndex, request.wLength};
}

bool PlugMemory::Answer(const Plug& plug, UsbDevRequest& request) const {
    const std::lock_guard lock(mutex_);
    const auto learnt = plugs_.find(plug);
    if (learnt == plugs_.end()) {
        return false;
    }
    const auto found = learnt->second.answers.find(QuestionOf(request));
    if (found == learnt->second.answers.end()) {
        return false;
    }
    request.wLenDone =
        static_cast<std::uint32_t>(std::min<std::size_t>(found->second.size(), request.wLength));
    if (request.wLenDone > 0) {
        std::memcpy(request.data, found->second.data(), request.wLenDone);
    }
    return true;
}

void PlugMemory::Keep(const Plug& plug, const UsbDevRequest& request) {
    const auto* data = static_cast<const std::uint8_t*>(request.data);
    const std::lock_guard lock(mutex_);
    plugs_[plug].answers[QuestionOf(request)].assign(data, data + request.wLenDone);
}

std::string PlugMemory::NodeName(const Plug& plug, int interface) const {
    const std::lock_guard lock(mutex_);
    const auto learnt = plugs_.find(plug);
    if (learnt == plugs_.end()) {
        return {};
    }
    const auto found = learnt->second.nodeNames.find(interface);
    return found != learnt->second.nodeNames.end() ? found->second : std::string();
}

void PlugMemory::KeepNodeName(const Plug& plug, int interface, const std::string& name) {
    const std::lock_guard lock(mutex_);
    plugs_[plug].nodeNames[interface] = name;
}

void PlugMemory::KeepOnly(const std::set<Plug>& listed) {
    const std::lock_guard lock(mutex_);
    std::erase_if(plugs_, [&listed](const auto& entry) { return !listed.contains(entry.first); });
}

} // namespace platform::libusb

#pragma once

#include "usb/LinkResult.h"
#include "usb/USBIOContext.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform {
class UsbBus;
}

// The printer link: finds the target printer on the bus, opens its printer-class interface,
// moves frames over its bulk pipes and closes it. No connection outlives a transaction.
class CUsb {
  public:
    // The bus is borrowed and must outlive the link; by default the process's bus.
    CUsb();
    explicit CUsb(platform::UsbBus& bus);

    // Targets for the link's own transactions; a null argument leaves that target unset.
    void SetDeviceInf(const std::string* manufacturer, const std::string* product, const std::string* serial);

    LinkResult UsbOpen(USBIOContext& context, const std::string* manufacturer, const std::string* product,
                       const std::string* serial);
    LinkResult UsbWrite(USBIOContext& context, const void* frame, std::uint32_t length);
    // `length`: bytes wanted on entry, bytes counted as received on return. Each read pass counts
    // 100 against `timeout`; every caller passes 4000.
    LinkResult UsbRead(USBIOContext& context, void* reply, std::uint32_t& length, std::uint32_t timeout);
    LinkResult UsbClose(USBIOContext& context);

    // The link's own transactions, on its own targets. Reply buffers hold 32 bytes.
    LinkResult GetSettings(const void* frame, int length, void* reply);
    LinkResult GetStatus(void* reply);
    LinkResult SetSettings(const void* frame, int length, const void* secondFrame, int secondLength,
                           void* reply);
    LinkResult TestPrint(const void* frame, int length);

    // The last failed transaction's result and the platform status of its failing step.
    std::uint32_t mLastResult = 0;
    std::uint32_t mLastError = 0;

    std::optional<std::string> mManufacturer;
    std::optional<std::string> mProduct;
    std::optional<std::string> mSerial;

  private:
    // Notes a failed transaction's result and status; returns the result.
    LinkResult Record(LinkResult result, std::int32_t error);

    platform::UsbBus* bus_;
};

inline constexpr std::uint32_t kReadTimeout = 4000;

#pragma once

#include <string>
#include <string_view>

namespace protocol {

// The printer this program is made for. The USB link finds it by these names, and the printer
// selection dialog recognises its print queues by "maker model".
inline constexpr std::string_view kTargetManufacturer = "Tamblor";
inline constexpr std::string_view kTargetProduct = "LM-360R";

// "maker model": how print queues and the command line name the printer.
inline std::string TargetPrinterName() {
    return std::string(kTargetManufacturer) + ' ' + std::string(kTargetProduct);
}

} // namespace protocol

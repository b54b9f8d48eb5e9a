#include "simulator/usbredir/DeviceOptions.h"

#include <charconv>
#include <string_view>
#include <unistd.h>

namespace simulator::usbredir {
namespace {

template <typename Number> std::optional<Number> ParseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Applies one argument; an empty string when it was understood.
std::string Apply(std::string_view argument, DeviceOptions& options) {
    const auto equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    const bool hasValue = equals != std::string_view::npos;
    const std::string_view value = hasValue ? argument.substr(equals + 1) : std::string_view();
    const auto number = [&]<typename Number>(Number& into) -> std::string {
        const auto parsed = ParseNumber<Number>(value);
        if (!parsed) {
            return std::string(name) + " needs a number";
        }
        into = *parsed;
        return {};
    };
    if (name == "--socket" && hasValue) {
        options.socketPath = value;
    } else if (name == "--state" && hasValue) {
        options.stateFile = value;
    } else if (name == "--record" && hasValue) {
        options.recordFile = value;
    } else if (name == "--record-in" && hasValue) {
        options.inRecordFile = value;
    } else if (name == "--silent-while" && hasValue) {
        options.silentWhileFile = value;
    } else if (name == "--hold-out-while" && hasValue) {
        options.holdOutWhileFile = value;
    } else if (name == "--stall-while" && hasValue) {
        options.stallWhileFile = value;
    } else if (name == "--trickle-while" && hasValue) {
        options.trickleWhileFile = value;
    } else if (name == "--unplug-when" && hasValue) {
        options.unplugWhenFile = value;
    } else if (name == "--record-times" && hasValue) {
        options.timesFile = value;
    } else if (name == "--zero-length-first" && !hasValue) {
        options.zeroLengthFirst = true;
    } else if (name == "--lifetime") {
        std::uint32_t seconds = 0;
        std::string problem = number(seconds);
        options.lifetime = std::chrono::seconds(seconds);
        return problem;
    } else if (name == "--silent") {
        options.silentReplies = kSilentForever;
        return hasValue ? number(*options.silentReplies) : std::string();
    } else if (name == "--stall-in" && !hasValue) {
        options.stallIn = true;
    } else if (name == "--stall-out" && !hasValue) {
        options.stallOut = true;
    } else if (name == "--trickle") {
        return number(options.trickleBytes);
    } else if (name == "--unplug-after") {
        options.unplugAfterBytes = 0;
        return number(*options.unplugAfterBytes);
    } else {
        return "unknown argument \"" + std::string(argument) + "\"";
    }
    return {};
}

} // namespace

bool SwitchedOn(const std::string& file) {
    return !file.empty() && access(file.c_str(), F_OK) == 0;
}

ParsedDeviceOptions ParseDeviceOptions(std::span<char* const> arguments) {
    DeviceOptions options;
    for (const char* argument : arguments) {
        if (std::string problem = Apply(argument, options); !problem.empty()) {
            return {std::nullopt, problem};
        }
    }
    if (options.socketPath.empty() || options.stateFile.empty()) {
        return {std::nullopt, "--socket and --state are required"};
    }
    return {std::move(options), {}};
}

} // namespace simulator::usbredir

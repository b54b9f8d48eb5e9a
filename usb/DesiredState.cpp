#include "usb/DesiredState.h"

#include "protocol/SettingValues.h"

#include <algorithm>

bool SettingChange::SameValue(int a, int b) {
    return protocol::ValueByte(static_cast<std::int16_t>(a)) ==
           protocol::ValueByte(static_cast<std::int16_t>(b));
}

bool SettingChange::Differs() const {
    return !SameValue(before, after);
}

bool DesiredOutcome::Changed() const {
    return std::any_of(settings.begin(), settings.end(), [](const SettingChange& s) { return s.Differs(); });
}

bool DesiredOutcome::Mismatch() const {
    return std::any_of(settings.begin(), settings.end(), [](const SettingChange& s) { return s.Mismatch(); });
}

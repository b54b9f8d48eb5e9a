#pragma once

#include "protocol/SettingKind.h"
#include "usb/LinkResult.h"

#include <cstdint>
#include <vector>

// A setting's value wanted, as its choice list maps it (protocol::ValueForIndex).
struct DesiredValue {
    protocol::SettingKind kind = 0;
    std::int16_t value = 0;
};

// One setting of a desired state: what was wanted, what the printer held, and what it holds now (what
// it answered when written, or what it would hold when only checked). Values as replies carry them.
struct SettingChange {
    protocol::SettingKind kind = 0;
    int desired = 0;
    int before = 0;
    int after = 0;
    bool written = false; // a write was sent (never when only checked)
    // Only the value's byte travels: values that agree in it are the same to the printer.
    bool Differs() const;
    // Written and answered with another value than the one wanted.
    bool Mismatch() const { return written && !SameValue(after, desired); }
    static bool SameValue(int a, int b);
};

// Bringing a printer to a desired state: every setting read first, then only those that differ written,
// each read back and compared. A link failure ends it where it happened; what was written stays.
struct DesiredOutcome {
    enum class Step { Read, Write, ReadBack };
    std::vector<SettingChange> settings; // those read, in the order asked
    LinkResult result = kLinkOk;         // the failure that ended it
    std::int32_t status = 0;
    protocol::SettingKind failedKind = 0;
    Step failedStep = Step::Read;

    bool Failed() const { return result != kLinkOk; }
    bool Changed() const; // some setting differs (or, checked, would)
    bool Mismatch() const;
};

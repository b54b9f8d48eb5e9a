#pragma once

#include "usb/LinkResult.h"

#include <cstdint>

// What a failed exchange means to the person at the printer, decided once for both programs from the
// link's result and the platform status of the failing step.
enum class LinkProblem {
    None,
    NoPrinter,     // no printer of the model is attached (or it is switched off)
    AccessRefused, // the printer is there, but this user may not open it
    InUse,         // another program holds the printer
    Gone,          // the printer went away during the exchange
    NoAnswer,      // the printer did not answer in time
    PipeFailed,    // a transfer on the printer's pipes failed: halted, or an I/O error
    Other,         // any other failure of a USB step
};

LinkProblem ProblemOf(LinkResult result, std::int32_t status);

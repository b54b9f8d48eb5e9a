#pragma once

#include "usb/ConnectionState.h"

#include <QString>

// The words for a connection state, the same wherever the window says them: the state line, the
// current-value fields (in short) and the alerts of presses that needed a printer.

// One line; for Connected the printer's names (`printer`, may be null when not known yet).
QString ConnectionHeadline(const ConnectionState& state, const PrinterIdentity* printer);
// What the user can do about it; empty when there is nothing to do.
QString ConnectionRemedy(const ConnectionState& state);

// Why an exchange failed, in words: the connection's headline and remedy when the printer could not be
// reached, else what went wrong after it was opened.
QString FailureReason(LinkResult result, std::int32_t status);

// What a current-value field shows while the state keeps the window from every printer: a word or two
// that fit it. Empty for the states that do not.
QString UnreachableFieldText(const ConnectionState& state);

// What a current-value field shows after a failed exchange: UnreachableFieldText when the printer
// could not be reached, else the localized "Unknown".
QString FailedFieldText(LinkResult result, std::int32_t status);

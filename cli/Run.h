#pragma once

#include "cli/Commands.h"

#include <QStringList>

namespace cli {

// Runs one lm360rctl command line and returns its exit status. Output goes to stdout and stderr.
// `openBus` gives the USB bus with the command line's options, asked for only by commands that talk to
// the printer.
int Run(const QStringList& arguments, const BusFactory& openBus);

} // namespace cli

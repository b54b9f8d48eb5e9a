#pragma once

#include <QStringList>

namespace cli {

// Runs one lm360rctl command line and returns its exit status. Output goes to stdout and stderr.
int Run(const QStringList& arguments);

} // namespace cli

#pragma once

namespace platform {

// While at least one of these lives, SIGINT, SIGTERM, SIGHUP and SIGQUIT are caught and remembered instead of
// ending the process at once, so that a program holding the printer can hand it back to its kernel
// driver first. When the last one goes, the program's own dispositions come back and a remembered
// signal is raised again: with the default action the process then ends as the signal says (128+N).
// Signals the program ignores stay ignored.
class SignalDeferral {
  public:
    SignalDeferral();
    ~SignalDeferral();
    SignalDeferral(const SignalDeferral&) = delete;
    SignalDeferral& operator=(const SignalDeferral&) = delete;

    // A signal arrived that is being held back; blocking work should stop and clean up.
    static bool Pending();
};

} // namespace platform

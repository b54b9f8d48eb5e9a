#pragma once

namespace platform {

// Where a printer exchange reports how far it got, on a 0-100 scale (100: done).
// The link layer sees only this; the progress panel implements it.
class ProgressIndicator {
  public:
    virtual ~ProgressIndicator() = default;
    virtual void setProgressBarValue(double value) = 0;
};

} // namespace platform

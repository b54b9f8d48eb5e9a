#pragma once

// Where a printer exchange reports how far it got, on a 0-100 scale (100: done). The link sees only
// this; the window's progress panel implements it.
class ProgressIndicator {
  public:
    virtual ~ProgressIndicator() = default;
    virtual void setProgressBarValue(double value) = 0;
};

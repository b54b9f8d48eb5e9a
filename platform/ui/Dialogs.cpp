#include "platform/ui/Dialogs.h"

#include "platform/ui/QtDialogs.h"

namespace platform {
namespace {

Dialogs* installedDialogs = nullptr;

} // namespace

Dialogs& AppDialogs() {
    static QtDialogs qtDialogs;
    return installedDialogs != nullptr ? *installedDialogs : qtDialogs;
}

void SetAppDialogs(Dialogs* dialogs) {
    installedDialogs = dialogs;
}

} // namespace platform

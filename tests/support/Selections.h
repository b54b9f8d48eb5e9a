#pragma once

#include "protocol/CommandFile.h"

// The list indexes a window or save-commands would hand the command-file builder, in the order of the
// window's boxes.
inline protocol::CommandSelections Selections(int powerOn, int autoPowerOff, int network, int infoPrint) {
    return {{protocol::kPowerOn, powerOn},
            {protocol::kAutoPowerOff, autoPowerOff},
            {protocol::kNetwork, network},
            {protocol::kInfoPrint, infoPrint}};
}

#pragma once

#include "app/ControllerServices.h"
#include "protocol/CommandFile.h"

#include <QByteArray>

class ProgressIndicator;

// Builds a command file from the choices the window's lists show at the moment of building.
// Every widget is borrowed; a missing list counts as nothing selected.
class Vexo_OutPutFile {
  public:
    Vexo_OutPutFile(SettingWidgets widgets, ProgressIndicator* progress_con);

    // The whole file for group 1 (power tab) or 4 (print tab); any other code gives the one-byte body.
    QByteArray SetCommand(protocol::CommandGroup group) const;

    // Held for the window's sake; building never drives the panel.
    ProgressIndicator* progress() const { return progress_con; }

  private:
    SettingWidgets widgets_;
    ProgressIndicator* progress_con;
};

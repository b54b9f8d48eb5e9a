#pragma once

#include "platform/ui/Dialogs.h"

#include <functional>

namespace platform {

// The dialogs of a Qt desktop: QMessageBox, QFileDialog and QMessageBox::about.
class QtDialogs : public Dialogs {
  public:
    int RunAlertPanel(const QString& title, const QString& message, const QString& defaultButton,
                      const QString& alternateButton) override;
    std::optional<QString> RunSavePanel(const QString& directory, const QString& proposedName,
                                        const QString& extension) override;
    void ShowAboutPanel() override;
};

// The file a save panel's choice stands for: the chosen path with ".extension" added unless it ends
// in it. When that file exists, `confirmReplace` is asked about it; nullopt when it declines.
std::optional<QString> ConfirmedSavePath(const QString& chosen, const QString& extension,
                                         const std::function<bool(const QString&)>& confirmReplace);

} // namespace platform

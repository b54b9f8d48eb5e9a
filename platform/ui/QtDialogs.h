#pragma once

#include "platform/ui/Dialogs.h"

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

} // namespace platform

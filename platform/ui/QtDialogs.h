#pragma once

#include "platform/ui/Dialogs.h"

#include <functional>

namespace platform {

// The dialogs of a Qt desktop: QMessageBox, QFileDialog and QMessageBox::about.
class QtDialogs : public Dialogs {
  public:
    int RunAlert(const AlertPanel& alert) override;
    std::optional<QString> RunSavePanel(const QString& directory, const QString& proposedName,
                                        const QString& extension, const QString& filterName) override;
    std::optional<QString> RunOpenPanel(const QString& directory, const QString& filterName) override;
    void ShowAboutPanel(const AboutPanel& about) override;
};

// The file a save panel's choice stands for: the chosen path with ".extension" added unless it ends
// in it. When that file exists, `confirmReplace` is asked about it; nullopt when it declines.
std::optional<QString> ConfirmedSavePath(const QString& chosen, const QString& extension,
                                         const std::function<bool(const QString&)>& confirmReplace);

// The About panel's rich text: every part escaped, the website a link.
QString AboutPanelText(const AboutPanel& about);

} // namespace platform

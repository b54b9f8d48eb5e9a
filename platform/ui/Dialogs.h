#pragma once

#include <QString>
#include <optional>

namespace platform {

// Everything modal the application shows. The Qt implementation uses QMessageBox and QFileDialog;
// tests install a scripted one.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // A modal alert with a title, a message and one or two buttons (an empty alternate caption
    // shows only the default button). Returns 1 for the default button, 0 for the alternate.
    virtual int RunAlertPanel(const QString& title, const QString& message, const QString& defaultButton,
                              const QString& alternateButton) = 0;

    // A modal save panel starting in `directory` and proposing `proposedName`, restricted to the one
    // file type `extension` (without the dot). Returns the chosen path, which always ends in
    // ".extension", or nullopt when the user cancelled.
    virtual std::optional<QString> RunSavePanel(const QString& directory, const QString& proposedName,
                                                const QString& extension) = 0;

    // The standard About panel, without a version text.
    virtual void ShowAboutPanel() = 0;
};

// The dialogs of this process: the Qt ones unless a test installed others.
Dialogs& AppDialogs();

// Installs `dialogs` (borrowed, must outlive its use) for the whole process; nullptr restores the Qt ones.
void SetAppDialogs(Dialogs* dialogs);

} // namespace platform

#pragma once

#include <QString>
#include <optional>

namespace platform {

enum class AlertIcon { Information, Warning, Question };

// One modal alert. `text` is the statement; `informativeText` says why or what to do; `detailedText`
// (behind a details button) keeps codes for whoever has to look into a failure.
struct AlertPanel {
    AlertIcon icon = AlertIcon::Information;
    QString text;
    QString informativeText;
    QString detailedText;
    QString acceptButton; // answers 1
    QString rejectButton; // answers 0; empty: the alert has only the accept button
    // Enter answers with the reject button: for questions whose yes cannot be undone.
    bool rejectIsDefault = false;
};

// What the About panel tells.
struct AboutPanel {
    QString name;
    QString version;
    QString description;
    QString licence;
    QString website; // a URL
};

// Everything modal the application shows. The Qt implementation uses QMessageBox and QFileDialog;
// tests install a scripted one.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // Shows the alert and returns 1 for the accept button, 0 for the reject button (or Escape).
    virtual int RunAlert(const AlertPanel& alert) = 0;

    // A modal save panel starting in `directory` and proposing `proposedName`, restricted to the one
    // file type `extension` (without the dot), which the filter list shows as `filterName`. Returns
    // the chosen path, which always ends in ".extension", or nullopt when the user cancelled.
    virtual std::optional<QString> RunSavePanel(const QString& directory, const QString& proposedName,
                                                const QString& extension, const QString& filterName) = 0;

    // A modal open panel starting in `directory`, showing the files `filterName` names ("Command files
    // (*.bin)") first. Returns the chosen file, or nullopt when the user cancelled.
    virtual std::optional<QString> RunOpenPanel(const QString& directory, const QString& filterName) = 0;

    virtual void ShowAboutPanel(const AboutPanel& about) = 0;
};

// The dialogs of this process: the Qt ones unless a test installed others.
Dialogs& AppDialogs();

// Installs `dialogs` (borrowed, must outlive its use) for the whole process; nullptr restores the Qt ones.
void SetAppDialogs(Dialogs* dialogs);

} // namespace platform

#include "platform/ui/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace platform {
namespace {

QWidget* DialogParent() {
    return QApplication::activeWindow();
}

} // namespace

std::optional<QString> ConfirmedSavePath(const QString& chosen, const QString& extension,
                                         const std::function<bool(const QString&)>& confirmReplace) {
    QString path = chosen;
    // The one allowed type: a name typed with another extension still gets it added.
    const QString suffix = QLatin1Char('.') + extension;
    if (!path.endsWith(suffix, Qt::CaseSensitive)) {
        path += suffix;
    }
    if (QFileInfo::exists(path) && !confirmReplace(path)) {
        return std::nullopt;
    }
    return path;
}

int QtDialogs::RunAlertPanel(const QString& title, const QString& message, const QString& defaultButton,
                             const QString& alternateButton) {
    QMessageBox box(DialogParent());
    // The title carries the whole statement (and the error code); show it as the box's text too,
    // since many window managers truncate or hide dialog titles.
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(title);
    box.setInformativeText(message);
    box.setIcon(alternateButton.isEmpty() ? QMessageBox::Information : QMessageBox::Question);
    QPushButton* okButton = box.addButton(defaultButton, QMessageBox::AcceptRole);
    QPushButton* otherButton = nullptr;
    if (!alternateButton.isEmpty()) {
        otherButton = box.addButton(alternateButton, QMessageBox::RejectRole);
        box.setEscapeButton(otherButton);
    } else {
        box.setEscapeButton(okButton);
    }
    box.setDefaultButton(okButton);
    box.exec();
    return box.clickedButton() == okButton ? 1 : 0;
}

std::optional<QString> QtDialogs::RunSavePanel(const QString& directory, const QString& proposedName,
                                               const QString& extension) {
    QFileDialog dialog(DialogParent());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog would ask about the name as typed; the question belongs to the file that is written.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(directory);
    dialog.setNameFilter(QStringLiteral("*.%1").arg(extension));
    dialog.setDefaultSuffix(extension);
    dialog.selectFile(proposedName + QLatin1Char('.') + extension);
    const auto confirmReplace = [&dialog](const QString& path) {
        // Qt's own question, in Qt's own words (and translations).
        return QMessageBox::warning(&dialog, dialog.windowTitle(),
                                    QFileDialog::tr("%1 already exists.\nDo you want to replace it?")
                                        .arg(QFileInfo(path).fileName()),
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    };
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        if (auto path = ConfirmedSavePath(dialog.selectedFiles().constFirst(), extension, confirmReplace)) {
            return path;
        }
        // Not to be replaced: the user picks again, where the dialog was left.
    }
    return std::nullopt;
}

void QtDialogs::ShowAboutPanel() {
    QMessageBox::about(DialogParent(), QApplication::applicationDisplayName(),
                       QApplication::applicationDisplayName());
}

} // namespace platform

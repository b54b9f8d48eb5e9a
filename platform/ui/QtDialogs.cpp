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

QMessageBox::Icon IconOf(AlertIcon icon) {
    switch (icon) {
    case AlertIcon::Warning:
        return QMessageBox::Warning;
    case AlertIcon::Question:
        return QMessageBox::Question;
    case AlertIcon::Information:
        break;
    }
    return QMessageBox::Information;
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

int QtDialogs::RunAlert(const AlertPanel& alert) {
    QMessageBox box(DialogParent());
    // Many window managers truncate or hide dialog titles, so the statement goes into the box.
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIcon(IconOf(alert.icon));
    box.setText(alert.text);
    box.setInformativeText(alert.informativeText);
    box.setDetailedText(alert.detailedText);
    QPushButton* acceptButton = box.addButton(alert.acceptButton, QMessageBox::AcceptRole);
    QPushButton* rejectButton = nullptr;
    if (!alert.rejectButton.isEmpty()) {
        rejectButton = box.addButton(alert.rejectButton, QMessageBox::RejectRole);
    }
    box.setEscapeButton(rejectButton != nullptr ? rejectButton : acceptButton);
    box.setDefaultButton(alert.rejectIsDefault && rejectButton != nullptr ? rejectButton : acceptButton);
    box.exec();
    return box.clickedButton() == acceptButton ? 1 : 0;
}

std::optional<QString> QtDialogs::RunOpenPanel(const QString& directory, const QString& filterName) {
    QFileDialog dialog(DialogParent());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDirectory(directory);
    // Other files stay a choice away: a command file may have been saved under another name.
    dialog.setNameFilters({filterName, QFileDialog::tr("All Files (*)")});
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        return dialog.selectedFiles().constFirst();
    }
    return std::nullopt;
}

std::optional<QString> QtDialogs::RunSavePanel(const QString& directory, const QString& proposedName,
                                               const QString& extension, const QString& filterName) {
    QFileDialog dialog(DialogParent());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog would ask about the name as typed; the question belongs to the file that is written.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(directory);
    dialog.setNameFilter(filterName);
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

QString AboutPanelText(const AboutPanel& about) {
    const auto paragraph = [](const QString& text) {
        return text.isEmpty() ? QString() : QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped());
    };
    const QString website = about.website.toHtmlEscaped();
    return QStringLiteral("<h3>%1</h3>").arg(about.name.toHtmlEscaped()) + paragraph(about.version) +
           paragraph(about.description) + paragraph(about.licence) +
           QStringLiteral("<p><a href=\"%1\">%1</a></p>").arg(website);
}

void QtDialogs::ShowAboutPanel(const AboutPanel& about) {
    QMessageBox::about(DialogParent(), about.name, AboutPanelText(about));
}

} // namespace platform

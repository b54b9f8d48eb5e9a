// Vexo_MainController: a saved command file opened in the window. Its values are chosen in their
// tab's lists without touching the printer; each field whose printer value differs from the file's is
// marked, and the tab's button writes only what differs.
#include "app/Vexo_MainController.h"
#include "platform/core/Localized.h"
#include "platform/ui/Dialogs.h"
#include "protocol/CommandFileReader.h"
#include "protocol/SettingValues.h"
#include "texts/SettingTexts.h"
#include "texts/WindowTexts.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStyle>

namespace {

// The mark on a current-value field whose printer value differs from the opened file's.
const QString kMarkName = QStringLiteral("fileDiffersMark");

QAction* MarkOf(QLineEdit* field) {
    for (QAction* action : field->actions()) {
        if (action->objectName() == kMarkName) {
            return action;
        }
    }
    auto* mark = new QAction(field); // belongs to the field
    mark->setObjectName(kMarkName);
    mark->setIcon(field->style()->standardIcon(QStyle::SP_MessageBoxWarning));
    field->addAction(mark, QLineEdit::TrailingPosition);
    return mark;
}

QString ValueText(protocol::SettingKind kind, int value) {
    const protocol::ValueDisplay shown = protocol::DisplayForValue(kind, value);
    return shown.shown ? texts::Shown(shown.display.text) : QString::number(value);
}

} // namespace

void Vexo_MainController::chooseCommandFileToOpen() {
    const QString extension = platform::FromUtf8(protocol::kCommandFileExtension);
    if (const std::optional<QString> path = platform::AppDialogs().RunOpenPanel(
            QDir::homePath(), texts::CommandFileFilter(QStringLiteral("*.") + extension))) {
        openCommandFile(*path);
    }
}

void Vexo_MainController::openCommandFile(const QString& path) {
    const QString shownPath = QDir::toNativeSeparators(path);
    // A file that is not right changes nothing in the window.
    const auto refuse = [&shownPath](const QString& why) {
        platform::AppDialogs().RunAlert({.icon = platform::AlertIcon::Warning,
                                         .text = texts::CommandFileNotOpened(shownPath),
                                         .informativeText = why,
                                         .acceptButton = platform::Localized("OKButton")});
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        refuse(texts::CommandFileNotRead(shownPath, file.errorString()));
        return;
    }
    // One byte more than any command file may have tells a file that is too large.
    const QByteArray bytes = file.read(static_cast<qint64>(protocol::kMaxCommandFileSize) + 1);
    if (bytes.size() > static_cast<qsizetype>(protocol::kMaxCommandFileSize)) {
        refuse(texts::CommandFileTooLarge());
        return;
    }
    const protocol::CommandFileCheck check = protocol::CheckCommandFile(std::span(
        reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
    if (check.fault) {
        refuse(texts::CommandFileFault(check.fault->offset, QString::fromStdString(check.fault->reason)));
        return;
    }
    if (check.settings.empty()) {
        refuse(texts::CommandFileWithoutSettings());
        return;
    }
    OpenedFile opened;
    for (const protocol::CarriedSetting& carried : check.settings) {
        opened.values.push_back(
            {carried.kind, static_cast<std::int16_t>(protocol::ReplyValue(carried.value))});
    }
    openedFile_ = std::move(opened);
    // The file's values chosen in their lists, and the tab of its first setting shown.
    std::optional<protocol::SettingTab> shownTab;
    for (const DesiredValue& wanted : openedFile_->values) {
        for (const SettingBox& box : boxes_) {
            if (box.setting->kind != wanted.kind) {
                continue;
            }
            const protocol::ValueDisplay shown = protocol::DisplayForValue(wanted.kind, wanted.value);
            if (shown.shown && shown.display.index >= 0 && shown.display.index < box.settingsComb->count()) {
                box.settingsComb->setCurrentIndex(shown.display.index);
                comboBoxSelectionDidChange(box.settingsComb);
            }
            shownTab = shownTab.value_or(box.setting->tab);
        }
    }
    if (shownTab) {
        ui->utilityTab->setCurrentWidget(*shownTab == protocol::SettingTab::Print ? ui->printTab
                                                                                  : ui->powerTab);
    }
    showFileDifferences();
}

void Vexo_MainController::showFileDifferences() {
    bool differs[2] = {false, false};
    bool carries[2] = {false, false};
    for (const SettingBox& box : boxes_) {
        const DesiredValue* wanted = nullptr;
        if (openedFile_) {
            for (const DesiredValue& value : openedFile_->values) {
                wanted = value.kind == box.setting->kind ? &value : wanted;
            }
        }
        const std::optional<int> held =
            cusbCom_con != nullptr ? cusbCom_con->HeldValue(box.setting->kind) : std::nullopt;
        // What the printer holds is unknown, or other than the file's: either way applying may change it.
        const bool mark = wanted != nullptr && (!held || !SettingChange::SameValue(*held, wanted->value));
        const QString says =
            wanted != nullptr ? texts::FileSetsValue(ValueText(wanted->kind, wanted->value)) : QString();
        const auto tab = static_cast<std::size_t>(box.setting->tab == protocol::SettingTab::Print);
        carries[tab] = carries[tab] || wanted != nullptr;
        differs[tab] = differs[tab] || mark;
        QAction* markAction = MarkOf(box.currentValue);
        markAction->setVisible(mark);
        markAction->setToolTip(says);
        box.currentValue->setAccessibleDescription(mark ? says : QString());
    }
    QPushButton* buttons[2] = {ui->powerTabApplyFileButton, ui->printTabApplyFileButton};
    for (std::size_t tab = 0; tab < 2; ++tab) {
        buttons[tab]->setVisible(carries[tab]);
        buttons[tab]->setEnabled(differs[tab]);
    }
}

void Vexo_MainController::applyFileDifferences(protocol::SettingTab tab) {
    if (!openedFile_ || cusbCom_con == nullptr || progress_con == nullptr) {
        return;
    }
    std::vector<DesiredValue> wanted;
    for (const DesiredValue& value : openedFile_->values) {
        const protocol::SettingRow* setting = protocol::SettingOf(value.kind);
        if (setting != nullptr && setting->tab == tab && setting->Offered()) {
            wanted.push_back(value);
        }
    }
    progress_con->openPanel(kProgressMessageKey, kProgressTitleKey);
    exchange([&] { cusbCom_con->ApplyDesired(wanted); });
    progress_con->closePanel();
}

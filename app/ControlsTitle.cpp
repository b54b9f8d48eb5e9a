// Vexo_MainController::setControlsTitle: every text of the main window and its menus.
#include "app/AccessibleInterfaces.h"
#include "app/MenuTitles.h"
#include "app/Vexo_MainController.h"
#include "platform/core/Localized.h"
#include "protocol/SettingsTable.h"
#include "texts/SettingTexts.h"
#include "texts/WindowTexts.h"
#include "ui_MainWindow.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>

namespace {

using platform::Localized;

void FillList(QComboBox* list, const protocol::SettingRow& setting) {
    list->clear();
    for (const protocol::SettingChoice& item : setting.List()) {
        list->addItem(texts::Shown(item.text));
    }
}

// What a screen reader announces for a box's field or list: the box and the caption before it,
// since every box repeats the same captions.
QString AccessibleName(const QGroupBox* box, const QLabel* caption) {
    return box->title() + QStringLiteral(": ") + AccessibleCaption(caption->text());
}

void NameControls(const SettingBox& setting) {
    setting.currentValue->setAccessibleName(AccessibleName(setting.box, setting.currentText));
    setting.settingsComb->setAccessibleName(AccessibleName(setting.box, setting.settingsText));
    // Every box has a "Read" and an "Apply": a screen reader needs the setting to tell them apart.
    setting.currentButton->setAccessibleName(texts::ReadButtonName(setting.box->title()));
    setting.applyButton->setAccessibleName(texts::ApplyButtonName(setting.box->title()));
}

void TitleBox(const SettingBox& setting) {
    setting.box->setTitle(texts::SettingTitle(setting.setting->kind));
    const QString help = Localized(setting.setting->helpKey);
    setting.box->setToolTip(help);
    setting.box->setAccessibleDescription(help);
    setting.currentText->setText(Localized("CurrentSetting"));
    setting.currentButton->setText(Localized("CurrentButtonTitle"));
    setting.settingsText->setText(Localized("Settings"));
    setting.applyButton->setText(Localized("ApplyButtonTitle"));
    for (QLabel* unit : setting.unitTexts) {
        unit->setText(Localized(setting.setting->unit.key));
    }
    if (setting.sentence != nullptr) {
        setting.sentence->setText(help);
    }
    FillList(setting.settingsComb, *setting.setting);
    // Hidden boxes too: the accessibility tree lists their controls.
    NameControls(setting);
}

} // namespace

void Vexo_MainController::setControlsTitle() {
    mainWindow->setWindowTitle(Localized("MainWindowTitle"));
    ui->resetButton->setText(Localized("ResetsButtonTitle"));
    ui->exitButton->setText(Localized("ExitButtonTitle"));
    ui->utilityTab->setTabText(0, Localized("Tab1Name"));
    ui->utilityTab->setTabText(1, Localized("Tab2Name"));
    ui->powerTabOutPutButton->setText(Localized("SaveCommandButton"));
    ui->printTabOutPutButton->setText(Localized("SaveCommandButton"));

    for (const SettingBox& box : boxes_) {
        TitleBox(box);
    }

    ui->powerTabOutPutButton->setAccessibleName(
        texts::SaveButtonName(AccessibleCaption(ui->utilityTab->tabText(0))));
    ui->printTabOutPutButton->setAccessibleName(
        texts::SaveButtonName(AccessibleCaption(ui->utilityTab->tabText(1))));
    ui->powerTabApplyFileButton->setText(texts::ApplyFileDifferences());
    ui->printTabApplyFileButton->setText(texts::ApplyFileDifferences());
    ui->powerTabApplyFileButton->setAccessibleName(
        texts::ApplyFileDifferencesName(AccessibleCaption(ui->utilityTab->tabText(0))));
    ui->printTabApplyFileButton->setAccessibleName(
        texts::ApplyFileDifferencesName(AccessibleCaption(ui->utilityTab->tabText(1))));
    connectionView_->Retitle();

    RetitleMenus(*ui->menuBar, Localized("MainWindowTitle"));
}

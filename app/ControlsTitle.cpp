// Vexo_MainController::setControlsTitle: every text of the main window and its menus.
#include "app/AccessibleInterfaces.h"
#include "app/MenuTitles.h"
#include "app/SettingTitles.h"
#include "app/Vexo_MainController.h"
#include "app/WindowTexts.h"
#include "platform/core/Localized.h"
#include "protocol/SettingValues.h"
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

void FillList(QComboBox* list, protocol::SettingKind kind) {
    list->clear();
    for (const protocol::SettingText& item : protocol::ListItems(kind)) {
        list->addItem(Localized(item));
    }
}

// What a screen reader announces for a box's field or list: the box and the caption before it,
// since every box repeats the same captions.
QString AccessibleName(const QGroupBox* box, const QLabel* caption) {
    return box->title() + QStringLiteral(": ") + AccessibleCaption(caption->text());
}

struct SettingBox {
    QGroupBox* box;
    QLabel* currentText;
    QLineEdit* currentValue;
    QPushButton* currentButton;
    QLabel* settingsText;
    QComboBox* settingsComb;
    QPushButton* applyButton;
    protocol::SettingKind kind;
};

void NameControls(const SettingBox& setting) {
    setting.currentValue->setAccessibleName(AccessibleName(setting.box, setting.currentText));
    setting.settingsComb->setAccessibleName(AccessibleName(setting.box, setting.settingsText));
    // Every box has a "Read" and an "Apply": a screen reader needs the setting to tell them apart.
    setting.currentButton->setAccessibleName(texts::ReadButtonName(setting.box->title()));
    setting.applyButton->setAccessibleName(texts::ApplyButtonName(setting.box->title()));
}

void TitleBox(const SettingBox& setting) {
    setting.box->setTitle(SettingTitle(setting.kind));
    setting.currentText->setText(Localized("CurrentSetting"));
    setting.currentButton->setText(Localized("CurrentButtonTitle"));
    setting.settingsText->setText(Localized("Settings"));
    setting.applyButton->setText(Localized("ApplyButtonTitle"));
    FillList(setting.settingsComb, setting.kind);
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

    TitleBox({ui->powerOnBox, ui->powerOnCurrentText, ui->powerOnCurrentValue, ui->powerOnCurrentButton,
              ui->powerOnSettingsText, ui->powerOnSettingsComb, ui->powerOnApplyButton, protocol::kPowerOn});
    TitleBox({ui->autoPowerOffBox, ui->autoPowerOffCurrentText, ui->autoPowerOffCurrentValue,
              ui->autoPowerOffCurrentButton, ui->autoPowerOffSettingsText, ui->autoPowerOffSettingsComb,
              ui->autoPowerOffApplyButton, protocol::kAutoPowerOff});
    ui->autoPowerOffCurrentUnitText->setText(Localized("Munutes"));
    ui->autoPowerOffSettingsUnitText->setText(Localized("Munutes"));
    ui->autoPowerOffSentence->setText(Localized("AutoPowerOffLabel"));
    TitleBox({ui->networkSetBox, ui->networkSetCurrentText, ui->networkSetCurrentValue,
              ui->networkSetCurrentButton, ui->networkSetSettingsText, ui->networkSetSettingsComb,
              ui->networkSetApplyButton, protocol::kNetwork});
    TitleBox({ui->infoPrintBox, ui->infoPrintCurrentText, ui->infoPrintCurrentValue,
              ui->infoPrintCurrentButton, ui->infoPrintSettingsText, ui->infoPrintSettingsComb,
              ui->infoPrintApplyButton, protocol::kInfoPrint});

    // The command mode is read in the sweeps but never offered to the user. Its list keeps no items
    // (command files take its empty choice); hidden, its controls are still named, since the
    // accessibility tree lists them.
    ui->commandBox->setTitle(texts::CommandModeTitle());
    NameControls({ui->commandBox, ui->commandCurrentText, ui->commandCurrentValue, ui->commandCurrentButton,
                  ui->commandSettingsText, ui->commandSettingsComb, ui->commandApplyButton,
                  protocol::kCommandMode});
    ui->commandBox->setHidden(true);

    ui->powerTabOutPutButton->setAccessibleName(
        texts::SaveButtonName(AccessibleCaption(ui->utilityTab->tabText(0))));
    ui->printTabOutPutButton->setAccessibleName(
        texts::SaveButtonName(AccessibleCaption(ui->utilityTab->tabText(1))));
    connectionView_->Retitle();

    RetitleMenus(*ui->menuBar, Localized("MainWindowTitle"));
}

#pragma once

#include "protocol/SettingsTable.h"

#include <vector>

class QBoxLayout;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// A setting's box on its tab: what the printer holds now with a button to read it again, and a list
// with a button to apply the choice. Built from the setting's row of the settings table; every widget
// is named after the row's outlet (powerOnBox, powerOnCurrentValue, powerOnSettingsComb, ...) and
// belongs to the box, which belongs to its tab.
struct SettingBox {
    const protocol::SettingRow* setting = nullptr;
    QGroupBox* box = nullptr;
    QLabel* currentText = nullptr;
    QLineEdit* currentValue = nullptr;
    QPushButton* currentButton = nullptr;
    QLabel* settingsText = nullptr;
    QComboBox* settingsComb = nullptr;
    QPushButton* applyButton = nullptr;
    std::vector<QLabel*> unitTexts; // after the value and after the list, when the setting has a unit
    QLabel* sentence = nullptr;     // the setting's help under its controls, when it shows one
};

// Every setting's box, in table order, each added to its tab's layout before that layout's last
// `keepAfter` items (its spacer and save button). A setting the user cannot choose gets a hidden box:
// it is read in the sweeps but never offered.
std::vector<SettingBox> BuildSettingBoxes(QBoxLayout& powerTab, QBoxLayout& printTab, int keepAfter);

// Tab order that follows the boxes: each box's controls after `before`, the last box's before `after`.
void ChainTabOrder(QWidget* before, const std::vector<SettingBox>& boxes, protocol::SettingTab tab,
                   QWidget* after);

#include "app/SettingBoxes.h"

#include "platform/core/Localized.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Wide enough for any value's text in every language, so the fields do not jump as values change.
constexpr int kCurrentValueMinimumWidth = 160;

enum Column { kCaption, kControl, kUnit, kButton };
constexpr int kColumns = 4;

QString Named(const protocol::SettingRow& setting, const char* role) {
    return platform::FromUtf8(setting.outlet) + QLatin1String(role);
}

template <class Widget> Widget* Make(QWidget* parent, const protocol::SettingRow& setting, const char* role) {
    auto* widget = new Widget(parent); // owned by its Qt parent
    widget->setObjectName(Named(setting, role));
    return widget;
}

QPushButton* MakeButton(QWidget* parent, const protocol::SettingRow& setting, const char* role) {
    auto* button = Make<QPushButton>(parent, setting, role);
    button->setAutoDefault(true); // Enter presses the focused button
    return button;
}

SettingBox BuildBox(QWidget* tab, const protocol::SettingRow& setting) {
    SettingBox built;
    built.setting = &setting;
    built.box = Make<QGroupBox>(tab, setting, "Box");
    auto* grid = new QGridLayout(built.box); // owned by the box
    grid->setObjectName(Named(setting, "Grid"));
    grid->setColumnStretch(kControl, 1);

    built.currentText = Make<QLabel>(built.box, setting, "CurrentText");
    built.currentValue = Make<QLineEdit>(built.box, setting, "CurrentValue");
    built.currentValue->setReadOnly(true);
    built.currentValue->setMinimumWidth(kCurrentValueMinimumWidth);
    built.currentText->setBuddy(built.currentValue);
    built.currentButton = MakeButton(built.box, setting, "CurrentButton");

    built.settingsText = Make<QLabel>(built.box, setting, "SettingsText");
    built.settingsComb = Make<QComboBox>(built.box, setting, "SettingsComb");
    built.settingsComb->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    built.settingsComb->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    built.settingsText->setBuddy(built.settingsComb);
    built.applyButton = MakeButton(built.box, setting, "ApplyButton");

    grid->addWidget(built.currentText, 0, kCaption);
    grid->addWidget(built.currentValue, 0, kControl);
    grid->addWidget(built.currentButton, 0, kButton);
    grid->addWidget(built.settingsText, 1, kCaption);
    grid->addWidget(built.settingsComb, 1, kControl);
    grid->addWidget(built.applyButton, 1, kButton);
    if (!setting.unit.key.empty()) {
        built.unitTexts = {Make<QLabel>(built.box, setting, "CurrentUnitText"),
                           Make<QLabel>(built.box, setting, "SettingsUnitText")};
        grid->addWidget(built.unitTexts[0], 0, kUnit);
        grid->addWidget(built.unitTexts[1], 1, kUnit);
    }
    if (setting.helpShown) {
        built.sentence = Make<QLabel>(built.box, setting, "Sentence");
        built.sentence->setWordWrap(true);
        grid->addWidget(built.sentence, 2, kCaption, 1, kColumns);
    }
    // Read in the sweeps, never offered to the user.
    built.box->setHidden(!setting.Offered());
    return built;
}

} // namespace

std::vector<SettingBox> BuildSettingBoxes(QBoxLayout& powerTab, QBoxLayout& printTab, int keepAfter) {
    std::vector<SettingBox> boxes;
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        QBoxLayout& layout = setting.tab == protocol::SettingTab::Power ? powerTab : printTab;
        SettingBox box = BuildBox(layout.parentWidget(), setting);
        layout.insertWidget(layout.count() - keepAfter, box.box);
        boxes.push_back(box);
    }
    return boxes;
}

void ChainTabOrder(QWidget* before, const std::vector<SettingBox>& boxes, protocol::SettingTab tab,
                   QWidget* after) {
    QWidget* previous = before;
    for (const SettingBox& box : boxes) {
        if (box.setting->tab != tab) {
            continue;
        }
        for (QWidget* next :
             {static_cast<QWidget*>(box.currentValue), static_cast<QWidget*>(box.currentButton),
              static_cast<QWidget*>(box.settingsComb), static_cast<QWidget*>(box.applyButton)}) {
            QWidget::setTabOrder(previous, next);
            previous = next;
        }
    }
    QWidget::setTabOrder(previous, after);
}

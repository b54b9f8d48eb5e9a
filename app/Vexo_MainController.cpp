#include "app/Vexo_MainController.h"

#include "app/AccessibleInterfaces.h"
#include "platform/core/Localized.h"
#include "platform/ui/Dialogs.h"
#include "protocol/PrinterModel.h"
#include "protocol/SettingValues.h"
#include "texts/WindowTexts.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMimeData>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <utility>

namespace {

constexpr std::int8_t kQuiet = 1;
constexpr std::int8_t kAlertOnFailure = 0;
constexpr std::int8_t kZeroValues = 1;
constexpr std::int8_t kChosenValues = 0;
constexpr int kAlertDefaultButton = 1;
// How long a showing window may take to be mapped by the window system before it is painted anyway.
constexpr int kExposeWaitMs = 500;
constexpr int kExposePollMs = 10;

} // namespace

Vexo_MainController::Vexo_MainController(ProgressPanel& panel, const ExchangeFactory& makeExchange)
    : mainWindow(std::make_unique<QMainWindow>()), ui(std::make_unique<Ui::MainWindow>()) {
    InstallAccessibleInterfaces(); // before the widgets exist, so that each gets its interface
    ui->setupUi(mainWindow.get());
    // Each tab's spacer and save row stay below its settings' boxes.
    constexpr int kBelowTheBoxes = 2;
    boxes_ = BuildSettingBoxes(*ui->powerTabLayout, *ui->printTabLayout, kBelowTheBoxes);
    ChainTabOrder(ui->utilityTab, boxes_, protocol::SettingTab::Power, ui->powerTabApplyFileButton);
    QWidget::setTabOrder(ui->powerTabApplyFileButton, ui->powerTabOutPutButton);
    ChainTabOrder(ui->powerTabOutPutButton, boxes_, protocol::SettingTab::Print, ui->printTabApplyFileButton);
    QWidget::setTabOrder(ui->printTabApplyFileButton, ui->printTabOutPutButton);
    mainWindow->setAcceptDrops(true);
    connectionView_.emplace(ui->connectionIcon, ui->connectionText, ui->printerChoiceText, ui->printerChoice);
    awakeFromNib(panel, makeExchange);
}

Vexo_MainController::~Vexo_MainController() = default;

void Vexo_MainController::awakeFromNib(ProgressPanel& panel, const ExchangeFactory& makeExchange) {
    progress_con = &panel;
    cusbCom_con = makeExchange(settingWidgets(), progress_con->indicator());
    Vexo_OutPutFile_con = std::make_unique<Vexo_OutPutFile>(settingWidgets(), progress_con->indicator());
    // The printer this application is made for; CUsbCom matches attached printers against it.
    cusbCom_con->SetDeviceInf(std::string(protocol::kTargetManufacturer).c_str(),
                              std::string(protocol::kTargetProduct).c_str(), "");
    setControlsTitle();
    selectStartingChoices();
    connectActions();
    showConnection();
}

SettingWidgets Vexo_MainController::settingWidgets() const {
    SettingWidgets widgets;
    for (const SettingBox& box : boxes_) {
        widgets.push_back({box.setting->kind, box.settingsComb, box.currentValue});
    }
    return widgets;
}

void Vexo_MainController::selectStartingChoices() {
    for (const SettingBox& box : boxes_) {
        box.settingsComb->setCurrentIndex(box.setting->firstChoice);
    }
}

void Vexo_MainController::connectActions() {
    const auto onClick = [this](QPushButton* button, void (Vexo_MainController::*action)(QObject*)) {
        connect(button, &QPushButton::clicked, this, [this, button, action] { (this->*action)(button); });
    };
    for (const SettingBox& box : boxes_) {
        onClick(box.currentButton, &Vexo_MainController::settingAction);
        onClick(box.applyButton, &Vexo_MainController::settingAction);
    }
    for (QPushButton* button :
         {ui->exitButton, ui->resetButton, ui->powerTabOutPutButton, ui->printTabOutPutButton}) {
        onClick(button, &Vexo_MainController::otherAction);
    }

    for (const SettingBox& box : boxes_) {
        QComboBox* list = box.settingsComb;
        connect(list, &QComboBox::activated, this, [this, list] { comboBoxSelectionDidChange(list); });
    }
    connect(ui->powerTabApplyFileButton, &QPushButton::clicked, this,
            [this] { applyFileDifferences(protocol::SettingTab::Power); });
    connect(ui->printTabApplyFileButton, &QPushButton::clicked, this,
            [this] { applyFileDifferences(protocol::SettingTab::Print); });
    connect(ui->openAction, &QAction::triggered, this, &Vexo_MainController::chooseCommandFileToOpen);
    connect(ui->aboutAction, &QAction::triggered, this, &Vexo_MainController::openAboutPanel);
    connect(ui->quitAction, &QAction::triggered, this, &Vexo_MainController::terminate);
    connect(ui->saveAction, &QAction::triggered, this, [this] {
        otherAction(ui->utilityTab->currentWidget() == ui->printTab ? ui->printTabOutPutButton
                                                                    : ui->powerTabOutPutButton);
    });
    connect(ui->printerChoice, &QComboBox::activated, this,
            [this](int index) { choosePrinter(ui->printerChoice->itemText(index)); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, &Vexo_MainController::applicationWillTerminate);
    mainWindow->installEventFilter(this);
}

void Vexo_MainController::applicationDidFinishLaunching() {
    showWindow();
    // Watching before the first listing, so that no printer plugged in meanwhile goes unnoticed.
    if (!settleTimer_) {
        watchDevices();
    }
    refreshPrinters(true);
    // After the launch reads, so that the marks compare the file with what the printer holds.
    if (!fileToOpen_.isEmpty() && !ending_) {
        openCommandFile(std::exchange(fileToOpen_, QString()));
    }
}

void Vexo_MainController::showWindow() {
    mainWindow->adjustSize();
    if (const QScreen* screen = mainWindow->screen(); screen != nullptr) {
        QRect frame = mainWindow->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        mainWindow->move(frame.topLeft());
    }
    mainWindow->show();
    mainWindow->raise();
    mainWindow->activateWindow();
    // Painted before the printer is touched, so a slow printer never leaves the user without a window.
    const QWindow* handle = mainWindow->windowHandle();
    for (int waited = 0; handle != nullptr && !handle->isExposed() && waited < kExposeWaitMs;
         waited += kExposePollMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(kExposePollMs);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    fitWrappedTexts();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    mainWindow->repaint();
}

void Vexo_MainController::fitWrappedTexts() {
    // Layouts size a word-wrapped label as if for one line of some width. Once the window is laid out,
    // each gets the height its text needs at the width it has, and the window grows to hold them.
    for (QLabel* label : mainWindow->findChildren<QLabel*>()) {
        if (label->wordWrap() && label->isVisible()) {
            label->setMinimumHeight(label->heightForWidth(label->width()));
        }
    }
    mainWindow->layout()->activate();
    const QSize needed = mainWindow->sizeHint().expandedTo(mainWindow->minimumSizeHint());
    if (needed.height() > mainWindow->height() || needed.width() > mainWindow->width()) {
        mainWindow->resize(mainWindow->size().expandedTo(needed));
    }
}

void Vexo_MainController::applicationWillTerminate() {
    deviceWatch_.reset();
    settleTimer_.reset();
    progress_con = nullptr;
    cusbCom_con.reset();
}

void Vexo_MainController::windowWillClose() {
    terminate();
}

bool Vexo_MainController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mainWindow.get() && event->type() == QEvent::Close) {
        windowWillClose();
    }
    if (watched == mainWindow.get() && acceptDroppedFile(event)) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}

// One local file dragged onto the window is taken as a command file to open.
bool Vexo_MainController::acceptDroppedFile(QEvent* event) {
    if (event->type() != QEvent::DragEnter && event->type() != QEvent::Drop) {
        return false;
    }
    auto* drop = static_cast<QDropEvent*>(event); // QDragEnterEvent is a QDropEvent
    const QList<QUrl> urls = drop->mimeData() != nullptr ? drop->mimeData()->urls() : QList<QUrl>();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile() || exchanging_) {
        return false;
    }
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        const QString path = urls.constFirst().toLocalFile();
        // After the drop has ended: the file's alert must not run inside the drag.
        QTimer::singleShot(0, this, [this, path] { openCommandFile(path); });
    }
    return true;
}

void Vexo_MainController::terminate() {
    ending_ = true;
    if (exchanging_ && cusbCom_con != nullptr) {
        // The read under way finishes (it is bounded) but shows and reports nothing.
        cusbCom_con->Abandon();
    }
    QCoreApplication::quit();
}

void Vexo_MainController::settingAction(QObject* sender) {
    if (cusbCom_con == nullptr || progress_con == nullptr || sender == nullptr) {
        return;
    }
    for (const SettingBox& box : boxes_) {
        // A setting the user cannot choose is only read in the sweeps; its buttons stay inert.
        if (!box.setting->Offered()) {
            continue;
        }
        const protocol::SettingKind kind = box.setting->kind;
        if (sender == box.currentButton) {
            progress_con->openPanel(kProgressMessageKey, kProgressTitleKey);
            exchange([&] { cusbCom_con->GetSetting(kAlertOnFailure, kind); });
            progress_con->closePanel();
        }
        if (sender == box.applyButton) {
            progress_con->openPanel(kProgressMessageKey, kProgressTitleKey);
            exchange([&] { cusbCom_con->SetSetting(kChosenValues, kind); });
            progress_con->closePanel();
        }
    }
}

void Vexo_MainController::otherAction(QObject* sender) {
    if (sender == ui->exitButton) {
        terminate();
    }
    if (sender == ui->resetButton && cusbCom_con != nullptr && progress_con != nullptr) {
        if (confirmReset()) {
            progress_con->openPanel(kProgressMessageKey, kProgressTitleKey);
            exchange([&] { cusbCom_con->SetSetting(kZeroValues, protocol::kReset); });
            progress_con->closePanel();
        }
    }
    if (sender == ui->powerTabOutPutButton) {
        saveCommandFile(protocol::kPowerGroup);
    } else if (sender == ui->printTabOutPutButton) {
        saveCommandFile(protocol::kPrintGroup);
    }
}

void Vexo_MainController::openAboutPanel() {
    platform::AppDialogs().ShowAboutPanel({
        .name = platform::Localized("MainWindowTitle"),
        .version = texts::AboutVersion(QStringLiteral(LM360R_VERSION)),
        .description = texts::AboutDescription(),
        .licence = texts::AboutLicence(),
        .website = QStringLiteral(LM360R_WEBSITE),
    });
}

void Vexo_MainController::comboBoxSelectionDidChange(QComboBox* sender) {
    if (cusbCom_con != nullptr) {
        cusbCom_con->comboBoxSelectionDidChange(sender);
    }
}

int Vexo_MainController::mRunAlertPanel_Con(const char* titleKey, const char* secondKey,
                                            const QString& informativeText, platform::AlertIcon icon) {
    const QString second = secondKey != nullptr ? platform::Localized(secondKey) : QString();
    return platform::AppDialogs().RunAlert({.icon = icon,
                                            .text = platform::Localized(titleKey),
                                            .informativeText = informativeText,
                                            .acceptButton = platform::Localized("OKButton"),
                                            .rejectButton = second});
}

bool Vexo_MainController::confirmReset() {
    // The confirming button says what it does, and Enter cancels: a reset cannot be taken back.
    return platform::AppDialogs().RunAlert({.icon = platform::AlertIcon::Question,
                                            .text = platform::Localized("ResetMassege"),
                                            .acceptButton = texts::ResetConfirmButton(),
                                            .rejectButton = platform::Localized("CancelButton"),
                                            .rejectIsDefault = true}) == kAlertDefaultButton;
}

bool Vexo_MainController::isPrinterName(std::optional<QString>& name) const {
    return isPrinterName(QCoreApplication::arguments(), name);
}

bool Vexo_MainController::isPrinterName(const QStringList& arguments, std::optional<QString>& name) {
    name.reset();
    if (arguments.size() < 2) {
        return false;
    }
    const QString target = QString::fromStdString(protocol::TargetPrinterName());
    if (arguments.at(1) != target) {
        return false;
    }
    name = target;
    return true;
}

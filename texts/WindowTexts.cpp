#include "texts/WindowTexts.h"

#include <QtGlobal>

namespace texts {

QString LookingForPrinter() {
    //% "Looking for the printer…"
    return qtTrId("Connection_Searching");
}

QString PrinterInUse(const QString& maker, const QString& model, const QString& serial) {
    //: %1 maker, %2 model, %3 the printer's serial number.
    //% "Printer: %1 %2, serial number %3"
    return qtTrId("Connection_Printer").arg(maker, model, serial);
}

QString PrinterInUseWithoutSerial(const QString& maker, const QString& model) {
    //% "Printer: %1 %2"
    return qtTrId("Connection_PrinterNoSerial").arg(maker, model);
}

QString NoPrinter() {
    //% "No LM-360R printer was found."
    return qtTrId("Connection_None");
}

QString NoPrinterRemedy() {
    //% "Check that the printer is connected by USB and switched on. It is found as soon as it is plugged in."
    return qtTrId("Connection_NoneRemedy");
}

QString AccessRefused() {
    //% "The printer was found, but you may not open it."
    return qtTrId("Connection_Refused");
}

QString AccessRefusedRemedy() {
    //: Keep the command and the group name lp as they are.
    //% "Install the udev rule that comes with this program and plug the printer in again, or add yourself to
    // the lp group (sudo usermod -aG lp $USER) and log in again."
    return qtTrId("Connection_RefusedRemedy");
}

QString PrinterBusy() {
    //% "The printer is in use by another program."
    return qtTrId("Connection_InUse");
}

QString PrinterBusyRemedy() {
    //% "Close that program or wait until it has finished, then try again."
    return qtTrId("Connection_InUseRemedy");
}

QString OpenFailed(int status) {
    //: %1 is the USB error code.
    //% "The printer could not be opened (error %1)."
    return qtTrId("Connection_OpenFailed").arg(status);
}

QString OpenFailedRemedy() {
    //% "Unplug the printer, plug it in again, then try again."
    return qtTrId("Connection_OpenFailedRemedy");
}

QString NoPrinterField() {
    //: Shown in every current-value field while no printer is there; must fit the narrowest field.
    //% "No printer"
    return qtTrId("Field_NoPrinter");
}

QString AccessRefusedField() {
    //: Shown in every current-value field while the printer may not be opened; must fit the narrowest field.
    //% "No access"
    return qtTrId("Field_Refused");
}

QString PrinterBusyField() {
    //: Shown in every current-value field while another program holds the printer; must fit the narrowest
    //: field.
    //% "In use"
    return qtTrId("Field_InUse");
}

QString OpenFailedField() {
    //: Shown in every current-value field while the printer cannot be opened; must fit the narrowest field.
    //% "Not opened"
    return qtTrId("Field_OpenFailed");
}

QString PrinterChoiceLabel() {
    //: Before the list of serial numbers when several printers are attached.
    //% "Printer to set &up:"
    return qtTrId("Connection_Choice");
}

QString NoAnswer() {
    //% "The printer did not answer in time. Check that it is switched on and not busy, then try again."
    return qtTrId("Reason_NoAnswer");
}

QString ConnectionFailed() {
    //% "The connection to the printer failed. Try again; if it keeps failing, unplug the printer and plug it
    // in again."
    return qtTrId("Reason_LinkFailed");
}

QString ReadFailed(const QString& setting) {
    //: %1 is the setting's name (a box title).
    //% "%1 could not be read from the printer."
    return qtTrId("Alert_ReadFailed").arg(setting);
}

QString WriteFailed(const QString& setting) {
    //% "%1 could not be changed on the printer."
    return qtTrId("Alert_WriteFailed").arg(setting);
}

QString ReadBackFailed(const QString& setting) {
    //% "%1 was sent to the printer, but could not be read back."
    return qtTrId("Alert_ReadBackFailed").arg(setting);
}

QString ValueMismatch(const QString& setting, const QString& sent, const QString& answered) {
    //: %1 the setting's name, %2 the value sent, %3 the value the printer answered, e.g. "On (1)".
    //% "%1: %2 was sent, but the printer answered %3."
    return qtTrId("Alert_Mismatch").arg(setting, sent, answered);
}

QString ValueMismatchShown() {
    //% "The window now shows the printer's value."
    return qtTrId("Alert_MismatchShown");
}

QString ResetFailed() {
    //% "The printer's settings could not be reset."
    return qtTrId("Alert_ResetFailed");
}

QString ResetReadBackFailed() {
    //% "The printer's settings were reset, but could not be read back."
    return qtTrId("Alert_ResetReadBackFailed");
}

QString ResetConfirmButton() {
    //: The button that confirms the reset; says what it does.
    //% "Reset Settings"
    return qtTrId("ResetConfirmButton");
}

QString CommandFileFilter(const QString& pattern) {
    //: The save panel's file type; %1 is the pattern "*.bin".
    //% "Command files (%1)"
    return qtTrId("CommandFileFilter").arg(pattern);
}

QString SavedAs(const QString& path) {
    //% "Saved as %1"
    return qtTrId("SavedAs").arg(path);
}

QString NotWritten(const QString& path, const QString& reason) {
    //: %1 the file, %2 the system's reason.
    //% "%1 could not be written: %2"
    return qtTrId("NotWritten").arg(path, reason);
}

QString AboutVersion(const QString& version) {
    //% "Version %1"
    return qtTrId("AboutVersion").arg(version);
}

QString AboutDescription() {
    //% "Reads and changes the settings of the Tamblor LM-360R label printer over USB."
    return qtTrId("AboutDescription");
}

QString AboutLicence() {
    //% "Free software under the MIT licence."
    return qtTrId("AboutLicence");
}

QString ReadButtonName(const QString& setting) {
    //: Screen-reader name of a box's Read button.
    //% "Read %1"
    return qtTrId("ReadButtonName").arg(setting);
}

QString ApplyButtonName(const QString& setting) {
    //: Screen-reader name of a box's Apply button.
    //% "Apply %1"
    return qtTrId("ApplyButtonName").arg(setting);
}

QString SaveButtonName(const QString& tab) {
    //: Screen-reader name of a tab's save button; %1 is the tab's name.
    //% "Save %1 settings as a command file"
    return qtTrId("SaveButtonName").arg(tab);
}

QString ApplyFileDifferences() {
    //: Button on a tab after a command file was opened: writes the file's values that differ from the
    //: printer's.
    //% "Apply &What Differs"
    return qtTrId("ApplyFileDifferences");
}

QString ApplyFileDifferencesName(const QString& tab) {
    //: Screen-reader name of a tab's button that applies an opened command file; %1 is the tab's name.
    //% "%1: apply what differs from the command file"
    return qtTrId("ApplyFileDifferencesName").arg(tab);
}

QString FileSetsValue(const QString& value) {
    //: Shown on a current-value field whose printer value differs from the opened command file's; %1 is the
    //: file's value.
    //% "The command file sets %1"
    return qtTrId("FileSetsValue").arg(value);
}

QString CommandFileNotOpened(const QString& path) {
    //: Alert when a file to open is not a good command file; %1 is the file.
    //% "%1 cannot be opened as a command file"
    return qtTrId("CommandFileNotOpened").arg(path);
}

QString CommandFileFault(std::size_t offset, const QString& reason) {
    //: Why a file is not a good command file; %1 is where, %2 what is wrong (in English).
    //% "At byte %1: %2"
    return qtTrId("CommandFileFault").arg(offset).arg(reason);
}

QString CommandFileNotRead(const QString& path, const QString& reason) {
    //: %1 the file, %2 the system's reason.
    //% "%1 could not be read: %2"
    return qtTrId("CommandFileNotRead").arg(path, reason);
}

QString CommandFileTooLarge() {
    //: Why a file to open is not a command file.
    //% "It is larger than any command file."
    return qtTrId("CommandFileTooLarge");
}

QString CommandFileWithoutSettings() {
    //: Why a good command file cannot be opened: nothing to show.
    //% "It carries no setting."
    return qtTrId("CommandFileWithoutSettings");
}

} // namespace texts

#pragma once

#include <QString>
#include <cstddef>

// The window's texts that are written in code rather than looked up from tables: each is one qtTrId
// call with its English text beside it, so the catalogues and the code cannot disagree about a key.
namespace texts {

// Where the window tells which printer it talks to, or what keeps it from one.
QString LookingForPrinter();
QString PrinterInUse(const QString& maker, const QString& model, const QString& serial);
QString PrinterInUseWithoutSerial(const QString& maker, const QString& model);
QString NoPrinter();
QString NoPrinterRemedy();
QString AccessRefused();
QString AccessRefusedRemedy();
QString PrinterBusy();
QString PrinterBusyRemedy();
QString OpenFailed(int status);
QString OpenFailedRemedy();
QString PrinterChoiceLabel();

// What the current-value fields show instead of a value while no printer can be reached: a word or
// two that fit the narrowest field (the band above says the whole of it).
QString NoPrinterField();
QString AccessRefusedField();
QString PrinterBusyField();
QString OpenFailedField();

// Why an exchange with a printer that was opened failed.
QString NoAnswer();
QString ConnectionFailed();

// Alerts; `setting` is the setting's name as its box shows it.
QString ReadFailed(const QString& setting);
QString WriteFailed(const QString& setting);
QString ReadBackFailed(const QString& setting);
QString ValueMismatch(const QString& setting, const QString& sent, const QString& answered);
QString ValueMismatchShown();
QString ResetFailed();
QString ResetReadBackFailed();
QString ResetConfirmButton();

// The command file.
QString CommandFileFilter(const QString& pattern);
QString SavedAs(const QString& path);
QString NotWritten(const QString& path, const QString& reason);
// A command file opened in the window, and the ways one cannot be.
QString ApplyFileDifferences();
QString ApplyFileDifferencesName(const QString& tab);
QString FileSetsValue(const QString& value);
QString CommandFileNotOpened(const QString& path);
QString CommandFileFault(std::size_t offset, const QString& reason);
QString CommandFileNotRead(const QString& path, const QString& reason);
QString CommandFileTooLarge();
QString CommandFileWithoutSettings();

// About.
QString AboutVersion(const QString& version);
QString AboutDescription();
QString AboutLicence();

// What a screen reader says for a box's buttons and a tab's save button.
QString ReadButtonName(const QString& setting);
QString ApplyButtonName(const QString& setting);
QString SaveButtonName(const QString& tab);

} // namespace texts

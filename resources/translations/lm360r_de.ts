<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="MainWindowTitle">
        <source>LM-360R Settings</source>
        <extracomment>Title of the main window; also the %1 of the About and Quit menu items and the printer selection dialog's title. No mnemonic: it is a window title.</extracomment>
        <translation>LM-360R-Einstellungen</translation>
    </message>
    <message id="ResetsButtonTitle">
        <source>&amp;Reset Settings…</source>
        <extracomment>Button that resets the printer's settings after a confirmation.</extracomment>
        <translation>&amp;Zurücksetzen …</translation>
    </message>
    <message id="ExitButtonTitle">
        <source>&amp;Quit</source>
        <extracomment>Button that ends the application.</extracomment>
        <translation>&amp;Beenden</translation>
    </message>
    <message id="Tab1Name">
        <source>&amp;Power</source>
        <extracomment>Tab with the power-on, auto power-off and network settings.</extracomment>
        <translation>&amp;Energie</translation>
    </message>
    <message id="Tab2Name">
        <source>Pr&amp;int</source>
        <extracomment>Tab with the information-print setting.</extracomment>
        <translation>&amp;Druck</translation>
    </message>
    <message id="SaveCommandButton">
        <source>&amp;Save Command File…</source>
        <extracomment>Button on each tab that saves that tab's chosen settings as a command file.</extracomment>
        <translation>Befehlsdatei &amp;speichern …</translation>
    </message>
    <message id="PowerOnBoxName">
        <source>Automatic Power On</source>
        <extracomment>Box title: whether the printer switches on by itself when it gets power.</extracomment>
        <translation>Automatisches Einschalten</translation>
    </message>
    <message id="AutoPowerOffBoxName">
        <source>Auto Power Off</source>
        <extracomment>Box title: idle time after which the printer switches itself off.</extracomment>
        <translation>Automatisches Ausschalten</translation>
    </message>
    <message id="NetworkSetName">
        <source>Network</source>
        <extracomment>Box title: the printer's network setting.</extracomment>
        <translation>Netzwerk</translation>
    </message>
    <message id="InfoPrintBoxName">
        <source>Information Print</source>
        <extracomment>Box title: what the printer prints about itself.</extracomment>
        <translation>Informationsdruck</translation>
    </message>
    <message id="CurrentSetting">
        <source>Current setting:</source>
        <extracomment>Caption before the value the printer reported, in every box.</extracomment>
        <translation>Aktuelle Einstellung:</translation>
    </message>
    <message id="CurrentButtonTitle">
        <source>Read</source>
        <extracomment>Button in every box that reads the setting from the printer. Repeated in every box, so no mnemonic.</extracomment>
        <translation>Auslesen</translation>
    </message>
    <message id="Settings">
        <source>New setting:</source>
        <extracomment>Caption before the list of choices, in every box.</extracomment>
        <translation>Neue Einstellung:</translation>
    </message>
    <message id="ApplyButtonTitle">
        <source>Apply</source>
        <extracomment>Button in every box that sends the chosen value to the printer. Repeated in every box, so no mnemonic.</extracomment>
        <translation>Übernehmen</translation>
    </message>
    <message id="Munutes">
        <source>minutes</source>
        <extracomment>Unit after the auto power-off time (the numbers themselves are never translated).</extracomment>
        <translation>Minuten</translation>
    </message>
    <message id="AutoPowerOffLabel">
        <source>The printer switches itself off when it has not been used for the chosen number of minutes.</source>
        <extracomment>Explanation in the auto power-off box; the line wraps.</extracomment>
        <translation>Der Drucker schaltet sich aus, wenn er die gewählte Anzahl Minuten nicht benutzt wurde.</translation>
    </message>
    <message id="PowerOnHelp">
        <source>Whether the printer switches itself on as soon as it gets power.</source>
        <extracomment>Help for the automatic power-on setting: a tooltip in the window and a line of the command line's help.</extracomment>
        <translation>Ob sich der Drucker einschaltet, sobald er Strom bekommt.</translation>
    </message>
    <message id="NetworkSetHelp">
        <source>The mode of the printer's network connection.</source>
        <extracomment>Help for the network setting: a tooltip in the window and a line of the command line's help.</extracomment>
        <translation>Die Betriebsart der Netzwerkverbindung des Druckers.</translation>
    </message>
    <message id="InfoPrintHelp">
        <source>How much the printer's information print tells: a full, standard or short report.</source>
        <extracomment>Help for the information-print setting: a tooltip in the window and a line of the command line's help.</extracomment>
        <translation>Wie viel der Informationsdruck des Druckers enthält: einen vollständigen, einen Standard- oder einen kurzen Bericht.</translation>
    </message>
    <message id="CommandModeBoxName">
        <source>Command Mode</source>
        <extracomment>Box title of the printer's command mode, which the window reads but never offers; screen readers may name it.</extracomment>
        <translation>Befehlsmodus</translation>
    </message>
    <message id="CommandModeHelp">
        <source>The printer's command mode; it is read, never changed.</source>
        <extracomment>Help for the command mode: a tooltip of its (hidden) box and a line of the command line's help.</extracomment>
        <translation>Der Befehlsmodus des Druckers; er wird gelesen, nie geändert.</translation>
    </message>
    <message id="PowerON_OFF">
        <source>Off</source>
        <extracomment>Automatic power on: off. List entry and current value.</extracomment>
        <translation>Aus</translation>
    </message>
    <message id="PowerON_ON">
        <source>On</source>
        <extracomment>Automatic power on: on. List entry and current value.</extracomment>
        <translation>Ein</translation>
    </message>
    <message id="NetworkSet1_1">
        <source>Mode 1</source>
        <extracomment>Network setting, printer value 0. List entry and current value.</extracomment>
        <translation>Modus 1</translation>
    </message>
    <message id="NetworkSet1_2">
        <source>Mode 2</source>
        <extracomment>Network setting, printer value 1. List entry and current value.</extracomment>
        <translation>Modus 2</translation>
    </message>
    <message id="NetworkSet1_3">
        <source>Mode 3</source>
        <extracomment>Network setting, printer value 2. List entry and current value.</extracomment>
        <translation>Modus 3</translation>
    </message>
    <message id="InfoPrint_1">
        <source>Full report</source>
        <extracomment>Information print, printer value 3. List entry and current value.</extracomment>
        <translation>Vollständiger Bericht</translation>
    </message>
    <message id="InfoPrint_2">
        <source>Standard report</source>
        <extracomment>Information print, printer value 2. List entry and current value.</extracomment>
        <translation>Standardbericht</translation>
    </message>
    <message id="InfoPrint_3">
        <source>Short report</source>
        <extracomment>Information print, printer value 1. List entry and current value.</extracomment>
        <translation>Kurzbericht</translation>
    </message>
    <message id="InfoPrint_4">
        <source>No report</source>
        <extracomment>Information print, printer value 0. Current value only, never a list entry.</extracomment>
        <translation>Kein Bericht</translation>
    </message>
    <message id="Command_1">
        <source>Mode 1</source>
        <extracomment>Command mode, printer value 0 (current value only).</extracomment>
        <translation>Modus 1</translation>
    </message>
    <message id="Command_2">
        <source>Mode 2</source>
        <extracomment>Command mode, printer value 1 (current value only).</extracomment>
        <translation>Modus 2</translation>
    </message>
    <message id="Command_3">
        <source>Mode 3</source>
        <extracomment>Command mode, printer value 3 (current value only).</extracomment>
        <translation>Modus 3</translation>
    </message>
    <message id="Unknown">
        <source>Unknown</source>
        <extracomment>Current value after the printer could not be read.</extracomment>
        <translation>Unbekannt</translation>
    </message>
    <message id="WindowMenuTitle">
        <source>&amp;Window</source>
        <extracomment>Title of the menu holding the About and Quit items.</extracomment>
        <translation>&amp;Fenster</translation>
    </message>
    <message id="AboutMenuTitle">
        <source>&amp;About %1</source>
        <extracomment>Menu item that opens the About panel. %1 is the application's title (MainWindowTitle); keep it exactly once.</extracomment>
        <translation>&amp;Über %1</translation>
    </message>
    <message id="terminateMenuTitle">
        <source>&amp;Quit %1</source>
        <extracomment>Menu item that quits. %1 is the application's title (MainWindowTitle); keep it exactly once.</extracomment>
        <translation>%1 &amp;beenden</translation>
    </message>
    <message id="ProgressWindowTitle">
        <source>Please Wait</source>
        <extracomment>Title of the panel shown while the printer or a file is busy.</extracomment>
        <translation>Bitte warten</translation>
    </message>
    <message id="ProgressbarWindowMessage">
        <source>Working, please wait…</source>
        <extracomment>Message of the panel shown while the printer or a file is busy.</extracomment>
        <translation>Vorgang läuft, bitte warten …</translation>
    </message>
    <message id="OKButton">
        <source>OK</source>
        <extracomment>Default button of every alert and of the printer selection dialog.</extracomment>
        <translation>OK</translation>
    </message>
    <message id="CancelButton">
        <source>Cancel</source>
        <extracomment>Second button of the reset confirmation; cancel button of the printer selection dialog.</extracomment>
        <translation>Abbrechen</translation>
    </message>
    <message id="ResetMassege">
        <source>Reset all of the printer's settings to their defaults?</source>
        <extracomment>Question asked before the printer's settings are reset.</extracomment>
        <translation>Alle Einstellungen des Druckers auf die Standardwerte zurücksetzen?</translation>
    </message>
    <message id="Util_FileCreate">
        <source>The command file has been saved.</source>
        <extracomment>Alert after the command file was written.</extracomment>
        <translation>Die Befehlsdatei wurde gespeichert.</translation>
    </message>
    <message id="Util_FileError">
        <source>The command file could not be saved.</source>
        <extracomment>Alert when the command file could not be written. Nothing was written.</extracomment>
        <translation>Die Befehlsdatei konnte nicht gespeichert werden.</translation>
    </message>
    <message id="Util_GetCommandError">
        <source>The setting could not be read from the printer (error </source>
        <extracomment>Alert when reading a setting failed. A number and ")" follow directly, so end with an opening parenthesis and the word for error: "... (error 5)".</extracomment>
        <translation>Die Einstellung konnte nicht vom Drucker gelesen werden (Fehler </translation>
    </message>
    <message id="Util_SetCommandError">
        <source>The setting could not be sent to the printer (error </source>
        <extracomment>Alert when writing a setting failed. A number and ")" follow directly: "... (error 5)".</extracomment>
        <translation>Die Einstellung konnte nicht an den Drucker gesendet werden (Fehler </translation>
    </message>
    <message id="Util_MatchingError">
        <source>The printer reports a different value than the one sent (code </source>
        <extracomment>Alert when the printer reports another value than the one sent. A number and ")" follow directly: "... (code 0)".</extracomment>
        <translation>Der Drucker meldet einen anderen Wert als den gesendeten (Code </translation>
    </message>
    <message id="PrinterSelectionText">
        <source>Choose the printer to set up:</source>
        <extracomment>Prompt of the printer selection dialog.</extracomment>
        <translation>Wählen Sie den einzurichtenden Drucker:</translation>
    </message>
    <message id="Err_AppPrinterDirverNotInstalled">
        <source>No LM-360R printer is installed on this computer.</source>
        <extracomment>Alert when no installed printer is an LM-360R.</extracomment>
        <translation>Auf diesem Computer ist kein LM-360R-Drucker installiert.</translation>
    </message>
    <message id="Connection_Searching">
        <source>Looking for the printer…</source>
        <extracomment>Connection band before the printer has been looked for.</extracomment>
        <translation>Drucker wird gesucht …</translation>
    </message>
    <message id="Connection_Printer">
        <source>Printer: %1 %2, serial number %3</source>
        <extracomment>Connection band: %1 maker, %2 model, %3 serial number.</extracomment>
        <translation>Drucker: %1 %2, Seriennummer %3</translation>
    </message>
    <message id="Connection_PrinterNoSerial">
        <source>Printer: %1 %2</source>
        <extracomment>Connection band for a printer without a serial number.</extracomment>
        <translation>Drucker: %1 %2</translation>
    </message>
    <message id="Connection_None">
        <source>No LM-360R printer was found.</source>
        <translation>Es wurde kein LM-360R-Drucker gefunden.</translation>
    </message>
    <message id="Connection_NoneRemedy">
        <source>Check that the printer is connected by USB and switched on. It is found as soon as it is plugged in.</source>
        <extracomment>What to do when no printer was found.</extracomment>
        <translation>Prüfen Sie, ob der Drucker per USB angeschlossen und eingeschaltet ist. Er wird gefunden, sobald er eingesteckt ist.</translation>
    </message>
    <message id="Connection_Refused">
        <source>The printer was found, but you may not open it.</source>
        <extracomment>The printer is attached but this user has no access to its device node.</extracomment>
        <translation>Der Drucker wurde gefunden, aber Sie dürfen ihn nicht öffnen.</translation>
    </message>
    <message id="Connection_RefusedRemedy">
        <source>Install the udev rule that comes with this program and plug the printer in again, or add yourself to the lp group (sudo usermod -aG lp $USER) and log in again.</source>
        <extracomment>Keep the command and the group name lp as they are.</extracomment>
        <translation>Installieren Sie die udev-Regel, die diesem Programm beiliegt, und stecken Sie den Drucker neu ein, oder nehmen Sie sich in die Gruppe lp auf (sudo usermod -aG lp $USER) und melden Sie sich neu an.</translation>
    </message>
    <message id="Connection_InUse">
        <source>The printer is in use by another program.</source>
        <extracomment>Another program holds the printer's interface.</extracomment>
        <translation>Der Drucker wird von einem anderen Programm verwendet.</translation>
    </message>
    <message id="Connection_InUseRemedy">
        <source>Close that program or wait until it has finished, then try again.</source>
        <extracomment>What to do when another program holds the printer.</extracomment>
        <translation>Schließen Sie das Programm oder warten Sie, bis es fertig ist, und versuchen Sie es dann erneut.</translation>
    </message>
    <message id="Connection_OpenFailed">
        <source>The printer could not be opened (error %1).</source>
        <extracomment>%1 is the USB error code.</extracomment>
        <translation>Der Drucker konnte nicht geöffnet werden (Fehler %1).</translation>
    </message>
    <message id="Connection_OpenFailedRemedy">
        <source>Unplug the printer, plug it in again, then try again.</source>
        <extracomment>What to do when the printer could not be opened.</extracomment>
        <translation>Ziehen Sie den Drucker ab, stecken Sie ihn wieder ein und versuchen Sie es erneut.</translation>
    </message>
    <message id="Connection_Choice">
        <source>Printer to set &amp;up:</source>
        <extracomment>Before the list of serial numbers when several printers are attached.</extracomment>
        <translation>Ein&amp;zurichtender Drucker:</translation>
    </message>
    <message id="Field_NoPrinter">
        <source>No printer</source>
        <extracomment>Shown in every current-value field while no printer is there; must fit the narrowest field.</extracomment>
        <translation>Kein Drucker</translation>
    </message>
    <message id="Field_Refused">
        <source>No access</source>
        <extracomment>Shown in every current-value field while the printer may not be opened; must fit the narrowest field.</extracomment>
        <translation>Kein Zugriff</translation>
    </message>
    <message id="Field_InUse">
        <source>In use</source>
        <extracomment>Shown in every current-value field while another program holds the printer; must fit the narrowest field.</extracomment>
        <translation>Belegt</translation>
    </message>
    <message id="Field_OpenFailed">
        <source>Not opened</source>
        <extracomment>Shown in every current-value field while the printer cannot be opened; must fit the narrowest field.</extracomment>
        <translation>Nicht geöffnet</translation>
    </message>
    <message id="Reason_NoAnswer">
        <source>The printer did not answer in time. Check that it is switched on and not busy, then try again.</source>
        <extracomment>Why an exchange failed: the read timed out.</extracomment>
        <translation>Der Drucker hat nicht rechtzeitig geantwortet. Prüfen Sie, ob er eingeschaltet und nicht beschäftigt ist, und versuchen Sie es erneut.</translation>
    </message>
    <message id="Reason_LinkFailed">
        <source>The connection to the printer failed. Try again; if it keeps failing, unplug the printer and plug it in again.</source>
        <extracomment>Why an exchange failed: a transfer failed.</extracomment>
        <translation>Die Verbindung zum Drucker ist fehlgeschlagen. Versuchen Sie es erneut; wenn es weiter fehlschlägt, stecken Sie den Drucker ab und wieder ein.</translation>
    </message>
    <message id="Alert_ReadFailed">
        <source>%1 could not be read from the printer.</source>
        <extracomment>%1 is the setting's name (a box title).</extracomment>
        <translation>„%1“ konnte nicht vom Drucker gelesen werden.</translation>
    </message>
    <message id="Alert_WriteFailed">
        <source>%1 could not be changed on the printer.</source>
        <extracomment>%1 is the setting's name (a box title).</extracomment>
        <translation>„%1“ konnte am Drucker nicht geändert werden.</translation>
    </message>
    <message id="Alert_ReadBackFailed">
        <source>%1 was sent to the printer, but could not be read back.</source>
        <extracomment>%1 is the setting's name (a box title).</extracomment>
        <translation>„%1“ wurde an den Drucker gesendet, konnte aber nicht zurückgelesen werden.</translation>
    </message>
    <message id="Alert_Mismatch">
        <source>%1: %2 was sent, but the printer answered %3.</source>
        <extracomment>%1 the setting's name, %2 the value sent, %3 the value the printer answered, e.g. "On (1)".</extracomment>
        <translation>%1: %2 wurde gesendet, aber der Drucker antwortete %3.</translation>
    </message>
    <message id="Alert_MismatchShown">
        <source>The window now shows the printer's value.</source>
        <extracomment>After a mismatch.</extracomment>
        <translation>Das Fenster zeigt jetzt den Wert des Druckers.</translation>
    </message>
    <message id="Alert_ResetFailed">
        <source>The printer's settings could not be reset.</source>
        <extracomment>The reset exchange failed.</extracomment>
        <translation>Die Einstellungen des Druckers konnten nicht zurückgesetzt werden.</translation>
    </message>
    <message id="Alert_ResetReadBackFailed">
        <source>The printer's settings were reset, but could not be read back.</source>
        <extracomment>The reset got through, the read that follows it failed.</extracomment>
        <translation>Die Einstellungen des Druckers wurden zurückgesetzt, konnten aber nicht zurückgelesen werden.</translation>
    </message>
    <message id="ResetConfirmButton">
        <source>Reset Settings</source>
        <extracomment>The button that confirms the reset; says what it does.</extracomment>
        <translation>Zurücksetzen</translation>
    </message>
    <message id="CommandFileFilter">
        <source>Command files (%1)</source>
        <extracomment>The save panel's file type; %1 is the pattern "*.bin".</extracomment>
        <translation>Befehlsdateien (%1)</translation>
    </message>
    <message id="SavedAs">
        <source>Saved as %1</source>
        <extracomment>After the command file was written; %1 is the file.</extracomment>
        <translation>Gespeichert als %1</translation>
    </message>
    <message id="NotWritten">
        <source>%1 could not be written: %2</source>
        <extracomment>%1 the file, %2 the system's reason.</extracomment>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message id="AboutVersion">
        <source>Version %1</source>
        <extracomment>About panel.</extracomment>
        <translation>Version %1</translation>
    </message>
    <message id="AboutDescription">
        <source>Reads and changes the settings of the Tamblor LM-360R label printer over USB.</source>
        <extracomment>About panel.</extracomment>
        <translation>Liest und ändert die Einstellungen des Etikettendruckers Tamblor LM-360R über USB.</translation>
    </message>
    <message id="AboutLicence">
        <source>Free software under the MIT licence.</source>
        <extracomment>About panel.</extracomment>
        <translation>Freie Software unter der MIT-Lizenz.</translation>
    </message>
    <message id="ReadButtonName">
        <source>Read %1</source>
        <extracomment>Screen-reader name of a box's Read button; %1 is the setting.</extracomment>
        <translation>%1 auslesen</translation>
    </message>
    <message id="ApplyButtonName">
        <source>Apply %1</source>
        <extracomment>Screen-reader name of a box's Apply button; %1 is the setting.</extracomment>
        <translation>%1 übernehmen</translation>
    </message>
    <message id="SaveButtonName">
        <source>Save %1 settings as a command file</source>
        <extracomment>Screen-reader name of a tab's save button; %1 is the tab's name.</extracomment>
        <translation>%1-Einstellungen als Befehlsdatei speichern</translation>
    </message>
    <message id="FileMenuTitle">
        <source>&amp;File</source>
        <extracomment>Menu with Save and Quit.</extracomment>
        <translation>Da&amp;tei</translation>
    </message>
    <message id="HelpMenuTitle">
        <source>&amp;Help</source>
        <extracomment>Menu with About.</extracomment>
        <translation>&amp;Hilfe</translation>
    </message>
    <message id="OpenCommandFileMenu">
        <source>&amp;Open Command File…</source>
        <extracomment>The File menu's item that opens a saved command file in the window.</extracomment>
        <translation>Befehlsdatei ö&amp;ffnen …</translation>
    </message>
    <message id="ApplyFileDifferences">
        <source>Apply &amp;What Differs</source>
        <extracomment>Button on a tab after a command file was opened: writes the file's values that differ from the printer's.</extracomment>
        <translation>&amp;Abweichendes anwenden</translation>
    </message>
    <message id="ApplyFileDifferencesName">
        <source>%1: apply what differs from the command file</source>
        <extracomment>Screen-reader name of a tab's button that applies an opened command file; %1 is the tab's name.</extracomment>
        <translation>%1: von der Befehlsdatei Abweichendes anwenden</translation>
    </message>
    <message id="FileSetsValue">
        <source>The command file sets %1</source>
        <extracomment>Shown on a current-value field whose printer value differs from the opened command file's; %1 is the file's value.</extracomment>
        <translation>Die Befehlsdatei setzt %1</translation>
    </message>
    <message id="CommandFileNotOpened">
        <source>%1 cannot be opened as a command file</source>
        <extracomment>Alert when a file to open is not a good command file; %1 is the file.</extracomment>
        <translation>%1 lässt sich nicht als Befehlsdatei öffnen</translation>
    </message>
    <message id="CommandFileFault">
        <source>At byte %1: %2</source>
        <extracomment>Why a file is not a good command file; %1 is where, %2 what is wrong (in English).</extracomment>
        <translation>Bei Byte %1: %2</translation>
    </message>
    <message id="CommandFileNotRead">
        <source>%1 could not be read: %2</source>
        <extracomment>%1 the file, %2 the system's reason.</extracomment>
        <translation>%1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message id="CommandFileTooLarge">
        <source>It is larger than any command file.</source>
        <extracomment>Why a file to open is not a command file.</extracomment>
        <translation>Sie ist größer als jede Befehlsdatei.</translation>
    </message>
    <message id="CommandFileWithoutSettings">
        <source>It carries no setting.</source>
        <extracomment>Why a good command file cannot be opened: nothing to show.</extracomment>
        <translation>Sie enthält keine Einstellung.</translation>
    </message>
</context>
</TS>

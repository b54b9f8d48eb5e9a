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
</context>
</TS>

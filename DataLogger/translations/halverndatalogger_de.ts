<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>HvGui::DialogLanguage</name>
    <message>
        <source>Please choose a language</source>
        <translation>Bitte wählen Sie eine Sprache</translation>
    </message>
</context>
<context>
    <name>HvGui::MainWindow</name>
    <message>
        <source>Please select a port and connect your device</source>
        <translation>Bitte wählen Sie einen Anschluss und schließen Sie Ihr Gerät an</translation>
    </message>
    <message>
        <source>Halvern DataLogger</source>
        <translation>Halvern DataLogger</translation>
    </message>
    <message>
        <source>Device Connection</source>
        <translation>Geräteverbindung</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Downloaded Output</source>
        <translation>Heruntergeladene Daten</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Quits the application</source>
        <translation>Beendet das Programm</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Extras</translation>
    </message>
    <message>
        <source>Refresh Ports</source>
        <translation>Anschlüsse aktualisieren</translation>
    </message>
    <message>
        <source>Refreshes the list of COM ports</source>
        <translation>Aktualisiert die Liste der seriellen Anschlüsse</translation>
    </message>
    <message>
        <source>Change Language...</source>
        <translation>Sprache ändern...</translation>
    </message>
    <message>
        <source>Change the language used in this application</source>
        <translation>Ändert die Sprache dieses Programms</translation>
    </message>
    <message>
        <source>Country Settings</source>
        <translation>Ländereinstellungen</translation>
    </message>
    <message>
        <source>Convert CSV Data</source>
        <translation>CSV-Daten umwandeln</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Shows documentation</source>
        <translation>Zeigt die Dokumentation</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Shows version information about this program</source>
        <translation>Zeigt Versionsinformationen zu diesem Programm</translation>
    </message>
    <message>
        <source>Now initiate the download on the tester</source>
        <translation>Starten Sie jetzt die Übertragung am Tester</translation>
    </message>
    <message>
        <source>Failed to connect. Please check the device is connected and switched on</source>
        <translation>Verbindung fehlgeschlagen. Bitte prüfen Sie, ob das Gerät angeschlossen und eingeschaltet ist</translation>
    </message>
    <message>
        <source>You may not use the port %1: your user account is not allowed to open serial ports.

Add it to the dialout group (for example with &quot;sudo usermod -aG dialout $USER&quot;), then log out and in again.</source>
        <translation>Sie dürfen die Schnittstelle %1 nicht verwenden: Ihr Benutzerkonto darf keine seriellen Schnittstellen öffnen.

Fügen Sie es der Gruppe dialout hinzu (zum Beispiel mit &quot;sudo usermod -aG dialout $USER&quot;) und melden Sie sich danach ab und wieder an.</translation>
    </message>
    <message>
        <source>The port %1 is in use by another program. Close that program, or choose another port.</source>
        <translation>Die Schnittstelle %1 wird von einem anderen Programm verwendet. Schließen Sie dieses Programm oder wählen Sie eine andere Schnittstelle.</translation>
    </message>
    <message>
        <source>The download was stopped at %1 because the instrument sent more. Only the first %1 were kept; the rest was dropped.</source>
        <translation>Die Übertragung wurde bei %1 angehalten, weil das Gerät mehr gesendet hat. Nur die ersten %1 wurden behalten; der Rest wurde verworfen.</translation>
    </message>
    <message>
        <source>The connection to the device was lost.</source>
        <translation>Die Verbindung zum Gerät wurde unterbrochen.</translation>
    </message>
    <message>
        <source>The data received so far is kept.</source>
        <translation>Die bisher empfangenen Daten bleiben erhalten.</translation>
    </message>
    <message>
        <source>This download is too long to show whole: %1 were received. Only its last part is shown here; all of it is kept for saving.</source>
        <translation>Diese Übertragung ist zu lang, um sie ganz anzuzeigen: %1 wurden empfangen. Hier wird nur ihr letzter Teil gezeigt; zum Speichern bleibt alles erhalten.</translation>
    </message>
    <message>
        <source>Comma Separated Value files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>All files (*.*)</source>
        <translation>Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>Save downloaded data to file</source>
        <translation>Heruntergeladene Daten in Datei speichern</translation>
    </message>
    <message>
        <source>Error opening &quot;%1&quot; for writing. Is it open already or read only?</source>
        <translation>&quot;%1&quot; kann nicht zum Schreiben geöffnet werden. Ist die Datei bereits geöffnet oder schreibgeschützt?</translation>
    </message>
    <message>
        <source>File successfully saved</source>
        <translation>Datei erfolgreich gespeichert</translation>
    </message>
    <message>
        <source>The language will be changed next time Halvern DataLogger is started.</source>
        <translation>Die Sprache wird beim nächsten Start von Halvern DataLogger geändert.</translation>
    </message>
    <message>
        <source>Would you like to restart now?</source>
        <translation>Möchten Sie jetzt neu starten?</translation>
    </message>
    <message>
        <source>About Halvern DataLogger</source>
        <translation>Über Halvern DataLogger</translation>
    </message>
    <message>
        <source>Halvern DataLogger

 %1
</source>
        <translation>Halvern DataLogger

 %1
</translation>
    </message>
</context>
</TS>

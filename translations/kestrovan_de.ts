<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>MainWindow</name>
    <message><source>Kestrovan</source><translation>Kestrovan</translation></message>
    <message><source>File</source><translation>Datei</translation></message>
    <message><source>Edit</source><translation>Bearbeiten</translation></message>
    <message><source>Window</source><translation>Fenster</translation></message>
    <message><source>Help</source><translation>Hilfe</translation></message>
    <message><source>New Inspection Report</source><translation>Neuer Prüfbericht</translation></message>
    <message><source>New PV Array Test Report</source><translation>Neues PV-Generator-Prüfprotokoll</translation></message>
    <message><source>New Verification Certificate</source><translation>Neue Prüfbescheinigung</translation></message>
    <message><source>New Checklist</source><translation>Neue Checkliste</translation></message>
    <message><source>New String Data Report</source><translation>Neuer Strangdatenbericht</translation></message>
    <message><source>New Folder</source><translation>Neuer Ordner</translation></message>
    <message><source>Save</source><translation>Speichern</translation></message>
    <message><source>Delete</source><translation>Löschen</translation></message>
    <message><source>Rename</source><translation>Umbenennen</translation></message>
    <message><source>Open</source><translation>Öffnen</translation></message>
    <message><source>Settings...</source><translation>Einstellungen...</translation></message>
    <message><source>About...</source><translation>Über...</translation></message>
    <message><source>Document Browser</source><translation>Dokumente</translation></message>
    <message><source>Document Search</source><translation>Dokumentsuche</translation></message>
</context>
<context>
    <name>MdiWindow</name>
    <message><source>Cl&amp;ose</source><translation>S&amp;chließen</translation></message>
    <message><source>&amp;Tile</source><translation>&amp;Nebeneinander</translation></message>
    <message><source>&amp;Cascade</source><translation>&amp;Überlappend</translation></message>
    <message><source>&amp;Reset Window Layout</source><translation>Fensteranordnung &amp;zurücksetzen</translation></message>
    <message><source>Ne&amp;xt</source><translation>&amp;Nächstes</translation></message>
    <message><source>Pre&amp;vious</source><translation>&amp;Vorheriges</translation></message>
</context>
<context>
    <name>User prompt</name>
    <message><source>Save changes to %1?</source><translation>Änderungen an %1 speichern?</translation></message>
</context>
<context>
    <name>Error Message</name>
    <message><source>Error opening %1 for reading</source><translation>%1 kann nicht zum Lesen geöffnet werden</translation></message>
    <message><source>Error opening %1 for writing</source><translation>%1 kann nicht zum Schreiben geöffnet werden</translation></message>
    <message><source>Is the file read-only or has it been deleted?</source><translation>Ist die Datei schreibgeschützt oder wurde sie gelöscht?</translation></message>
    <message><source>XML validation error in %1 on line %2, column %3</source><translation>XML-Fehler in %1 in Zeile %2, Spalte %3</translation></message>
    <message><source>Document type declarations are not allowed</source><translation>Dokumenttyp-Deklarationen sind nicht erlaubt</translation></message>
    <message><source>Elements are nested too deeply</source><translation>Elemente sind zu tief verschachtelt</translation></message>
</context>
<context>
    <name>Warning Message</name>
    <message><source>You are creating an Array Test Report from a favourite that was created in an older version of the program. If you use this version then you will not be able to import data into it.</source><translation>Sie erstellen ein PV-Generator-Prüfprotokoll aus einem Favoriten, der mit einer älteren Programmversion erstellt wurde. In diese Fassung können keine Messdaten importiert werden.</translation></message>
    <message><source>Would you like to replace the favourite with the new version of the report?</source><translation>Möchten Sie den Favoriten durch die neue Fassung des Protokolls ersetzen?</translation></message>
</context>
<context>
    <name>Menu option</name>
    <message><source>Add Image</source><translation>Bild hinzufügen</translation></message>
</context>
<context>
    <name>GraphicsTextItem</name>
    <message><source>Cut</source><translation>Ausschneiden</translation></message>
    <message><source>Copy</source><translation>Kopieren</translation></message>
    <message><source>Paste</source><translation>Einfügen</translation></message>
    <message><source>Undo</source><translation>Rückgängig</translation></message>
    <message><source>Redo</source><translation>Wiederholen</translation></message>
</context>
<context>
    <name>ReportText</name>
    <message><source>Font Settings...</source><translation>Schriftart...</translation></message>
</context>
<context>
    <name>ReportScene</name>
    <message><source>Export PDF</source><translation>Als PDF exportieren</translation></message>
    <message><source>PDF Files (*.pdf)</source><translation>PDF-Dateien (*.pdf)</translation></message>
</context>
</TS>

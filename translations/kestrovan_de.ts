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
</TS>

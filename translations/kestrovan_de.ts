<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Column header</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Last Modified</source>
        <translation>Zuletzt geändert</translation>
    </message>
</context>
<context>
    <name>CsvResultsModel</name>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
</context>
<context>
    <name>CurveGraph</name>
    <message>
        <source>Voltage (V)</source>
        <translation>Spannung (V)</translation>
    </message>
    <message>
        <source>Current (A)</source>
        <translation>Strom (A)</translation>
    </message>
</context>
<context>
    <name>CurveReport</name>
    <message>
        <source>The report could not be written to %1.</source>
        <translation>Der Bericht konnte nicht in %1 geschrieben werden.</translation>
    </message>
    <message>
        <source>The report was saved as %1, but no program could be found to show it.</source>
        <translation>Der Bericht wurde als %1 gespeichert, aber es wurde kein Programm gefunden, das ihn anzeigen kann.</translation>
    </message>
</context>
<context>
    <name>DiagramComponent</name>
    <message>
        <source>Delete %1</source>
        <comment>Installation Diagram object removal</comment>
        <translation>%1 löschen</translation>
    </message>
    <message>
        <source>AC Isolator</source>
        <comment>Installation Diagram object name</comment>
        <translation>AC-Freischalter</translation>
    </message>
    <message>
        <source>DC Isolator</source>
        <comment>Installation Diagram object name</comment>
        <translation>DC-Freischalter</translation>
    </message>
    <message>
        <source>Distribution Board</source>
        <comment>Installation Diagram object name</comment>
        <translation>Unterverteilung</translation>
    </message>
    <message>
        <source>Generation Meter</source>
        <comment>Installation Diagram object name</comment>
        <translation>Einspeisezähler</translation>
    </message>
    <message>
        <source>Inverter</source>
        <comment>Installation Diagram object name</comment>
        <translation>Wechselrichter</translation>
    </message>
    <message>
        <source>Label</source>
        <comment>Installation Diagram object name</comment>
        <translation>Beschriftung</translation>
    </message>
    <message>
        <source>PV Panel</source>
        <comment>Installation Diagram object name</comment>
        <translation>PV-Modul</translation>
    </message>
</context>
<context>
    <name>DiagramConnection</name>
    <message>
        <source>Connection</source>
        <comment>Installation Diagram object name</comment>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <comment>Installation Diagram object removal</comment>
        <translation>%1 löschen</translation>
    </message>
</context>
<context>
    <name>DiagramGraphicsScene</name>
    <message>
        <source>Insert notes here</source>
        <translation>Notizen hier eingeben</translation>
    </message>
    <message>
        <source>Add Label</source>
        <translation>Beschriftung hinzufügen</translation>
    </message>
    <message>
        <source>Add Invertor</source>
        <translation>Wechselrichter hinzufügen</translation>
    </message>
    <message>
        <source>Add Generation Meter</source>
        <translation>Einspeisezähler hinzufügen</translation>
    </message>
    <message>
        <source>Add Distribution Board</source>
        <translation>Unterverteilung hinzufügen</translation>
    </message>
    <message>
        <source>Add AC Isolator</source>
        <translation>AC-Freischalter hinzufügen</translation>
    </message>
    <message>
        <source>Add DC Isolator</source>
        <translation>DC-Freischalter hinzufügen</translation>
    </message>
    <message>
        <source>Add PV Panel</source>
        <translation>PV-Modul hinzufügen</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>Als PDF exportieren</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)</source>
        <translation>PDF-Dateien (*.pdf)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>DiagramLabel</name>
    <message>
        <source>Set Label Text</source>
        <comment>Drop down menu option</comment>
        <translation>Beschriftungstext festlegen</translation>
    </message>
    <message>
        <source>Delete Label</source>
        <comment>Drop down menu option</comment>
        <translation>Beschriftung löschen</translation>
    </message>
</context>
<context>
    <name>DialogAbout</name>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
</context>
<context>
    <name>DialogComponentSettings</name>
    <message>
        <source>Component Settings</source>
        <translation>Komponenteneinstellungen</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>Beschriftung</translation>
    </message>
</context>
<context>
    <name>DialogImportResults</name>
    <message>
        <source>Import Results</source>
        <translation>Messergebnisse importieren</translation>
    </message>
    <message>
        <source>The following data is available for import. Ensure a Array Test Report is open and active and click a row in the table below to import the data.</source>
        <translation>Die folgenden Daten können importiert werden. Stellen Sie sicher, dass ein PV-Generator-Prüfprotokoll geöffnet und aktiv ist, und klicken Sie auf eine Zeile in der Tabelle unten, um die Daten zu importieren.</translation>
    </message>
    <message>
        <source>Import row(s)</source>
        <translation>Zeile(n) importieren</translation>
    </message>
</context>
<context>
    <name>DialogSettings</name>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>System default</source>
        <translation>Systemvorgabe</translation>
    </message>
    <message>
        <source>Language of the user interface:</source>
        <translation>Sprache der Benutzeroberfläche:</translation>
    </message>
    <message>
        <source>A new language is used from the next start of Kestrovan.</source>
        <translation>Eine neue Sprache gilt ab dem nächsten Start von Kestrovan.</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>The root directory of all projects:</source>
        <translation>Stammordner aller Projekte:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Projects Directory</source>
        <translation>Projektordner</translation>
    </message>
    <message>
        <source>If a favourite has been saved for a particular report type, then this will be used when creating a new report. Use the buttons below to restore the reports to their defaults.</source>
        <translation>Wurde für eine Berichtsart eine Vorlage als Favorit gespeichert, wird sie beim Anlegen eines neuen Berichts verwendet. Mit den Schaltflächen unten stellen Sie die Standardvorlagen wieder her.</translation>
    </message>
    <message>
        <source>Restore Inspection Report</source>
        <translation>Prüfbericht wiederherstellen</translation>
    </message>
    <message>
        <source>Restore PV Array Test Report</source>
        <translation>PV-Generator-Prüfprotokoll wiederherstellen</translation>
    </message>
    <message>
        <source>Restore Vertification Certificate</source>
        <translation>Prüfbescheinigung wiederherstellen</translation>
    </message>
    <message>
        <source>Restore Checklist</source>
        <translation>Checkliste wiederherstellen</translation>
    </message>
    <message>
        <source>Report Favourites</source>
        <translation>Berichtsfavoriten</translation>
    </message>
    <message>
        <source>File last modified on %1.</source>
        <translation>Datei zuletzt geändert am %1.</translation>
    </message>
    <message>
        <source>The default report has not been modified.</source>
        <translation>Die Standardvorlage wurde nicht verändert.</translation>
    </message>
</context>
<context>
    <name>DialogWelcome</name>
    <message>
        <source>Watch video tutorial now (recommended)</source>
        <translation>Video-Anleitung jetzt ansehen (empfohlen)</translation>
    </message>
    <message>
        <source>Continue using Kestrovan</source>
        <translation>Mit Kestrovan fortfahren</translation>
    </message>
    <message>
        <source>Do not show this message again</source>
        <translation>Diese Meldung nicht mehr anzeigen</translation>
    </message>
    <message>
        <source>Welcome to Kestrovan!</source>
        <translation>Willkommen bei Kestrovan!</translation>
    </message>
    <message>
        <source>Thank you for choosing Kestrovan.</source>
        <translation>Vielen Dank, dass Sie Kestrovan gewählt haben.</translation>
    </message>
    <message>
        <source>Please choose one of the following options:</source>
        <translation>Bitte wählen Sie eine der folgenden Möglichkeiten:</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>%1 [Read-Only]</source>
        <translation>%1 [Schreibgeschützt]</translation>
    </message>
</context>
<context>
    <name>Error Message</name>
    <message>
        <source>%1 is a Kestrovan file whose name has lost its extension.</source>
        <translation>%1 ist eine Kestrovan-Datei, deren Name die Endung verloren hat.</translation>
    </message>
    <message>
        <source>Give it the extension of its kind (%1) to open it.</source>
        <translation>Geben Sie ihr die Endung ihrer Art (%1), um sie zu öffnen.</translation>
    </message>
    <message>
        <source>Error opening %1 for reading</source>
        <translation>%1 kann nicht zum Lesen geöffnet werden</translation>
    </message>
    <message>
        <source>Error opening %1 for writing</source>
        <translation>%1 kann nicht zum Schreiben geöffnet werden</translation>
    </message>
    <message>
        <source>Is the file read-only or has it been deleted?</source>
        <translation>Ist die Datei schreibgeschützt oder wurde sie gelöscht?</translation>
    </message>
    <message>
        <source>XML validation error in %1 on line %2, column %3</source>
        <translation>XML-Fehler in %1 in Zeile %2, Spalte %3</translation>
    </message>
    <message>
        <source>Document type declarations are not allowed</source>
        <translation>Dokumenttyp-Deklarationen sind nicht erlaubt</translation>
    </message>
    <message>
        <source>Elements are nested too deeply</source>
        <translation>Elemente sind zu tief verschachtelt</translation>
    </message>
    <message>
        <source>The projects folder &quot;%1&quot; cannot be found. Connect the drive or network share that holds it, or choose another projects folder in the settings.</source>
        <translation>Der Projektordner „%1“ wurde nicht gefunden. Verbinden Sie das Laufwerk oder die Netzwerkfreigabe, auf der er liegt, oder wählen Sie in den Einstellungen einen anderen Projektordner.</translation>
    </message>
    <message>
        <source>Error creating &quot;%1&quot;</source>
        <translation>Fehler beim Anlegen von „%1“</translation>
    </message>
    <message>
        <source>File is already open in Kestrovan. Close it before attempting to set the name.</source>
        <translation>Die Datei ist in Kestrovan geöffnet. Schließen Sie sie, bevor Sie sie umbenennen.</translation>
    </message>
    <message>
        <source>A file in this folder is open in Kestrovan. Close it before attempting to set the name.</source>
        <translation>Eine Datei in diesem Ordner ist in Kestrovan geöffnet. Schließen Sie sie, bevor Sie den Ordner umbenennen.</translation>
    </message>
    <message>
        <source>The name &quot;%1&quot; cannot be used.</source>
        <translation>Der Name „%1“ kann nicht verwendet werden.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists.</source>
        <translation>„%1“ ist bereits vorhanden.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be renamed.</source>
        <translation>„%1“ konnte nicht umbenannt werden.</translation>
    </message>
    <message>
        <source>File is already open in Kestrovan. Close it before attempting to move it.</source>
        <translation>Die Datei ist in Kestrovan geöffnet. Schließen Sie sie, bevor Sie sie verschieben.</translation>
    </message>
    <message>
        <source>These items could not be copied to &quot;%1&quot;:</source>
        <translation>Diese Elemente konnten nicht nach „%1“ kopiert werden:</translation>
    </message>
    <message>
        <source>These items could not be moved to &quot;%1&quot;:</source>
        <translation>Diese Elemente konnten nicht nach „%1“ verschoben werden:</translation>
    </message>
    <message>
        <source>Could not find the projects root directory: %1</source>
        <translation>Der Stammordner der Projekte wurde nicht gefunden: %1</translation>
    </message>
    <message>
        <source>Please select a new projects root directory.</source>
        <translation>Bitte wählen Sie einen neuen Stammordner für die Projekte.</translation>
    </message>
    <message>
        <source>Could not find:
%1.
Please try installing the program again</source>
        <translation>Nicht gefunden:
%1.
Bitte installieren Sie das Programm erneut</translation>
    </message>
    <message>
        <source>%1%2 failed to start. A file may be missing or corrupted. Please install again.</source>
        <translation>%1%2 konnte nicht gestartet werden. Möglicherweise fehlt eine Datei oder sie ist beschädigt. Bitte installieren Sie das Programm erneut.</translation>
    </message>
    <message>
        <source>Failed to create document</source>
        <translation>Das Dokument konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>There was an problem trying to open %1</source>
        <translation>Beim Öffnen von %1 ist ein Problem aufgetreten</translation>
    </message>
    <message>
        <source>Please make sure a program is associated with this file type.</source>
        <translation>Bitte stellen Sie sicher, dass diesem Dateityp ein Programm zugeordnet ist.</translation>
    </message>
    <message>
        <source>Could not create the template %1.</source>
        <translation>Die Vorlage %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Could not create %1.</source>
        <translation>%1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Please check that the folder exists and that you may write to it.</source>
        <translation>Bitte prüfen Sie, ob der Ordner existiert und Sie darin schreiben dürfen.</translation>
    </message>
    <message>
        <source>The picture is larger than %1 MB.</source>
        <translation>Das Bild ist größer als %1 MB.</translation>
    </message>
    <message>
        <source>The file holds no picture.</source>
        <translation>Die Datei enthält kein Bild.</translation>
    </message>
    <message>
        <source>The drawing cannot be read.</source>
        <translation>Die Zeichnung kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file is not a picture that can be shown.</source>
        <translation>Die Datei ist kein darstellbares Bild.</translation>
    </message>
    <message>
        <source>The picture is %1 × %2 pixels; at most %3 pixels on a side can be shown.</source>
        <translation>Das Bild hat %1 × %2 Pixel; höchstens %3 Pixel je Seite können dargestellt werden.</translation>
    </message>
    <message>
        <source>%1 cannot be added to the report.</source>
        <translation>%1 kann dem Bericht nicht hinzugefügt werden.</translation>
    </message>
    <message>
        <source>Error opening %1 for reading.</source>
        <translation>Fehler beim Öffnen von %1 zum Lesen.</translation>
    </message>
    <message>
        <source>Exception thrown in MainWindow::import(): </source>
        <translation>Ausnahme in MainWindow::import(): </translation>
    </message>
    <message>
        <source>An unknown exception has been thrown by the MainWindow::import() function</source>
        <translation>In der Funktion MainWindow::import() ist eine unbekannte Ausnahme aufgetreten</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is saved as UTF-16 text, which is not a tester&apos;s results file. Save it as UTF-8 or plain text and import it again.</source>
        <translation>„%1“ ist als UTF-16-Text gespeichert und damit keine Ergebnisdatei eines Prüfgeräts. Speichern Sie sie als UTF-8 oder einfachen Text und importieren Sie sie erneut.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is empty: it holds no test results.</source>
        <translation>„%1“ ist leer: Die Datei enthält keine Messergebnisse.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no line of column names: it is not a tester&apos;s results file.</source>
        <translation>„%1“ hat keine Zeile mit Spaltennamen: Die Datei ist keine Ergebnisdatei eines Prüfgeräts.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds only its header lines: there are no test results in it.</source>
        <translation>„%1“ enthält nur Kopfzeilen: Es sind keine Messergebnisse darin.</translation>
    </message>
    <message>
        <source>No test results were found in %1.</source>
        <translation>In %1 wurden keine Messergebnisse gefunden.</translation>
    </message>
    <message>
        <source>Programming error: Invalid row: %1</source>
        <translation>Programmfehler: Ungültige Zeile: %1</translation>
    </message>
    <message>
        <source>The curve file has no room for another curve.</source>
        <translation>Die Kennliniendatei bietet keinen Platz für eine weitere Kennlinie.</translation>
    </message>
    <message>
        <source>IV curve data not found in collection</source>
        <translation>IV-Kennliniendaten wurden in der Sammlung nicht gefunden</translation>
    </message>
    <message>
        <source>File is missing:
 %1</source>
        <translation>Datei fehlt:
 %1</translation>
    </message>
    <message>
        <source>The file is not an IV curve database:
 %1</source>
        <translation>Die Datei ist keine IV-Kennliniendatenbank:
 %1</translation>
    </message>
    <message>
        <source>The file is damaged:
 %1
%2</source>
        <translation>Die Datei ist beschädigt:
 %1
%2</translation>
    </message>
    <message>
        <source>The file holds triggers or views, which IV curve files never have. It was not opened, so that nothing in it can be changed:
 %1</source>
        <translation>Die Datei enthält Trigger oder Sichten, die IV-Kennliniendateien nie enthalten. Sie wurde nicht geöffnet, damit nichts darin verändert werden kann:
 %1</translation>
    </message>
    <message>
        <source>The data could not be written.</source>
        <translation>Die Daten konnten nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Not a MT410 csv file</source>
        <translation>Keine CSV-Datei eines MT410</translation>
    </message>
    <message>
        <source>There was an problem trying to save the image %1</source>
        <translation>Beim Speichern des Bildes %1 ist ein Problem aufgetreten</translation>
    </message>
    <message>
        <source>No data selected</source>
        <translation>Keine Daten ausgewählt</translation>
    </message>
    <message>
        <source>%1 no longer exists.</source>
        <translation>%1 existiert nicht mehr.</translation>
    </message>
    <message>
        <source>It was moved, renamed or deleted after the search found it. Search again to bring the list up to date.</source>
        <translation>Es wurde verschoben, umbenannt oder gelöscht, nachdem die Suche es gefunden hatte. Suchen Sie erneut, um die Liste zu aktualisieren.</translation>
    </message>
    <message>
        <source>Could not write %1</source>
        <translation>%1 konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The file %1 was deleted or moved while it was open, and could not be written again.</source>
        <translation>Die Datei %1 wurde gelöscht oder verschoben, während sie geöffnet war, und konnte nicht erneut geschrieben werden.</translation>
    </message>
    <message>
        <source>The projects folder &quot;%1&quot; cannot be reached.</source>
        <translation>Der Projektordner „%1“ ist nicht erreichbar.</translation>
    </message>
    <message>
        <source>The network share or drive that holds it may be disconnected. Open documents stay open, but they cannot be saved until it is back; the tree shows it again as soon as it is.</source>
        <translation>Die Netzwerkfreigabe oder das Laufwerk, auf dem er liegt, ist möglicherweise getrennt. Geöffnete Dokumente bleiben geöffnet, können aber erst wieder gespeichert werden, wenn er zurück ist; die Baumansicht zeigt ihn dann sofort wieder an.</translation>
    </message>
    <message>
        <source>%1 is not a file.</source>
        <translation>%1 ist keine Datei.</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>Die Datei %1 existiert nicht.</translation>
    </message>
    <message>
        <source>Kestrovan is already running for this user but does not answer.</source>
        <translation>Kestrovan läuft für diesen Benutzer bereits, antwortet aber nicht.</translation>
    </message>
    <message>
        <source>Close the Kestrovan window that is open, or end it if it hangs, and try again.</source>
        <translation>Schließen Sie das geöffnete Kestrovan-Fenster oder beenden Sie es, falls es hängt, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>These files were not opened: %1. Close the Kestrovan window that is open, or end it if it hangs, and try again.</source>
        <translation>Diese Dateien wurden nicht geöffnet: %1. Schließen Sie das geöffnete Kestrovan-Fenster oder beenden Sie es, falls es hängt, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Could not save %1.</source>
        <translation>%1 konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>line %1 is longer than %2 characters</source>
        <translation>Zeile %1 ist länger als %2 Zeichen</translation>
    </message>
    <message>
        <source>line 1 is empty</source>
        <translation>Zeile 1 ist leer</translation>
    </message>
    <message>
        <source>line 2 names no column a tester writes</source>
        <translation>Zeile 2 nennt keine Spalte, die ein Prüfgerät schreibt</translation>
    </message>
    <message>
        <source>there is no curve after line 2</source>
        <translation>nach Zeile 2 folgt keine Kennlinie</translation>
    </message>
    <message>
        <source>%1 is not a tester file: %2.</source>
        <translation>%1 ist keine Datei eines Prüfgeräts: %2.</translation>
    </message>
    <message>
        <source>Nothing was imported.</source>
        <translation>Es wurde nichts importiert.</translation>
    </message>
    <message>
        <source>The drawing is %1 × %2 pixels; at most %3 pixels on a side can be shown.</source>
        <translation>Die Zeichnung ist %1 × %2 Pixel groß; höchstens %3 Pixel je Seite können angezeigt werden.</translation>
    </message>
    <message>
        <source>The drawing declares entities, which pictures of a report may not use.</source>
        <translation>Die Zeichnung deklariert Entitäten, die Bilder eines Berichts nicht verwenden dürfen.</translation>
    </message>
    <message>
        <source>The drawing is nested too deeply to be shown.</source>
        <translation>Die Zeichnung ist zu tief verschachtelt, um angezeigt zu werden.</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>Es ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>The file is larger than %1 MB: it is not a tester&apos;s results file.</source>
        <translation>Die Datei ist größer als %1 MB: Sie ist keine Ergebnisdatei eines Prüfgeräts.</translation>
    </message>
    <message>
        <source>You may not read it.</source>
        <translation>Sie dürfen sie nicht lesen.</translation>
    </message>
</context>
<context>
    <name>Error message informative text</name>
    <message>
        <source>Exception details: %1</source>
        <translation>Einzelheiten zur Ausnahme: %1</translation>
    </message>
</context>
<context>
    <name>File Open Dialog</name>
    <message>
        <source>Select Image</source>
        <translation>Bild auswählen</translation>
    </message>
    <message>
        <source>Images (*.png *.jpg *.jpeg *.bmp *.tif *.tiff *.svg)</source>
        <translation>Bilder (*.png *.jpg *.jpeg *.bmp *.tif *.tiff *.svg)</translation>
    </message>
    <message>
        <source>Import CSV File</source>
        <translation>CSV-Datei importieren</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
</context>
<context>
    <name>File Save Dialog</name>
    <message>
        <source>Save CSV file</source>
        <translation>CSV-Datei speichern</translation>
    </message>
    <message>
        <source>CSV file (*.csv)</source>
        <translation>CSV-Datei (*.csv)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>Images (*.jpeg *.png)</source>
        <translation>Bilder (*.jpeg *.png)</translation>
    </message>
    <message>
        <source>Save PDF file</source>
        <translation>PDF-Datei speichern</translation>
    </message>
    <message>
        <source>PDF file (*.pdf)</source>
        <translation>PDF-Datei (*.pdf)</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>%1 files (*.%2)</source>
        <translation>%1-Dateien (*.%2)</translation>
    </message>
</context>
<context>
    <name>FindInFiles</name>
    <message>
        <source>Find in Files</source>
        <translation>In Dateien suchen</translation>
    </message>
    <message>
        <source>Search by any or all of the criteria below.</source>
        <translation>Suchen Sie nach einem oder mehreren der folgenden Kriterien.</translation>
    </message>
    <message>
        <source>File search</source>
        <translation>Dateisuche</translation>
    </message>
    <message>
        <source>All or part of the file name:</source>
        <translation>Dateiname ganz oder teilweise:</translation>
    </message>
    <message>
        <source>Case sensitive</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Word / Phrase Search</source>
        <translation>Wort- / Ausdruckssuche</translation>
    </message>
    <message>
        <source>A word or phrase in the reports:</source>
        <translation>Ein Wort oder Ausdruck in den Berichten:</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Created Date</source>
        <translation>Erstellungsdatum</translation>
    </message>
    <message>
        <source>Modified Date</source>
        <translation>Änderungsdatum</translation>
    </message>
    <message>
        <source>Accessed Date</source>
        <translation>Datum des letzten Zugriffs</translation>
    </message>
    <message>
        <source>from</source>
        <translation>von</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>File Size</source>
        <translation>Dateigröße</translation>
    </message>
    <message>
        <source>greater than</source>
        <translation>größer als</translation>
    </message>
    <message>
        <source>less than</source>
        <translation>kleiner als</translation>
    </message>
    <message>
        <source> KB</source>
        <translation> KB</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
</context>
<context>
    <name>GraphicalReportDocument</name>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save As Favourite. Next time you create a new report it look like this report.</source>
        <translation>Als Favorit speichern. Neue Berichte dieser Art sehen dann aus wie dieser Bericht.</translation>
    </message>
    <message>
        <source>Download data from tester</source>
        <translation>Daten vom Prüfgerät herunterladen</translation>
    </message>
    <message>
        <source>Import data from file</source>
        <translation>Daten aus Datei importieren</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
</context>
<context>
    <name>GraphicsDocument</name>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
</context>
<context>
    <name>GraphicsTextItem</name>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
</context>
<context>
    <name>IVCurve::ColumnConfigDlg</name>
    <message>
        <source>Configure Columns</source>
        <translation>Spalten festlegen</translation>
    </message>
    <message>
        <source>Show Index Column</source>
        <translation>Spalte Index anzeigen</translation>
    </message>
    <message>
        <source>Show Date Column</source>
        <translation>Spalte Datum anzeigen</translation>
    </message>
    <message>
        <source>Show Irradiance Column</source>
        <translation>Spalte Bestrahlungsstärke anzeigen</translation>
    </message>
    <message>
        <source>Show Cell temperature Column</source>
        <translation>Spalte Zelltemperatur anzeigen</translation>
    </message>
    <message>
        <source>Show Fill Factor Column</source>
        <translation>Spalte Füllfaktor anzeigen</translation>
    </message>
    <message>
        <source>Show Isc Column</source>
        <translation>Spalte Isc anzeigen</translation>
    </message>
    <message>
        <source>Show Voc Column</source>
        <translation>Spalte Voc anzeigen</translation>
    </message>
    <message>
        <source>Show Impp Column</source>
        <translation>Spalte Impp anzeigen</translation>
    </message>
    <message>
        <source>Show Vmpp Column</source>
        <translation>Spalte Vmpp anzeigen</translation>
    </message>
    <message>
        <source>Show Riso Column</source>
        <translation>Spalte Riso anzeigen</translation>
    </message>
    <message>
        <source>Show Viso Column</source>
        <translation>Spalte Viso anzeigen</translation>
    </message>
    <message>
        <source>Show Protective Earth Column</source>
        <translation>Spalte Schutzleiter anzeigen</translation>
    </message>
    <message>
        <source>Show Clamp Current (mpp) Column</source>
        <translation>Spalte Zangenstrom (MPP) anzeigen</translation>
    </message>
    <message>
        <source>Show Colour Column</source>
        <translation>Spalte Farbe anzeigen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>Select None</source>
        <translation>Keine auswählen</translation>
    </message>
    <message>
        <source>Update and Close</source>
        <translation>Übernehmen und schließen</translation>
    </message>
    <message>
        <source>Show Verdict Column</source>
        <translation>Spalte Bewertung anzeigen</translation>
    </message>
</context>
<context>
    <name>IVCurve::CurveDetailsDialog</name>
    <message>
        <source>Curve Details</source>
        <translation>Kennliniendetails</translation>
    </message>
    <message>
        <source>Test Details</source>
        <translation>Messdetails</translation>
    </message>
    <message>
        <source>Module Details</source>
        <translation>Moduldetails</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>Tester Serial No:</source>
        <translation>Seriennummer des Prüfgeräts:</translation>
    </message>
    <message>
        <source>Tester Memory Location:</source>
        <translation>Speicherplatz im Prüfgerät:</translation>
    </message>
    <message>
        <source>Test Date:</source>
        <translation>Prüfdatum:</translation>
    </message>
    <message>
        <source>Irradiance: (W/m&lt;sup&gt;2&lt;/sup&gt;)</source>
        <translation>Bestrahlungsstärke: (W/m&lt;sup&gt;2&lt;/sup&gt;)</translation>
    </message>
    <message>
        <source>Cell Temperature: (°C)</source>
        <translation>Zelltemperatur: (°C)</translation>
    </message>
    <message>
        <source>Ambient Temperature: (°C)</source>
        <translation>Umgebungstemperatur: (°C)</translation>
    </message>
    <message>
        <source>Open Circuit Voltage (V):</source>
        <translation>Leerlaufspannung (V):</translation>
    </message>
    <message>
        <source>Short Circuit Current (A):</source>
        <translation>Kurzschlussstrom (A):</translation>
    </message>
    <message>
        <source>Voltage at mpp (V):</source>
        <translation>Spannung im MPP (V):</translation>
    </message>
    <message>
        <source>Current at mpp (A):</source>
        <translation>Strom im MPP (A):</translation>
    </message>
    <message>
        <source>Fill Factor:</source>
        <translation>Füllfaktor:</translation>
    </message>
    <message>
        <source>Clamp Current at mpp: (A)</source>
        <translation>Zangenstrom im MPP: (A)</translation>
    </message>
    <message>
        <source>Protective Earth R:  (Ω)</source>
        <translation>Schutzleiterwiderstand:  (Ω)</translation>
    </message>
    <message>
        <source>Isolation Voltage (V):</source>
        <translation>Isolationsprüfspannung (V):</translation>
    </message>
    <message>
        <source>Isolation Resistance: (MΩ)</source>
        <translation>Isolationswiderstand: (MΩ)</translation>
    </message>
    <message>
        <source>Choose Module</source>
        <translation>Modul auswählen</translation>
    </message>
    <message>
        <source>Show favourite modules only</source>
        <translation>Nur Favoriten-Module anzeigen</translation>
    </message>
    <message>
        <source>No. in Series:</source>
        <translation>Anzahl in Reihe:</translation>
    </message>
    <message>
        <source>No. in Parallel:</source>
        <translation>Anzahl parallel:</translation>
    </message>
    <message>
        <source>Voc:</source>
        <translation>Voc:</translation>
    </message>
    <message>
        <source>Isc:</source>
        <translation>Isc:</translation>
    </message>
    <message>
        <source>Vmpp:</source>
        <translation>Vmpp:</translation>
    </message>
    <message>
        <source>Impp:</source>
        <translation>Impp:</translation>
    </message>
    <message>
        <source>STC Calculation</source>
        <translation>Umrechnung auf STC</translation>
    </message>
    <message>
        <source>Anderson</source>
        <translation>Anderson</translation>
    </message>
    <message>
        <source>IEC60891 procedure 1</source>
        <translation>IEC 60891 Verfahren 1</translation>
    </message>
    <message>
        <source>Blässer</source>
        <translation>Blässer</translation>
    </message>
    <message>
        <source>Current-Temperature coefficient e.g. 0.003</source>
        <translation>Temperaturkoeffizient des Stroms, z. B. 0.003</translation>
    </message>
    <message>
        <source>Voltage-Temperature coefficient e.g. -0.14</source>
        <translation>Temperaturkoeffizient der Spannung, z. B. -0.14</translation>
    </message>
    <message>
        <source>Anderson&apos;s delta coefficient:
mono-Crystalline 0.085
multi-Crystalline 0.110
Thin-Film 0.063</source>
        <translation>Delta-Koeffizient nach Anderson:
monokristallin 0.085
polykristallin 0.110
Dünnschicht 0.063</translation>
    </message>
    <message>
        <source>%/°C ...</source>
        <translation>%/°C ...</translation>
    </message>
    <message>
        <source>Enter value as a percentage of Isc</source>
        <translation>Wert in Prozent von Isc eingeben</translation>
    </message>
    <message>
        <source>Enter value as a percentage of Voc</source>
        <translation>Wert in Prozent von Voc eingeben</translation>
    </message>
    <message>
        <source>delta:</source>
        <translation>Delta:</translation>
    </message>
    <message>
        <source>Rs: (Ω)</source>
        <translation>Rs: (Ω)</translation>
    </message>
    <message>
        <source>K:</source>
        <translation>K:</translation>
    </message>
    <message>
        <source>a:</source>
        <translation>a:</translation>
    </message>
    <message>
        <source>b:</source>
        <translation>b:</translation>
    </message>
    <message>
        <source>α: (A/°C)</source>
        <translation>α: (A/°C)</translation>
    </message>
    <message>
        <source>β: (V/°C)</source>
        <translation>β: (V/°C)</translation>
    </message>
    <message>
        <source>Voc is missing or zero</source>
        <translation>Voc fehlt oder ist null</translation>
    </message>
    <message>
        <source>Isc is missing or zero</source>
        <translation>Isc fehlt oder ist null</translation>
    </message>
    <message>
        <source>Enter value in percent per centigrade</source>
        <translation>Wert in Prozent pro Grad Celsius eingeben</translation>
    </message>
    <message>
        <source>Changes to the PV string data are automatically saved when OK is pressed.
</source>
        <translation>Änderungen an den Strangdaten werden beim Klick auf OK automatisch gespeichert.
</translation>
    </message>
    <message>
        <source>Do not show this message again</source>
        <translation>Diese Meldung nicht mehr anzeigen</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Kenngrößen</translation>
    </message>
    <message>
        <source>IEC 60891 procedure 2</source>
        <translation>IEC 60891 Verfahren 2</translation>
    </message>
    <message>
        <source>IEC 60891 procedure 4</source>
        <translation>IEC 60891 Verfahren 4</translation>
    </message>
    <message>
        <source>α rel: (%/°C)</source>
        <translation>α rel: (%/°C)</translation>
    </message>
    <message>
        <source>β rel: (%/°C)</source>
        <translation>β rel: (%/°C)</translation>
    </message>
    <message>
        <source>Rs&apos;: (Ω per module)</source>
        <translation>Rs&apos;: (Ω je Modul)</translation>
    </message>
    <message>
        <source>κ&apos;: (Ω/°C per module)</source>
        <translation>κ&apos;: (Ω/°C je Modul)</translation>
    </message>
    <message>
        <source>α: (A/°C per module)</source>
        <translation>α: (A/°C je Modul)</translation>
    </message>
    <message>
        <source>Rs: (Ω per module)</source>
        <translation>Rs: (Ω je Modul)</translation>
    </message>
    <message>
        <source>Cells per module:</source>
        <translation>Zellen je Modul:</translation>
    </message>
    <message>
        <source>ε: (V per cell)</source>
        <translation>ε: (V je Zelle)</translation>
    </message>
    <message>
        <source>Irradiance correction factor of the open-circuit voltage, e.g. 0.06</source>
        <translation>Bestrahlungskorrekturfaktor der Leerlaufspannung, z. B. 0.06</translation>
    </message>
    <message>
        <source>Band-gap voltage per cell: 1.232 for crystalline silicon</source>
        <translation>Bandlückenspannung je Zelle: 1.232 für kristallines Silizium</translation>
    </message>
</context>
<context>
    <name>IVCurve::CurveDocument</name>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Export to Image</source>
        <translation>Als Bild exportieren</translation>
    </message>
    <message>
        <source>Insert Row</source>
        <translation>Zeile einfügen</translation>
    </message>
    <message>
        <source>Delete Row</source>
        <translation>Zeile löschen</translation>
    </message>
    <message>
        <source>Import CSV</source>
        <translation>CSV importieren</translation>
    </message>
    <message>
        <source>IV</source>
        <translation>IV</translation>
    </message>
    <message>
        <source>Show IV Curves</source>
        <translation>IV-Kennlinien anzeigen</translation>
    </message>
    <message>
        <source>PWR</source>
        <translation>LEIST</translation>
    </message>
    <message>
        <source>Show VP Power Curves</source>
        <translation>Leistungskennlinien (P über U) anzeigen</translation>
    </message>
    <message>
        <source>MEAS</source>
        <translation>MESS</translation>
    </message>
    <message>
        <source>Show Measured Curve Data</source>
        <translation>Gemessene Kennlinien anzeigen</translation>
    </message>
    <message>
        <source>STC</source>
        <translation>STC</translation>
    </message>
    <message>
        <source>Show STC-corrected Curves</source>
        <translation>Auf STC umgerechnete Kennlinien anzeigen</translation>
    </message>
    <message>
        <source>NOM</source>
        <translation>NENN</translation>
    </message>
    <message>
        <source>Show Nominal Curve</source>
        <translation>Nennkennlinie anzeigen</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Download data from tester</source>
        <translation>Daten vom Prüfgerät herunterladen</translation>
    </message>
    <message>
        <source>View Details</source>
        <translation>Details anzeigen</translation>
    </message>
    <message>
        <source>View Details from tester</source>
        <translation>Details vom Prüfgerät anzeigen</translation>
    </message>
    <message>
        <source>Manage Module Database</source>
        <translation>Moduldatenbank verwalten</translation>
    </message>
    <message>
        <source>Set PV Module Type</source>
        <translation>PV-Modultyp festlegen</translation>
    </message>
    <message>
        <source>Curve Report</source>
        <translation>Kennlinienbericht</translation>
    </message>
    <message>
        <source>Import from CSV file</source>
        <translation>Aus CSV-Datei importieren</translation>
    </message>
    <message>
        <source>Import Irradiance/Temp data from CSV file</source>
        <translation>Bestrahlungsstärke-/Temperaturdaten aus CSV-Datei importieren</translation>
    </message>
    <message>
        <source>Import from Meteor 410K</source>
        <translation>Aus Meteor 410K importieren</translation>
    </message>
    <message>
        <source>Import Irradiance/Temp data from Meteor 410K</source>
        <translation>Bestrahlungsstärke-/Temperaturdaten aus Meteor 410K importieren</translation>
    </message>
    <message>
        <source>Export MEAS IV Curve Points</source>
        <translation>Punkte der gemessenen IV-Kennlinie exportieren</translation>
    </message>
    <message>
        <source>Export Measured IV Curve Points in CSV format</source>
        <translation>Punkte der gemessenen IV-Kennlinie im CSV-Format exportieren</translation>
    </message>
    <message>
        <source>Export STC IV Curve Points</source>
        <translation>Punkte der STC-IV-Kennlinie exportieren</translation>
    </message>
    <message>
        <source>Export STC IV Curve Points in CSV format</source>
        <translation>Punkte der STC-IV-Kennlinie im CSV-Format exportieren</translation>
    </message>
    <message>
        <source>Export MEAS PWR Curve Points</source>
        <translation>Punkte der gemessenen Leistungskennlinie exportieren</translation>
    </message>
    <message>
        <source>Export Measured Power Curve Points in CSV format</source>
        <translation>Punkte der gemessenen Leistungskennlinie im CSV-Format exportieren</translation>
    </message>
    <message>
        <source>Export STC PWR Curve Points</source>
        <translation>Punkte der STC-Leistungskennlinie exportieren</translation>
    </message>
    <message>
        <source>Export STC Power Curve Points in CSV format</source>
        <translation>Punkte der STC-Leistungskennlinie im CSV-Format exportieren</translation>
    </message>
    <message>
        <source>Set Colour</source>
        <translation>Farbe festlegen</translation>
    </message>
    <message>
        <source>Change the colour of lines on the graph associated with this string</source>
        <translation>Farbe der Linien dieses Strangs im Diagramm ändern</translation>
    </message>
    <message>
        <source>Import Irradiance/Temp data</source>
        <translation>Bestrahlungsstärke-/Temperaturdaten importieren</translation>
    </message>
    <message>
        <source>Export Points</source>
        <translation>Punkte exportieren</translation>
    </message>
    <message>
        <source>Exception thrown: %1</source>
        <translation>Ausnahme aufgetreten: %1</translation>
    </message>
    <message>
        <source> Could not open file:
 %1</source>
        <translation> Datei konnte nicht geöffnet werden:
 %1</translation>
    </message>
    <message>
        <source>Importing %1</source>
        <translation>%1 wird importiert</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Import CSV File</source>
        <translation>CSV-Datei importieren</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Compare Strings</source>
        <translation>Stränge vergleichen</translation>
    </message>
    <message>
        <source>Compare the strings of the selected folders at STC, with their verdicts</source>
        <translation>Die Stränge der ausgewählten Ordner bei STC vergleichen, mit ihrer Bewertung</translation>
    </message>
    <message>
        <source>Verdict Tolerances...</source>
        <translation>Bewertungstoleranzen...</translation>
    </message>
    <message>
        <source>What a string must reach at STC against its modules&apos; data sheet</source>
        <translation>Was ein Strang bei STC gegenüber dem Datenblatt seiner Module erreichen muss</translation>
    </message>
</context>
<context>
    <name>IVCurve::CurveGraph</name>
    <message>
        <source>Voltage (V)</source>
        <translation>Spannung (V)</translation>
    </message>
    <message>
        <source>Current (A)</source>
        <translation>Strom (A)</translation>
    </message>
    <message>
        <source>Power (W)</source>
        <translation>Leistung (W)</translation>
    </message>
    <message>
        <source>IV Curve</source>
        <translation>IV-Kennlinie</translation>
    </message>
    <message>
        <source>Unsupported image type: %1</source>
        <translation>Nicht unterstütztes Bildformat: %1</translation>
    </message>
    <message>
        <source>Not enough memory for an image of %1 × %2 pixels</source>
        <translation>Nicht genug Speicher für ein Bild mit %1 × %2 Pixeln</translation>
    </message>
    <message>
        <source>The file name has no ending: name the image .png or .jpeg</source>
        <translation>Der Dateiname hat keine Endung: Benennen Sie das Bild mit .png oder .jpeg</translation>
    </message>
    <message>
        <source>and %1 more strings</source>
        <translation>und %1 weitere Stränge</translation>
    </message>
</context>
<context>
    <name>IVCurve::CurveModulesChooser</name>
    <message>
        <source>Choose Module</source>
        <translation>Modul auswählen</translation>
    </message>
    <message>
        <source>Show favourite modules only</source>
        <translation>Nur Favoriten-Module anzeigen</translation>
    </message>
    <message>
        <source>Module:</source>
        <translation>Modul:</translation>
    </message>
    <message>
        <source>Number of modules in series:</source>
        <translation>Anzahl Module in Reihe:</translation>
    </message>
    <message>
        <source>Type to search modules</source>
        <translation>Tippen, um Module zu suchen</translation>
    </message>
    <message>
        <source>Search:</source>
        <translation>Suche:</translation>
    </message>
</context>
<context>
    <name>IVCurve::CurveModulesDlg</name>
    <message>
        <source>PV Modules</source>
        <translation>PV-Module</translation>
    </message>
    <message>
        <source>PV Module Database</source>
        <translation>PV-Moduldatenbank</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Deleting a preloaded module.
%1
Do you wish to continue?</source>
        <translation>Ein mitgeliefertes Modul wird gelöscht.
%1
Möchten Sie fortfahren?</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>Importieren...</translation>
    </message>
    <message>
        <source>Add the modules of a published module list (CSV)</source>
        <translation>Die Module einer veröffentlichten Modulliste (CSV) hinzufügen</translation>
    </message>
    <message>
        <source>Import Module List</source>
        <translation>Modulliste importieren</translation>
    </message>
    <message>
        <source>Module lists (*.csv);;All files (*)</source>
        <translation>Modullisten (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The module list was not imported.</source>
        <translation>Die Modulliste wurde nicht importiert.</translation>
    </message>
    <message numerus="yes">
        <source>%n module(s) imported: %1 new, %2 updated.</source>
        <translation>
            <numerusform>%n Modul importiert: %1 neu, %2 aktualisiert.</numerusform>
            <numerusform>%n Module importiert: %1 neu, %2 aktualisiert.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n row(s) with missing or impossible values were skipped.</source>
        <translation>
            <numerusform>%n Zeile mit fehlenden oder unmöglichen Werten wurde übersprungen.</numerusform>
            <numerusform>%n Zeilen mit fehlenden oder unmöglichen Werten wurden übersprungen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>IVCurve::CurveModulesEditDlg</name>
    <message>
        <source>Edit Module</source>
        <translation>Modul bearbeiten</translation>
    </message>
    <message>
        <source>Current at short-circuit</source>
        <translation>Kurzschlussstrom</translation>
    </message>
    <message>
        <source>Voltage at open-circuit</source>
        <translation>Leerlaufspannung</translation>
    </message>
    <message>
        <source>Current at maximum power point</source>
        <translation>Strom im Punkt maximaler Leistung (MPP)</translation>
    </message>
    <message>
        <source>Voltage at maximum power point</source>
        <translation>Spannung im Punkt maximaler Leistung (MPP)</translation>
    </message>
    <message>
        <source>Current-Temperature coefficient e.g. 0.003</source>
        <translation>Temperaturkoeffizient des Stroms, z. B. 0.003</translation>
    </message>
    <message>
        <source>Voltage-Temperature coefficient e.g. -0.14</source>
        <translation>Temperaturkoeffizient der Spannung, z. B. -0.14</translation>
    </message>
    <message>
        <source>Anderson&apos;s delta coefficient:
mono-Crystalline 0.085
multi-Crystalline 0.110
Thin-Film 0.063</source>
        <translation>Delta-Koeffizient nach Anderson:
monokristallin 0.085
polykristallin 0.110
Dünnschicht 0.063</translation>
    </message>
    <message>
        <source>series resistance e.g. 0.3</source>
        <translation>Serienwiderstand, z. B. 0.3</translation>
    </message>
    <message>
        <source>%/°C ...</source>
        <translation>%/°C ...</translation>
    </message>
    <message>
        <source>Enter value as a percentage of Isc</source>
        <translation>Wert in Prozent von Isc eingeben</translation>
    </message>
    <message>
        <source>Enter value as a percentage of Voc</source>
        <translation>Wert in Prozent von Voc eingeben</translation>
    </message>
    <message>
        <source>Favourite</source>
        <translation>Favorit</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Beschreibung:</translation>
    </message>
    <message>
        <source>Isc: (A)</source>
        <translation>Isc: (A)</translation>
    </message>
    <message>
        <source>Voc: (V)</source>
        <translation>Voc: (V)</translation>
    </message>
    <message>
        <source>Impp: (A)</source>
        <translation>Impp: (A)</translation>
    </message>
    <message>
        <source>Vmpp: (V)</source>
        <translation>Vmpp: (V)</translation>
    </message>
    <message>
        <source>α: (A/°C)</source>
        <translation>α: (A/°C)</translation>
    </message>
    <message>
        <source>β: (V/°C)</source>
        <translation>β: (V/°C)</translation>
    </message>
    <message>
        <source>delta:</source>
        <translation>Delta:</translation>
    </message>
    <message>
        <source>Rs: (Ω)</source>
        <translation>Rs: (Ω)</translation>
    </message>
    <message>
        <source>Enter value in percent per centigrade</source>
        <translation>Wert in Prozent pro Grad Celsius eingeben</translation>
    </message>
    <message>
        <source>Isc is missing or zero</source>
        <translation>Isc fehlt oder ist null</translation>
    </message>
    <message>
        <source>Voc is missing or zero</source>
        <translation>Voc fehlt oder ist null</translation>
    </message>
</context>
<context>
    <name>IVCurve::CurveParametersTable</name>
    <message>
        <source>MEAS</source>
        <translation>MESS</translation>
    </message>
    <message>
        <source>STC</source>
        <translation>STC</translation>
    </message>
    <message>
        <source>Isc (A)</source>
        <translation>Isc (A)</translation>
    </message>
    <message>
        <source>Voc (V)</source>
        <translation>Voc (V)</translation>
    </message>
    <message>
        <source>Imp (A)</source>
        <translation>Impp (A)</translation>
    </message>
    <message>
        <source>Vmp (V)</source>
        <translation>Vmpp (V)</translation>
    </message>
    <message>
        <source>Pmp (W)</source>
        <translation>Pmpp (W)</translation>
    </message>
    <message>
        <source>Fill factor</source>
        <translation>Füllfaktor</translation>
    </message>
    <message>
        <source>Rsh (Ω)</source>
        <translation>Rsh (Ω)</translation>
    </message>
    <message>
        <source>Rs (Ω)</source>
        <translation>Rs (Ω)</translation>
    </message>
    <message>
        <source>* estimated: fewer points than the fit needs lie near this value</source>
        <translation>* geschätzt: In der Nähe dieses Werts liegen weniger Punkte, als die Anpassung braucht</translation>
    </message>
</context>
<context>
    <name>IVCurve::CurveReportDlg</name>
    <message>
        <source>Curve Report Options</source>
        <translation>Optionen des Kennlinienberichts</translation>
    </message>
    <message>
        <source>Choose Report Type</source>
        <translation>Berichtsart auswählen</translation>
    </message>
    <message>
        <source>Summary Report</source>
        <translation>Übersichtsbericht</translation>
    </message>
    <message>
        <source>String report</source>
        <translation>Strangbericht</translation>
    </message>
    <message>
        <source>Include all selected strings in a single-page report.</source>
        <translation>Alle ausgewählten Stränge in einem einseitigen Bericht zusammenfassen.</translation>
    </message>
    <message>
        <source>Gives you a single page report for each selected string.</source>
        <translation>Erstellt für jeden ausgewählten Strang einen einseitigen Bericht.</translation>
    </message>
    <message>
        <source>Please enter information about your site below, this information will appear on your report ...</source>
        <translation>Bitte geben Sie unten Angaben zu Ihrer Anlage ein, diese Angaben erscheinen in Ihrem Bericht ...</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>Anlage</translation>
    </message>
    <message>
        <source>Substation</source>
        <translation>Übergabestation</translation>
    </message>
    <message>
        <source>Inverter</source>
        <translation>Wechselrichter</translation>
    </message>
    <message>
        <source>Combiner</source>
        <translation>Generatoranschlusskasten</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>Logo</translation>
    </message>
    <message>
        <source>Tables</source>
        <translation>Tabellen</translation>
    </message>
    <message>
        <source>IV Graph</source>
        <translation>IV-Diagramm</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Beides</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Select Image</source>
        <translation>Bild auswählen</translation>
    </message>
    <message>
        <source>Images (*.png *.jpg *.jpeg *.bmp *.tif *.tiff *.svg)</source>
        <translation>Bilder (*.png *.jpg *.jpeg *.bmp *.tif *.tiff *.svg)</translation>
    </message>
    <message>
        <source>Add a page comparing the strings</source>
        <translation>Eine Seite mit dem Vergleich der Stränge anfügen</translation>
    </message>
</context>
<context>
    <name>IVCurve::CurveReportTable</name>
    <message>
        <source>Pass: %1, Fail: %2, No verdict: %3</source>
        <translation>Bestanden: %1, Nicht bestanden: %2, Ohne Bewertung: %3</translation>
    </message>
    <message>
        <source>String Name</source>
        <translation>Strangname</translation>
    </message>
    <message>
        <source>Irr (W/m²)</source>
        <translation>Einstr. (W/m²)</translation>
    </message>
    <message>
        <source>Tpv (°C)</source>
        <translation>Tpv (°C)</translation>
    </message>
    <message>
        <source>Isc (A)</source>
        <translation>Isc (A)</translation>
    </message>
    <message>
        <source>Voc (V)</source>
        <translation>Voc (V)</translation>
    </message>
    <message>
        <source>Impp (A)</source>
        <translation>Impp (A)</translation>
    </message>
    <message>
        <source>Vmpp (V)</source>
        <translation>Vmpp (V)</translation>
    </message>
    <message>
        <source>Pmpp (W)</source>
        <translation>Pmpp (W)</translation>
    </message>
    <message>
        <source>FF</source>
        <translation>FF</translation>
    </message>
    <message>
        <source>Pmpp vs. median (%)</source>
        <translation>Pmpp ggü. Median (%)</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Bewertung</translation>
    </message>
    <message>
        <source>String Comparison at STC</source>
        <translation>Strangvergleich bei STC</translation>
    </message>
    <message>
        <source>Pass: %1, Fail: %2, No verdict: %3. Outliers (more than three scaled median absolute deviations from their folder&apos;s median): %4.</source>
        <translation>Bestanden: %1, Nicht bestanden: %2, Ohne Bewertung: %3. Ausreißer (mehr als drei skalierte mittlere absolute Abweichungen vom Median ihres Ordners): %4.</translation>
    </message>
</context>
<context>
    <name>IVCurve::CurveTreeModel</name>
    <message>
        <source>Curve %1</source>
        <translation>Kennlinie %1</translation>
    </message>
    <message>
        <source>&lt;New Row&gt;</source>
        <translation>&lt;Neue Zeile&gt;</translation>
    </message>
    <message>
        <source>Invalid checksum. Internal error in test instrument or the CSV data has been modified</source>
        <translation>Ungültige Prüfsumme. Interner Fehler im Prüfgerät oder die CSV-Daten wurden verändert</translation>
    </message>
    <message>
        <source>Checksum ignored. Spreadsheet data modification was detected</source>
        <translation>Prüfsumme ignoriert. Eine Bearbeitung in einer Tabellenkalkulation wurde erkannt</translation>
    </message>
    <message>
        <source>No irradiance value</source>
        <translation>Kein Wert für die Bestrahlungsstärke</translation>
    </message>
    <message>
        <source>No cell temperature value</source>
        <translation>Kein Wert für die Zelltemperatur</translation>
    </message>
    <message>
        <source>Irradiance warning. Greater than 10% variance during test</source>
        <translation>Warnung Bestrahlungsstärke: mehr als 10 % Schwankung während der Messung</translation>
    </message>
</context>
<context>
    <name>IVCurve::ModuleListFile</name>
    <message>
        <source>The file is not a module list: its first line cannot be read.</source>
        <translation>Die Datei ist keine Modulliste: Ihre erste Zeile kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file is not a module list: the column &quot;%1&quot; is missing.</source>
        <translation>Die Datei ist keine Modulliste: Die Spalte „%1“ fehlt.</translation>
    </message>
    <message>
        <source>The file is not a module list: it is empty.</source>
        <translation>Die Datei ist keine Modulliste: Sie ist leer.</translation>
    </message>
    <message>
        <source>Error opening %1 for reading.</source>
        <translation>%1 kann nicht zum Lesen geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>IVCurve::PointsExport</name>
    <message>
        <source>MEAS</source>
        <translation>MESS</translation>
    </message>
    <message>
        <source>PWR</source>
        <translation>LEIST</translation>
    </message>
    <message>
        <source>STC</source>
        <translation>STC</translation>
    </message>
    <message>
        <source>Irradiance</source>
        <translation>Bestrahlungsstärke</translation>
    </message>
    <message>
        <source>Ambient Temp</source>
        <translation>Umgebungstemp.</translation>
    </message>
    <message>
        <source>Cell Temp</source>
        <translation>Zelltemp.</translation>
    </message>
    <message>
        <source>Fill Factor</source>
        <translation>Füllfaktor</translation>
    </message>
</context>
<context>
    <name>IVCurve::StringComparison</name>
    <message>
        <source>String</source>
        <translation>Strang</translation>
    </message>
    <message>
        <source>Irradiance (W/m²)</source>
        <translation>Bestrahlungsstärke (W/m²)</translation>
    </message>
    <message>
        <source>Cell temperature (°C)</source>
        <translation>Zelltemperatur (°C)</translation>
    </message>
    <message>
        <source>Isc (A)</source>
        <translation>Isc (A)</translation>
    </message>
    <message>
        <source>Voc (V)</source>
        <translation>Voc (V)</translation>
    </message>
    <message>
        <source>Imp (A)</source>
        <translation>Impp (A)</translation>
    </message>
    <message>
        <source>Vmp (V)</source>
        <translation>Vmpp (V)</translation>
    </message>
    <message>
        <source>Pmp (W)</source>
        <translation>Pmpp (W)</translation>
    </message>
    <message>
        <source>Fill factor</source>
        <translation>Füllfaktor</translation>
    </message>
    <message>
        <source>Rsh (Ω)</source>
        <translation>Rsh (Ω)</translation>
    </message>
    <message>
        <source>Rs (Ω)</source>
        <translation>Rs (Ω)</translation>
    </message>
    <message>
        <source>Pmp from median (%)</source>
        <translation>Pmpp gegenüber Median (%)</translation>
    </message>
    <message>
        <source>Outlier</source>
        <translation>Ausreißer</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Bewertung</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
</context>
<context>
    <name>IVCurve::StringComparisonDialog</name>
    <message>
        <source>String Comparison</source>
        <translation>Strangvergleich</translation>
    </message>
    <message>
        <source>String</source>
        <translation>Strang</translation>
    </message>
    <message>
        <source>Irradiance (W/m²)</source>
        <translation>Bestrahlungsstärke (W/m²)</translation>
    </message>
    <message>
        <source>Cell temp. (°C)</source>
        <translation>Zelltemp. (°C)</translation>
    </message>
    <message>
        <source>Isc (A)</source>
        <translation>Isc (A)</translation>
    </message>
    <message>
        <source>Voc (V)</source>
        <translation>Voc (V)</translation>
    </message>
    <message>
        <source>Imp (A)</source>
        <translation>Impp (A)</translation>
    </message>
    <message>
        <source>Vmp (V)</source>
        <translation>Vmpp (V)</translation>
    </message>
    <message>
        <source>Pmp (W)</source>
        <translation>Pmpp (W)</translation>
    </message>
    <message>
        <source>FF</source>
        <translation>FF</translation>
    </message>
    <message>
        <source>Rsh (Ω)</source>
        <translation>Rsh (Ω)</translation>
    </message>
    <message>
        <source>Rs (Ω)</source>
        <translation>Rs (Ω)</translation>
    </message>
    <message>
        <source>Pmp vs. median (%)</source>
        <translation>Pmpp ggü. Median (%)</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Bewertung</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>CSV exportieren...</translation>
    </message>
    <message>
        <source>More than three scaled median absolute deviations from its folder&apos;s median</source>
        <translation>Mehr als drei skalierte mittlere absolute Abweichungen vom Median seines Ordners</translation>
    </message>
    <message numerus="yes">
        <source>%n string(s): %1 pass, %2 fail, %3 without verdict; %4 outlier(s).</source>
        <translation>
            <numerusform>%n Strang: %1 bestanden, %2 nicht bestanden, %3 ohne Bewertung; %4 Ausreißer.</numerusform>
            <numerusform>%n Stränge: %1 bestanden, %2 nicht bestanden, %3 ohne Bewertung; %4 Ausreißer.</numerusform>
        </translation>
    </message>
    <message>
        <source> comparison</source>
        <translation> Vergleich</translation>
    </message>
</context>
<context>
    <name>IVCurve::TestDate</name>
    <message>
        <source>time unknown</source>
        <translation>Uhrzeit unbekannt</translation>
    </message>
</context>
<context>
    <name>IVCurve::TesterFileImporter</name>
    <message>
        <source>String %1</source>
        <translation>Strang %1</translation>
    </message>
</context>
<context>
    <name>IVCurve::Verdict</name>
    <message>
        <source>Pass</source>
        <translation>Bestanden</translation>
    </message>
    <message>
        <source>Fail: %1</source>
        <translation>Nicht bestanden: %1</translation>
    </message>
    <message>
        <source>No verdict: no module</source>
        <translation>Keine Bewertung: kein Modul</translation>
    </message>
    <message>
        <source>No verdict: no curve</source>
        <translation>Keine Bewertung: keine Kennlinie</translation>
    </message>
    <message>
        <source>No verdict: no irradiance</source>
        <translation>Keine Bewertung: keine Bestrahlungsstärke</translation>
    </message>
</context>
<context>
    <name>IVCurve::VerdictTolerancesDialog</name>
    <message>
        <source>Verdict Tolerances</source>
        <translation>Bewertungstoleranzen</translation>
    </message>
    <message>
        <source>STC Pmp at most this far below nominal (%):</source>
        <translation>STC-Pmpp höchstens so weit unter Nennwert (%):</translation>
    </message>
    <message>
        <source>STC Voc within ± of nominal (%):</source>
        <translation>STC-Voc innerhalb ± vom Nennwert (%):</translation>
    </message>
    <message>
        <source>STC Isc within ± of nominal (%):</source>
        <translation>STC-Isc innerhalb ± vom Nennwert (%):</translation>
    </message>
</context>
<context>
    <name>Informative Message</name>
    <message>
        <source>No projects directory was set. Defaulting to the public documents directory</source>
        <translation>Es war kein Projektordner festgelegt. Der öffentliche Dokumentenordner wird verwendet</translation>
    </message>
    <message>
        <source>The file is read-only. It is shown as it is, and changes to it cannot be saved:
 %1</source>
        <translation>Die Datei ist schreibgeschützt. Sie wird unverändert angezeigt; Änderungen können nicht gespeichert werden:
 %1</translation>
    </message>
    <message>
        <source>Irradiance and temperature import complete.</source>
        <translation>Import von Bestrahlungsstärke und Temperatur abgeschlossen.</translation>
    </message>
    <message>
        <source>Irradiance and temperature import complete.
 %1</source>
        <translation>Import von Bestrahlungsstärke und Temperatur abgeschlossen.
 %1</translation>
    </message>
    <message>
        <source>No match found for </source>
        <translation>Keine Übereinstimmung gefunden für </translation>
    </message>
    <message>
        <source>A field holds at most %1 characters; the rest was left out.</source>
        <translation>Ein Feld fasst höchstens %1 Zeichen; der Rest wurde weggelassen.</translation>
    </message>
    <message>
        <source>%1 was changed on disk since you opened it, by someone else or by another program.</source>
        <translation>%1 wurde seit dem Öffnen auf dem Datenträger geändert, von jemand anderem oder von einem anderen Programm.</translation>
    </message>
    <message>
        <source>Close it and open it again to see those changes. If you change it here and save it, you will be asked before they are overwritten.</source>
        <translation>Schließen Sie es und öffnen Sie es erneut, um diese Änderungen zu sehen. Wenn Sie es hier ändern und speichern, werden Sie gefragt, bevor sie überschrieben werden.</translation>
    </message>
    <message>
        <source>Some items in %1 had the same id</source>
        <translation>Einige Elemente in %1 hatten dieselbe ID</translation>
    </message>
    <message>
        <source>The later ones were given new ids; cables stay attached to the first item of each id.</source>
        <translation>Die späteren haben neue IDs erhalten; Kabel bleiben mit dem ersten Element jeder ID verbunden.</translation>
    </message>
    <message>
        <source>Irradiance and temperature import cancelled: %1 of %2 strings updated, the others left as they were.</source>
        <translation>Import von Bestrahlungsstärke und Temperatur abgebrochen: %1 von %2 Strängen aktualisiert, die übrigen blieben unverändert.</translation>
    </message>
    <message>
        <source>The import of %1 was cancelled. %2 strings were kept, from the end of the file; the others were not imported.</source>
        <translation>Der Import von %1 wurde abgebrochen. %2 Stränge vom Ende der Datei wurden behalten, die übrigen nicht importiert.</translation>
    </message>
    <message>
        <source>Some imported values did not fit: a field holds at most %1 characters, and the rest was left out.</source>
        <translation type="vanished">Einige importierte Werte passten nicht: Ein Feld fasst höchstens %1 Zeichen, der Rest wurde weggelassen.</translation>
    </message>
</context>
<context>
    <name>InstallationDiagramDocument</name>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Export to PDF</source>
        <translation>Als PDF exportieren</translation>
    </message>
    <message>
        <source>Wire</source>
        <translation>Leitung</translation>
    </message>
    <message>
        <source>Single wire</source>
        <translation>Einzelader</translation>
    </message>
    <message>
        <source>DC cable</source>
        <translation>DC-Kabel</translation>
    </message>
    <message>
        <source>AC cable</source>
        <translation>AC-Kabel</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kestrovan</source>
        <translation>Kestrovan</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>New Inspection Report</source>
        <translation>Neuer Prüfbericht</translation>
    </message>
    <message>
        <source>New PV Array Test Report</source>
        <translation>Neues PV-Generator-Prüfprotokoll</translation>
    </message>
    <message>
        <source>New Verification Certificate</source>
        <translation>Neue Prüfbescheinigung</translation>
    </message>
    <message>
        <source>New Checklist</source>
        <translation>Neue Checkliste</translation>
    </message>
    <message>
        <source>New String Data Report</source>
        <translation>Neuer Strangdatenbericht</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Einstellungen...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Über...</translation>
    </message>
    <message>
        <source>Document Browser</source>
        <translation>Dokumente</translation>
    </message>
    <message>
        <source>Document Search</source>
        <translation>Dokumentsuche</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>New Installation Diagram</source>
        <translation>Neuer Anlagenplan</translation>
    </message>
    <message>
        <source>New Client Handover Pack</source>
        <translation>Neue Übergabemappe für den Kunden</translation>
    </message>
    <message>
        <source>Create a new folder with a checklist in it</source>
        <translation>Neuen Ordner mit einer Checkliste anlegen</translation>
    </message>
    <message>
        <source>Screencast Tutorial...</source>
        <translation>Video-Anleitung...</translation>
    </message>
    <message>
        <source>PDF Instruction Manual</source>
        <translation>Bedienungsanleitung (PDF)</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>Importieren...</translation>
    </message>
    <message>
        <source>Download ...</source>
        <translation>Herunterladen ...</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>%1/New Client Handover Pack</source>
        <translation>%1/Neue Übergabemappe</translation>
    </message>
    <message>
        <source>%1/New Folder</source>
        <translation>%1/Neuer Ordner</translation>
    </message>
    <message>
        <source>Inspection Report</source>
        <translation>Prüfbericht</translation>
    </message>
    <message>
        <source>Array Test Report</source>
        <translation>PV-Generator-Prüfprotokoll</translation>
    </message>
    <message>
        <source>Verification Certificate</source>
        <translation>Prüfbescheinigung</translation>
    </message>
    <message>
        <source>Installation Diagram</source>
        <translation>Anlagenplan</translation>
    </message>
    <message>
        <source>Checklist</source>
        <translation>Checkliste</translation>
    </message>
    <message>
        <source>String Data Report</source>
        <translation>Strangdatenbericht</translation>
    </message>
    <message>
        <source>%1/Search Results</source>
        <translation type="vanished">%1/Suchergebnisse</translation>
    </message>
</context>
<context>
    <name>MdiWindow</name>
    <message>
        <source>Cl&amp;ose</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>&amp;Nebeneinander</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>&amp;Überlappend</translation>
    </message>
    <message>
        <source>&amp;Reset Window Layout</source>
        <translation>Fensteranordnung &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>Ne&amp;xt</source>
        <translation>&amp;Nächstes</translation>
    </message>
    <message>
        <source>Pre&amp;vious</source>
        <translation>&amp;Vorheriges</translation>
    </message>
    <message>
        <source>Close the active window</source>
        <translation>Aktives Fenster schließen</translation>
    </message>
    <message>
        <source>Tile the windows</source>
        <translation>Fenster nebeneinander anordnen</translation>
    </message>
    <message>
        <source>Cascade the windows</source>
        <translation>Fenster überlappend anordnen</translation>
    </message>
    <message>
        <source>Restore the default Window layout</source>
        <translation>Standard-Fensteranordnung wiederherstellen</translation>
    </message>
    <message>
        <source>Move the focus to the next window</source>
        <translation>Zum nächsten Fenster wechseln</translation>
    </message>
    <message>
        <source>Move the focus to the previous window</source>
        <translation>Zum vorherigen Fenster wechseln</translation>
    </message>
    <message>
        <source>&amp;%1 %2</source>
        <translation>&amp;%1 %2</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
</context>
<context>
    <name>Menu option</name>
    <message>
        <source>Add Image</source>
        <translation>Bild hinzufügen</translation>
    </message>
    <message>
        <source>Delete Image</source>
        <translation>Bild löschen</translation>
    </message>
</context>
<context>
    <name>ProjectTreeView</name>
    <message>
        <source>This will copy &quot;%1&quot; to your project area.</source>
        <translation>„%1“ wird in Ihren Projektbereich kopiert.</translation>
    </message>
    <message>
        <source>This will copy %1 files to your project area.</source>
        <translation>%1 Dateien werden in Ihren Projektbereich kopiert.</translation>
    </message>
    <message>
        <source>Do you want to proceed?</source>
        <translation>Möchten Sie fortfahren?</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>This picture cannot be shown</source>
        <translation>Dieses Bild kann nicht angezeigt werden</translation>
    </message>
</context>
<context>
    <name>ReportScene</name>
    <message>
        <source>Export PDF</source>
        <translation>Als PDF exportieren</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)</source>
        <translation>PDF-Dateien (*.pdf)</translation>
    </message>
</context>
<context>
    <name>ReportText</name>
    <message>
        <source>Font Settings...</source>
        <translation>Schriftart...</translation>
    </message>
</context>
<context>
    <name>Search status</name>
    <message>
        <source>Search is complete. There are no results to display.</source>
        <translation>Die Suche ist abgeschlossen. Es gibt keine Ergebnisse anzuzeigen.</translation>
    </message>
</context>
<context>
    <name>SearchResultsDocument</name>
    <message>
        <source>Search Results</source>
        <translation>Suchergebnisse</translation>
    </message>
</context>
<context>
    <name>Tool tip hint</name>
    <message>
        <source>Export to PDF</source>
        <translation>Als PDF exportieren</translation>
    </message>
</context>
<context>
    <name>Tree Control Header</name>
    <message>
        <source>Item Description</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>Tester Index</source>
        <translation>Messindex</translation>
    </message>
    <message>
        <source>Date Tested</source>
        <translation>Prüfdatum</translation>
    </message>
    <message>
        <source>Irr</source>
        <translation>G</translation>
    </message>
    <message>
        <source>Tcell</source>
        <translation>TZelle</translation>
    </message>
    <message>
        <source>FF</source>
        <translation>FF</translation>
    </message>
    <message>
        <source>Isc</source>
        <translation>Isc</translation>
    </message>
    <message>
        <source>Voc</source>
        <translation>Voc</translation>
    </message>
    <message>
        <source>Impp</source>
        <translation>Impp</translation>
    </message>
    <message>
        <source>Vmpp</source>
        <translation>Vmpp</translation>
    </message>
    <message>
        <source>Riso</source>
        <translation>Riso</translation>
    </message>
    <message>
        <source>Viso</source>
        <translation>Viso</translation>
    </message>
    <message>
        <source>Rpe</source>
        <translation>RPE</translation>
    </message>
    <message>
        <source>Iclamp</source>
        <translation>IZange</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Bewertung</translation>
    </message>
</context>
<context>
    <name>Troubleshoot advice</name>
    <message>
        <source>You are attempting to insert data into an older version of the Array Test Report document. 								   Please create a new Array Test Report if you would like to import data into it. 								   You may need to restore the Array Test Document in the favourites settings if the favourite 								   was created using an earlier version of the program.</source>
        <translation>Sie versuchen, Daten in eine ältere Fassung des PV-Generator-Prüfprotokolls einzufügen. Bitte legen Sie ein neues PV-Generator-Prüfprotokoll an, wenn Sie Daten importieren möchten. Eventuell müssen Sie das Prüfprotokoll in den Favoriten-Einstellungen wiederherstellen, falls der Favorit mit einer früheren Programmversion angelegt wurde.</translation>
    </message>
    <message>
        <source>Unable to find where to insert data. Please ensure an Array Test Report has focus before inserting the data.</source>
        <translation>Die Stelle zum Einfügen der Daten wurde nicht gefunden. Bitte stellen Sie sicher, dass ein PV-Generator-Prüfprotokoll aktiv ist, bevor Sie die Daten einfügen.</translation>
    </message>
    <message>
        <source>No more room left in the report table. Please use another Array Test Report.</source>
        <translation>In der Tabelle des Protokolls ist kein Platz mehr. Bitte verwenden Sie ein weiteres PV-Generator-Prüfprotokoll.</translation>
    </message>
</context>
<context>
    <name>Undo command</name>
    <message>
        <source>Import results</source>
        <translation>Messergebnisse importieren</translation>
    </message>
</context>
<context>
    <name>User prompt</name>
    <message>
        <source>Save changes to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
    <message>
        <source>Move &quot;%1&quot; to the trash?</source>
        <translation>„%1“ in den Papierkorb verschieben?</translation>
    </message>
    <message>
        <source>Move these %1 items to the trash?</source>
        <translation>Diese %1 Elemente in den Papierkorb verschieben?</translation>
    </message>
    <message>
        <source>The language will be changed next time the application is started.</source>
        <translation>Die Sprache wird beim nächsten Programmstart umgestellt.</translation>
    </message>
    <message>
        <source>Would you like to restart now?</source>
        <translation>Möchten Sie das Programm jetzt neu starten?</translation>
    </message>
    <message>
        <source>Select Projects Root Directory</source>
        <translation>Stammordner der Projekte auswählen</translation>
    </message>
    <message>
        <source>The path &quot;%1&quot; does not exist. Would you like to create it?</source>
        <translation>Der Pfad „%1“ existiert nicht. Möchten Sie ihn anlegen?</translation>
    </message>
    <message>
        <source>Would you like to import the last file you just downloaded?</source>
        <translation>Möchten Sie die soeben heruntergeladene Datei importieren?</translation>
    </message>
    <message>
        <source>File: %1 was saved %2.</source>
        <translation>Datei: %1 wurde %2 gespeichert.</translation>
    </message>
    <message>
        <source>%1 is open read-only, so your changes cannot be saved to it. Close it and lose the changes?</source>
        <translation>%1 ist schreibgeschützt geöffnet, Ihre Änderungen können daher nicht darin gespeichert werden. Schließen und die Änderungen verwerfen?</translation>
    </message>
    <message>
        <source>%1 is open by %2 on %3 since %4</source>
        <translation>%1 ist seit %4 von %2 auf %3 geöffnet</translation>
    </message>
    <message>
        <source>Open it read-only to look at it, or open it anyway to work on it as well: then whoever saves last overwrites the other&apos;s changes.</source>
        <translation>Öffnen Sie es schreibgeschützt, um es anzusehen, oder öffnen Sie es trotzdem, um ebenfalls daran zu arbeiten: Dann überschreibt, wer zuletzt speichert, die Änderungen des anderen.</translation>
    </message>
    <message>
        <source>Open Read-Only</source>
        <translation>Schreibgeschützt öffnen</translation>
    </message>
    <message>
        <source>Open Anyway</source>
        <translation>Trotzdem öffnen</translation>
    </message>
    <message>
        <source>Duplicate times detected in the input file, cancel processing?</source>
        <translation>Die Eingabedatei enthält doppelte Zeitpunkte. Verarbeitung abbrechen?</translation>
    </message>
    <message>
        <source>%1 contains irradiance data, replace the data?</source>
        <translation>%1 enthält bereits Daten zur Bestrahlungsstärke. Die Daten ersetzen?</translation>
    </message>
    <message>
        <source>%1 contains temperature data, replace the data?</source>
        <translation>%1 enthält bereits Temperaturdaten. Die Daten ersetzen?</translation>
    </message>
    <message>
        <source>%1 was changed by %2 on %3 at %4 since you opened it.</source>
        <translation>%1 wurde seit dem Öffnen von %2 auf %3 um %4 geändert.</translation>
    </message>
    <message>
        <source>%1 was changed on disk at %2 since you opened it.</source>
        <translation>%1 wurde seit dem Öffnen um %2 auf dem Datenträger geändert.</translation>
    </message>
    <message>
        <source>Overwrite replaces those changes with yours. Save As... keeps that file and saves your version under another name.</source>
        <translation>Überschreiben ersetzt diese Änderungen durch Ihre. Speichern unter... behält diese Datei und speichert Ihre Fassung unter einem anderen Namen.</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>You can open it read-only to look at it. To work on it, wait until it is closed there.</source>
        <translation>Sie können es schreibgeschützt öffnen, um es anzusehen. Um daran zu arbeiten, warten Sie, bis es dort geschlossen ist.</translation>
    </message>
    <message>
        <source>Delete the selected rows? Strings that go with them: %1.</source>
        <translation>Die ausgewählten Zeilen löschen? Stränge, die mit ihnen gelöscht werden: %1.</translation>
    </message>
    <message>
        <source>This cannot be undone. Their curves leave the file when it is saved; closing without saving keeps them.</source>
        <translation>Dies kann nicht rückgängig gemacht werden. Ihre Kennlinien werden beim Speichern aus der Datei entfernt; Schließen ohne Speichern behält sie.</translation>
    </message>
</context>
<context>
    <name>Warning Message</name>
    <message>
        <source>You are creating an Array Test Report from a favourite that was created in an older version of the program. If you use this version then you will not be able to import data into it.</source>
        <translation>Sie erstellen ein PV-Generator-Prüfprotokoll aus einem Favoriten, der mit einer älteren Programmversion erstellt wurde. In diese Fassung können keine Messdaten importiert werden.</translation>
    </message>
    <message>
        <source>Would you like to replace the favourite with the new version of the report?</source>
        <translation>Möchten Sie den Favoriten durch die neue Fassung des Protokolls ersetzen?</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be moved to the trash.</source>
        <translation>„%1“ konnte nicht in den Papierkorb verschoben werden.</translation>
    </message>
    <message>
        <source>Saving this document as a favourite means that every time you create a new document of this type it will look like this document.</source>
        <translation>Wenn Sie dieses Dokument als Favorit speichern, sieht jedes neue Dokument dieser Art künftig so aus wie dieses.</translation>
    </message>
    <message>
        <source>Some values in %1 were longer than %2 characters and have been shortened.</source>
        <translation>Einige Werte in %1 waren länger als %2 Zeichen und wurden gekürzt.</translation>
    </message>
    <message>
        <source>The file itself stays as it is until the report is saved.</source>
        <translation>Die Datei selbst bleibt unverändert, bis der Bericht gespeichert wird.</translation>
    </message>
    <message>
        <source>No strings selected</source>
        <translation>Keine Stränge ausgewählt</translation>
    </message>
    <message>
        <source>No data found in csv file</source>
        <translation>Keine Daten in der CSV-Datei gefunden</translation>
    </message>
    <message>
        <source>Checksum failed on line number %1</source>
        <translation>Prüfsummenfehler in Zeile %1</translation>
    </message>
    <message>
        <source>Continue showing errors during this import</source>
        <translation>Fehler während dieses Imports weiterhin anzeigen</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
    <message>
        <source>%1 cannot be locked while you work on it: a folder named &quot;%2&quot; stands where its lock file belongs.</source>
        <translation>%1 kann nicht gesperrt werden, während Sie daran arbeiten: Ein Ordner namens „%2“ steht dort, wo seine Sperrdatei hingehört.</translation>
    </message>
    <message>
        <source>Others can open and change the document at the same time. Remove or rename that folder to have it locked again.</source>
        <translation>Andere können das Dokument gleichzeitig öffnen und ändern. Entfernen oder benennen Sie diesen Ordner um, damit es wieder gesperrt wird.</translation>
    </message>
</context>
<context>
    <name>Warning message text</name>
    <message>
        <source>Are you sure you want to overwrite the favourite?
(NOTE: You may restore the default document at any time from the settings.)</source>
        <translation>Möchten Sie den Favoriten wirklich überschreiben?
(HINWEIS: Die Standardvorlage können Sie jederzeit in den Einstellungen wiederherstellen.)</translation>
    </message>
</context>
<context>
    <name>Window Title</name>
    <message>
        <source>Import Results - %1</source>
        <translation>Messergebnisse importieren - %1</translation>
    </message>
</context>
<context>
    <name>time since saved</name>
    <message>
        <source>just now</source>
        <translation>gerade eben</translation>
    </message>
    <message>
        <source>1 second ago</source>
        <translation type="vanished">vor 1 Sekunde</translation>
    </message>
    <message numerus="yes">
        <source>%n seconds ago</source>
        <translation type="vanished">
            <numerusform>vor %n Sekunde</numerusform>
            <numerusform>vor %n Sekunden</numerusform>
        </translation>
    </message>
    <message>
        <source>1 minute ago</source>
        <translation type="vanished">vor 1 Minute</translation>
    </message>
    <message numerus="yes">
        <source>%n minutes ago</source>
        <translation type="vanished">
            <numerusform>vor %n Minute</numerusform>
            <numerusform>vor %n Minuten</numerusform>
        </translation>
    </message>
    <message>
        <source>1 day ago</source>
        <translation type="vanished">vor 1 Tag</translation>
    </message>
    <message numerus="yes">
        <source>%n days ago</source>
        <translation type="vanished">
            <numerusform>vor %n Tag</numerusform>
            <numerusform>vor %n Tagen</numerusform>
        </translation>
    </message>
    <message>
        <source>1 hour ago</source>
        <translation type="vanished">vor 1 Stunde</translation>
    </message>
    <message numerus="yes">
        <source>%n hours ago</source>
        <translation type="vanished">
            <numerusform>vor %n Stunde</numerusform>
            <numerusform>vor %n Stunden</numerusform>
        </translation>
    </message>
</context>
</TS>

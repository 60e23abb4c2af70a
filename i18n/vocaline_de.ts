<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Vocaline</source>
        <translation>Über Vocaline</translation>
    </message>
    <message>
        <source>Vocaline Version 1.0</source>
        <translation>Vocaline Version 1.0</translation>
    </message>
    <message>
        <source>Written by its author, 2003</source>
        <translation>Geschrieben von seinem Autor, 2003</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Sound Extractor for HP 618 camera jpg files.</source>
        <translation>Tonextraktor für jpg-Dateien der Kamera HP 618.</translation>
    </message>
    <message>
        <source>The audio section of the HP 618 EXIF jpg file can be extracted to a .wav file. The .wav file name will be the source filename + .wav eg the wav file for pic.jpg will be pic.jpg.wav</source>
        <translation>Der Tonteil der EXIF-jpg-Datei der HP 618 lässt sich in eine .wav-Datei extrahieren. Die .wav-Datei heißt wie die Quelldatei + .wav, z. B. heißt die wav-Datei zu pic.jpg pic.jpg.wav</translation>
    </message>
    <message>
        <source>This program was tested with the HP 618 camera files; it also reads the FlashPix voice memos of other cameras.</source>
        <translation>Mit den Dateien der HP 618 getestet; liest auch FlashPix-Sprachnotizen anderer Kameras.</translation>
    </message>
    <message>
        <source>The search function is based on a folder-search sample program published with a programming magazine article; credit for it goes to that sample&apos;s author and its publisher.</source>
        <translation>Die Suchfunktion beruht auf einem Beispielprogramm zur Ordnersuche aus einem Artikel einer Programmierzeitschrift; der Dank dafür gilt dem Autor des Beispiels und seinem Verlag.</translation>
    </message>
    <message>
        <source>This software is provided as is, without any warranty.</source>
        <translation>Diese Software wird ohne Mängelgewähr und ohne jede Garantie bereitgestellt.</translation>
    </message>
    <message>
        <source>The wav files play through this program itself, which decodes the camera&apos;s IMA ADPCM sound: there is no codec to install. Extract as PCM WAV makes copies that play in any player.</source>
        <translation>Die wav-Dateien spielt dieses Programm selbst ab; es dekodiert den IMA-ADPCM-Ton der Kamera, ein Codec muss nicht installiert werden. „Als PCM-WAV extrahieren“ erzeugt Kopien, die jeder Player abspielt.</translation>
    </message>
    <message>
        <source>This program uses Qt, SDL, libgsf, libexif and OpenSSL&apos;s libcrypto, installed with it. It is in the menu, and file managers offer it as &quot;Find voice memos here&quot; on folders and &quot;Open in Vocaline&quot; on jpg files.</source>
        <translation>Dieses Programm verwendet Qt, SDL, libgsf, libexif und libcrypto von OpenSSL, die mit ihm installiert werden. Es steht im Menü, und Dateimanager bieten es für Ordner als „Hier nach Sprachnotizen suchen“ und für jpg-Dateien als „In Vocaline öffnen“ an.</translation>
    </message>
</context>
<context>
    <name>CActivityPanel</name>
    <message>
        <source>Activity</source>
        <translation>Aktivität</translation>
    </message>
</context>
<context>
    <name>CDataExchange</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
</context>
<context>
    <name>CMainDlg</name>
    <message>
        <source>Please select a item in the Search results list</source>
        <translation>Bitte wählen Sie einen Eintrag in der Liste der Suchergebnisse aus</translation>
    </message>
    <message>
        <source>Could not play the sound</source>
        <translation>Der Ton konnte nicht abgespielt werden</translation>
    </message>
    <message>
        <source>Select a directory...</source>
        <translation>Ordner auswählen ...</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open containing &amp;folder</source>
        <translation>Übergeordneten &amp;Ordner öffnen</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Wiedergeben</translation>
    </message>
    <message>
        <source>S&amp;top playing</source>
        <translation>Wiedergabe &amp;stoppen</translation>
    </message>
    <message>
        <source>&amp;Extract Sound</source>
        <translation>Ton e&amp;xtrahieren</translation>
    </message>
    <message>
        <source>Extract as PCM &amp;WAV</source>
        <translation>&amp;Als PCM-WAV extrahieren</translation>
    </message>
    <message>
        <source>Extract what &amp;survives</source>
        <translation>Erhaltenen &amp;Teil extrahieren</translation>
    </message>
    <message>
        <source>&amp;Copy path</source>
        <translation>&amp;Pfad kopieren</translation>
    </message>
    <message>
        <source>Playing %s</source>
        <translation>Wiedergabe von %s</translation>
    </message>
    <message>
        <source>No sound to play in
%s</source>
        <translation>Kein Ton zum Abspielen in
%s</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>The folder to look in does not exist:
%s</source>
        <translation>Der zu durchsuchende Ordner existiert nicht:
%s</translation>
    </message>
    <message>
        <source>The folder to look in cannot be read:
%s
%s</source>
        <translation>Der zu durchsuchende Ordner kann nicht gelesen werden:
%s
%s</translation>
    </message>
    <message>
        <source>%d items found</source>
        <translation>%d Elemente gefunden</translation>
    </message>
    <message>
        <source>&amp;Look in</source>
        <translation>Suchen &amp;in</translation>
    </message>
    <message>
        <source>The folder to search; ~ is your home folder</source>
        <translation>Der zu durchsuchende Ordner; ~ ist Ihr persönlicher Ordner</translation>
    </message>
    <message>
        <source>&amp;Browse ...</source>
        <translation>&amp;Ordner ...</translation>
    </message>
    <message>
        <source>Pick the folder to search</source>
        <translation>Den zu durchsuchenden Ordner auswählen</translation>
    </message>
    <message>
        <source>&amp;For files named</source>
        <translation>Datei&amp;name</translation>
    </message>
    <message>
        <source>A file-name pattern; * and ? are wildcards</source>
        <translation>Ein Dateinamensmuster; * und ? sind Platzhalter</translation>
    </message>
    <message>
        <source>Con&amp;taining text</source>
        <translation>Enthaltener &amp;Text</translation>
    </message>
    <message>
        <source>Only files whose contents hold this text</source>
        <translation>Nur Dateien, deren Inhalt diesen Text enthält</translation>
    </message>
    <message>
        <source>Search in sub&amp;directories</source>
        <translation>&amp;Unterordner durchsuchen</translation>
    </message>
    <message>
        <source>Chec&amp;k for sound</source>
        <translation>Auf Ton &amp;prüfen</translation>
    </message>
    <message>
        <source>&amp;Only list files with sound</source>
        <translation>Nur Dateien mit Ton &amp;anzeigen</translation>
    </message>
    <message>
        <source>Si&amp;ze between (in KB) ...</source>
        <translation>&amp;Größe zwischen (in KB) ...</translation>
    </message>
    <message>
        <source>Smallest size in KB</source>
        <translation>Kleinste Größe in KB</translation>
    </message>
    <message>
        <source>and</source>
        <translation>und</translation>
    </message>
    <message>
        <source>Largest size in KB</source>
        <translation>Größte Größe in KB</translation>
    </message>
    <message>
        <source>&amp;Replace list</source>
        <translation>Liste &amp;ersetzen</translation>
    </message>
    <message>
        <source>The hits of a search take the place of the list</source>
        <translation>Die Treffer einer Suche ersetzen die Liste</translation>
    </message>
    <message>
        <source>&amp;Add to list</source>
        <translation>Zur Liste &amp;hinzufügen</translation>
    </message>
    <message>
        <source>The hits not listed yet are added</source>
        <translation>Die noch nicht aufgeführten Treffer werden hinzugefügt</translation>
    </message>
    <message>
        <source>Re&amp;move from list</source>
        <translation>Aus Liste ent&amp;fernen</translation>
    </message>
    <message>
        <source>The rows of the hits are taken off the list</source>
        <translation>Die Zeilen der Treffer werden aus der Liste entfernt</translation>
    </message>
    <message>
        <source>Writes the memo of each selected row beside its picture</source>
        <translation>Schreibt die Sprachnotiz jeder ausgewählten Zeile neben ihr Bild</translation>
    </message>
    <message>
        <source>Extract and &amp;play</source>
        <translation>Extrahieren und &amp;wiedergeben</translation>
    </message>
    <message>
        <source>Writes the memo of the first selected row and plays it</source>
        <translation>Schreibt die Sprachnotiz der ersten ausgewählten Zeile und spielt sie ab</translation>
    </message>
    <message>
        <source>Abo&amp;ut</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>What the last extraction did</source>
        <translation>Was die letzte Extraktion getan hat</translation>
    </message>
    <message>
        <source>Search results</source>
        <translation>Suchergebnisse</translation>
    </message>
    <message>
        <source>Enter or a double-click opens a row; the context menu has more</source>
        <translation>Eingabetaste oder Doppelklick öffnet eine Zeile; das Kontextmenü bietet mehr</translation>
    </message>
    <message>
        <source>%d memos written, %d without a memo, %d failed</source>
        <translation>%d Sprachnotizen geschrieben, %d ohne Sprachnotiz, %d fehlgeschlagen</translation>
    </message>
    <message>
        <source>, cancelled</source>
        <translation>, abgebrochen</translation>
    </message>
    <message>
        <source>No program is set up to open
%s</source>
        <translation>Kein Programm ist zum Öffnen eingerichtet für
%s</translation>
    </message>
    <message>
        <source>Export list…</source>
        <translation>Liste exportieren…</translation>
    </message>
    <message>
        <source>Export list</source>
        <translation>Liste exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Could not write the list</source>
        <translation>Die Liste konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Search cancelled, %d items found</source>
        <translation>Suche abgebrochen, %d Elemente gefunden</translation>
    </message>
    <message>
        <source>0 items found, %d files outside the size range</source>
        <translation>0 Elemente gefunden, %d Dateien außerhalb des Größenbereichs</translation>
    </message>
    <message>
        <source>%d items found, %d with sound</source>
        <translation>%d Elemente gefunden, %d mit Ton</translation>
    </message>
    <message>
        <source>no sound device</source>
        <translation>kein Tongerät</translation>
    </message>
    <message>
        <source>Select a folder for the WAV files</source>
        <translation>Ordner für die WAV-Dateien auswählen</translation>
    </message>
    <message>
        <source>The folder %s cannot be written.
Extract to another folder?</source>
        <translation>In den Ordner %s kann nicht geschrieben werden.
In einen anderen Ordner extrahieren?</translation>
    </message>
    <message>
        <source>E&amp;xtract to…</source>
        <translation>Extrahieren na&amp;ch…</translation>
    </message>
    <message>
        <source>Extract to…</source>
        <translation>Extrahieren nach…</translation>
    </message>
    <message>
        <source>Writes the memos of the selected rows to a folder you choose, in the same tree</source>
        <translation>Schreibt die Sprachnotizen der ausgewählten Zeilen in einen Ordner Ihrer Wahl, in derselben Ordnerstruktur</translation>
    </message>
</context>
<context>
    <name>CMemoPanel</name>
    <message>
        <source>Memo</source>
        <translation>Sprachnotiz</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergeben</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
</context>
<context>
    <name>CMemoWords</name>
    <message>
        <source>Voice memo, under a second</source>
        <translation>Sprachnotiz, unter einer Sekunde</translation>
    </message>
    <message>
        <source>Voice memo, 1 second</source>
        <translation>Sprachnotiz, 1 Sekunde</translation>
    </message>
    <message numerus="yes">
        <source>Voice memo, %n seconds</source>
        <translation>
            <numerusform>Sprachnotiz, %n Sekunde</numerusform>
            <numerusform>Sprachnotiz, %n Sekunden</numerusform>
        </translation>
    </message>
    <message>
        <source>mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>stereo</source>
        <translation>Stereo</translation>
    </message>
    <message numerus="yes">
        <source>%n channels</source>
        <translation>
            <numerusform>%n Kanal</numerusform>
            <numerusform>%n Kanäle</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, %2 Hz, %3</source>
        <translation>%1, %2 Hz, %3</translation>
    </message>
</context>
<context>
    <name>CPreviewPane</name>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>No preview</source>
        <translation>Keine Vorschau</translation>
    </message>
    <message>
        <source>No memo</source>
        <translation>Keine Sprachnotiz</translation>
    </message>
    <message>
        <source>Select a picture to see it and hear its memo</source>
        <translation>Wählen Sie ein Bild, um es zu sehen und sein Memo zu hören</translation>
    </message>
</context>
<context>
    <name>CResultsList</name>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>In Folder</source>
        <translation>Im Ordner</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Sound ?</source>
        <translation>Ton ?</translation>
    </message>
    <message>
        <source>beside it: %s</source>
        <translation>daneben: %s</translation>
    </message>
    <message>
        <source>inside the picture</source>
        <translation>im Bild</translation>
    </message>
    <message>
        <source>in the phone&apos;s trailer</source>
        <translation>im Anhang des Telefons am Dateiende</translation>
    </message>
    <message>
        <source>in the FlashPix file</source>
        <translation>in der FlashPix-Datei</translation>
    </message>
    <message>
        <source>Missing</source>
        <translation>Fehlt</translation>
    </message>
    <message>
        <source>?</source>
        <translation>?</translation>
    </message>
    <message>
        <source>The camera recorded %s; it is not beside the picture</source>
        <translation>Die Kamera hat %s aufgenommen; die Datei liegt nicht neben dem Bild</translation>
    </message>
</context>
<context>
    <name>CResultsViews</name>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>Vorschaubilder</translation>
    </message>
</context>
<context>
    <name>CSearchBar</name>
    <message>
        <source>Search options</source>
        <translation>Suchoptionen</translation>
    </message>
</context>
<context>
    <name>CThumbGrid</name>
    <message>
        <source>Thumbnails</source>
        <translation>Vorschaubilder</translation>
    </message>
</context>
<context>
    <name>CWaveform</name>
    <message>
        <source>Waveform</source>
        <translation>Wellenform</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
</context>
<context>
    <name>CWorkStatus</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>%v of %m</source>
        <translation>%v von %m</translation>
    </message>
</context>
<context>
    <name>IExtractReport</name>
    <message>
        <source>Output file: %s Done</source>
        <translation>Ausgabedatei: %s Fertig</translation>
    </message>
    <message>
        <source>Output file: %s Partial</source>
        <translation>Ausgabedatei: %s Unvollständig</translation>
    </message>
    <message>
        <source>Error No items were selected!</source>
        <translation>Fehler: Es wurden keine Einträge ausgewählt!</translation>
    </message>
    <message>
        <source>Error could not open file

%s</source>
        <translation>Fehler: Die Datei konnte nicht geöffnet werden

%s</translation>
    </message>
    <message>
        <source>Error reading first two charactes fromfile</source>
        <translation>Fehler beim Lesen der ersten zwei Zeichen aus der Datei</translation>
    </message>
    <message>
        <source>Error File is not a jpg........................................</source>
        <translation>Fehler: Die Datei ist kein jpg........................................</translation>
    </message>
    <message>
        <source>Error File missing APP1 0xe1ff marker</source>
        <translation>Fehler: Der Datei fehlt die APP1-Markierung 0xe1ff</translation>
    </message>
    <message>
        <source>Error reading four charactes fromfile</source>
        <translation>Fehler beim Lesen von vier Zeichen aus der Datei</translation>
    </message>
    <message>
        <source>Error cant open/create output file
%s</source>
        <translation>Fehler: Die Ausgabedatei kann nicht geöffnet/erstellt werden
%s</translation>
    </message>
    <message>
        <source>Error cant open/create output file</source>
        <translation>Fehler: Die Ausgabedatei kann nicht geöffnet/erstellt werden</translation>
    </message>
    <message>
        <source>Error writing output file
%s</source>
        <translation>Fehler beim Schreiben der Ausgabedatei
%s</translation>
    </message>
    <message>
        <source>Error writing output file</source>
        <translation>Fehler beim Schreiben der Ausgabedatei</translation>
    </message>
    <message>
        <source>Error reading sound data from file
%s</source>
        <translation>Fehler beim Lesen der Tondaten aus der Datei
%s</translation>
    </message>
    <message>
        <source>Error sound data in file is cut short
%s</source>
        <translation>Fehler: Die Tondaten in der Datei sind abgeschnitten
%s</translation>
    </message>
    <message>
        <source>Error sound data cut short, no output file written</source>
        <translation>Fehler: Tondaten abgeschnitten, keine Ausgabedatei geschrieben</translation>
    </message>
    <message>
        <source>Error sound data larger than 256 MB
%s</source>
        <translation>Fehler: Die Tondaten sind größer als 256 MB
%s</translation>
    </message>
    <message>
        <source>Error sound data larger than 256 MB, no output file written</source>
        <translation>Fehler: Tondaten größer als 256 MB, keine Ausgabedatei geschrieben</translation>
    </message>
    <message>
        <source>Sound format not decoded, written as stored</source>
        <translation>Tonformat nicht dekodiert, unverändert geschrieben</translation>
    </message>
    <message>
        <source>No Audio in file....................................................</source>
        <translation>Kein Ton in der Datei....................................................</translation>
    </message>
    <message>
        <source>Error sound too long for a PCM WAV file (over 4 GB)
%s</source>
        <translation>Fehler: Der Ton ist zu lang für eine PCM-WAV-Datei (über 4 GB)
%s</translation>
    </message>
    <message>
        <source>Error sound too long for a PCM WAV file, no output file written</source>
        <translation>Fehler: Ton zu lang für eine PCM-WAV-Datei, keine Ausgabedatei geschrieben</translation>
    </message>
</context>
<context>
    <name>services</name>
    <message>
        <source>Skip All</source>
        <translation>Alle überspringen</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name></name>
    <message>
        <location filename="../../format/TolerantSubtitleReader.cpp" line="+196"/>
        <source>Subtitle %1 has no text: the blank line ends it, and the next subtitle starts after it.</source>
        <translation>Untertitel %1 hat keinen Text: Die Leerzeile beendet ihn, danach beginnt der nächste Untertitel.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Took the line of spaces for the blank line that ends subtitle %1.</source>
        <translation>Die Zeile aus Leerzeichen wurde als die Leerzeile gelesen, die Untertitel %1 beendet.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Skipped 1 extra blank line.</source>
        <translation>1 überzählige Leerzeile übersprungen.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Skipped %1 extra blank lines.</source>
        <translation>%1 überzählige Leerzeilen übersprungen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Skipped 1 blank line at the end.</source>
        <translation>1 Leerzeile am Ende übersprungen.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Skipped %1 blank lines at the end.</source>
        <translation>%1 Leerzeilen am Ende übersprungen.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Left out 1 blank line inside the text of subtitle %1.</source>
        <translation>1 Leerzeile im Text von Untertitel %1 ausgelassen.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Left out %1 blank lines inside the text of subtitle %2.</source>
        <translation>%1 Leerzeilen im Text von Untertitel %2 ausgelassen.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No blank line before this subtitle: started a new one here.</source>
        <translation>Keine Leerzeile vor diesem Untertitel: Hier beginnt ein neuer.</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Skipped 1 blank line at the start.</source>
        <translation>1 Leerzeile am Anfang übersprungen.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Skipped %1 blank lines at the start.</source>
        <translation>%1 Leerzeilen am Anfang übersprungen.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Subtitle %1 has no number.</source>
        <translation>Untertitel %1 hat keine Nummer.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Line %1: “%2” is not the timing line of the subtitle numbered %3.</source>
        <translation>Zeile %1: „%2“ ist nicht die Zeitangabe des Untertitels mit der Nummer %3.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Line %1: the text ends after the subtitle number %2.</source>
        <translation>Zeile %1: Der Text endet nach der Untertitelnummer %2.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Line %1 is not SRT: “%2” is neither a subtitle number nor a timing line.</source>
        <translation>Zeile %1 ist kein SRT: „%2“ ist weder eine Untertitelnummer noch eine Zeitangabe.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Subtitle numbered %1 where %2 was expected: numbered in order.</source>
        <translation>Untertitel mit der Nummer %1, wo %2 erwartet war: der Reihe nach nummeriert.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Read the number “%1” as %2.</source>
        <translation>Die Nummer „%1“ als %2 gelesen.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Read the timing “%1” as %2 --&gt; %3.</source>
        <translation>Die Zeitangabe „%1“ als %2 --&gt; %3 gelesen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Left out “%1” after the end time.</source>
        <translation>„%1“ nach der Endzeit ausgelassen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>A millisecond field of fewer than three digits counts whole milliseconds (“5” is 5 ms), as players read it.</source>
        <translation>Ein Millisekundenfeld mit weniger als drei Ziffern zählt ganze Millisekunden („5“ sind 5 ms), wie Player es lesen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The end %1 of subtitle %2 is before its start %3: set the end to the start.</source>
        <translation>Das Ende %1 von Untertitel %2 liegt vor seinem Anfang %3: Ende auf den Anfang gesetzt.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The text ends after the timing of subtitle %1: it has no text.</source>
        <translation>Der Text endet nach der Zeitangabe von Untertitel %1: Er hat keinen Text.</translation>
    </message>
</context>
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../../app/AboutDialog.cpp" line="+30"/>
        <location line="+13"/>
        <source>client API %1</source>
        <translation>Client-API %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 (client API %2)</source>
        <translation>%1 (Client-API %2)</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>About Cuewright</source>
        <translation>Über Cuewright</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Version %1 (build %2)</source>
        <translation>Version %1 (Build %2)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>An editor for SRT subtitles, timed while the video plays.</source>
        <translation>Ein Editor für SRT-Untertitel, getimt zum laufenden Video.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1:</source>
        <translation>%1:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Runs on:</source>
        <translation>Läuft mit:</translation>
    </message>
</context>
<context>
    <name>AudioWaveformView</name>
    <message>
        <location filename="../../waveform/AudioWaveformView.cpp" line="+86"/>
        <source>Reading audio… %1%</source>
        <translation>Ton wird gelesen … %1 %</translation>
    </message>
</context>
<context>
    <name>CommandLineTool</name>
    <message>
        <location filename="../../app/CommandLineTool.cpp" line="+28"/>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Usage: cuewright --check [--repair] [--from ENCODING] FILE...
       cuewright --convert [--repair] [--from ENCODING] [--to ENCODING] IN OUT
</source>
        <translation>Aufruf: cuewright --check [--repair] [--from KODIERUNG] DATEI...
       cuewright --convert [--repair] [--from KODIERUNG] [--to KODIERUNG] EIN AUS
</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Unknown option &quot;%1&quot;.
</source>
        <translation>Unbekannte Option „%1“.
</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The option &quot;%1&quot; needs an encoding name.
</source>
        <translation>Die Option „%1“ braucht den Namen einer Textkodierung.
</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Unknown text encoding &quot;%1&quot;.
</source>
        <translation>Unbekannte Textkodierung „%1“.
</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>%1: %2 subtitles, %3, %4 repairs
</source>
        <translation>%1: %2 Untertitel, %3, %4 Reparaturen
</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1: %2 subtitles, %3
</source>
        <translation>%1: %2 Untertitel, %3
</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <location filename="../../app/Document.cpp" line="+90"/>
        <source>Movies (%1);;All files (*)</source>
        <translation>Filme (%1);;Alle Dateien (*)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open Video</source>
        <translation>Video öffnen</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Set Start Time</source>
        <translation>Startzeit setzen</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Set End Time</source>
        <translation>Endzeit setzen</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Untitled %1</source>
        <translation>Unbenannt %1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
</context>
<context>
    <name>DocumentController</name>
    <message>
        <location filename="../../app/DocumentController.cpp" line="+79"/>
        <source>A new beginning.</source>
        <translation>Ein neuer Anfang.</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>Reopen with Encoding</source>
        <translation>Mit Kodierung erneut öffnen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Do you want to reopen “%1” as %2? Your current changes will be lost.</source>
        <translation>Möchten Sie „%1“ als %2 erneut öffnen? Ihre aktuellen Änderungen gehen verloren.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Open Subtitles</source>
        <translation>Untertitel öffnen</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Cannot save “%1”</source>
        <translation>„%1“ kann nicht gespeichert werden</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Save as UTF-8</source>
        <translation>Als UTF-8 speichern</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Save Subtitles</source>
        <translation>Untertitel speichern</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Revert to Saved</source>
        <translation>Gespeicherte Version wiederherstellen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Do you want to revert “%1” to the last saved version? Your current changes will be lost.</source>
        <translation>Möchten Sie „%1“ auf die zuletzt gespeicherte Version zurücksetzen? Ihre aktuellen Änderungen gehen dabei verloren.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Save Changes</source>
        <translation>Änderungen speichern</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Do you want to save the changes you made to “%1”?</source>
        <translation>Möchten Sie Ihre Änderungen an „%1“ speichern?</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Your changes will be lost if you don’t save them.</source>
        <translation>Ihre Änderungen gehen verloren, wenn Sie sie nicht speichern.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Don’t Save</source>
        <translation>Nicht speichern</translation>
    </message>
    <message>
        <location line="+83"/>
        <source>an untitled document</source>
        <translation>ein unbenanntes Dokument</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>• %1, last changed %2</source>
        <translation>• %1, zuletzt geändert %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Recover Unsaved Work</source>
        <translation>Ungesicherte Arbeit wiederherstellen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cuewright quit unexpectedly while you had unsaved changes. Do you want to recover them?</source>
        <translation>Cuewright wurde unerwartet beendet, während es ungesicherte Änderungen gab. Möchten Sie sie wiederherstellen?</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Recover</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Cannot recover</source>
        <translation>Wiederherstellen nicht möglich</translation>
    </message>
</context>
<context>
    <name>DocumentFormatLabel</name>
    <message>
        <location filename="../../app/DocumentFormatLabel.cpp" line="+18"/>
        <source>%1 · %2</source>
        <translation>%1 · %2</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>CR LF</source>
        <translation>CR LF</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>LF</source>
        <translation>LF</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 · with byte-order mark</source>
        <translation>%1 · mit Byte-Order-Mark</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The encoding the file was read or saved in</source>
        <translation>Die Kodierung, in der die Datei gelesen oder gespeichert wurde</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The encoding the document will be saved in</source>
        <translation>Die Kodierung, in der das Dokument gespeichert wird</translation>
    </message>
</context>
<context>
    <name>DocumentWindow</name>
    <message>
        <location filename="../../app/DocumentWindow.cpp" line="+108"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Open…</source>
        <translation>Ö&amp;ffnen …</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Open &amp;Video…</source>
        <translation>&amp;Video öffnen …</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Close</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save &amp;As…</source>
        <translation>Speichern &amp;unter …</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rever&amp;t to Saved</source>
        <translation>Zurück zur gespeicher&amp;ten Version</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Clear Menu</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+66"/>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <location line="-65"/>
        <location line="+66"/>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <location line="-63"/>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Select &amp;All</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Add Subtitle</source>
        <translation>Untertitel hinzufügen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Duplicate Subtitle</source>
        <translation>Untertitel duplizieren</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Split Subtitle</source>
        <translation>Untertitel teilen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Import Subtitles…</source>
        <translation>Untertitel &amp;importieren …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Go to Subtitle…</source>
        <translation>&amp;Gehe zu Untertitel …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Edit Displayed Subtitle</source>
        <translation>Angezeigten Untertitel bearbeiten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Set Start Time from Video</source>
        <translation>Startzeit vom Video übernehmen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Set End Time from Video</source>
        <translation>Endzeit vom Video übernehmen</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom &amp;In</source>
        <translation>&amp;Vergrößern</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom to &amp;Fit</source>
        <translation>&amp;Alles zeigen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Playback</source>
        <translation>&amp;Wiedergabe</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Play/Pause</source>
        <translation>&amp;Wiedergabe/Pause</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Play &amp;Backward</source>
        <translation>&amp;Rückwärts abspielen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Stop</source>
        <translation>&amp;Stopp</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Play &amp;Forward</source>
        <translation>&amp;Vorwärts abspielen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Next Frame</source>
        <translation>&amp;Nächstes Bild</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Previous F&amp;rame</source>
        <translation>Vorheriges B&amp;ild</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1[*] — Cuewright</source>
        <translation>%1[*] — Cuewright</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
</context>
<context>
    <name>EncodingView</name>
    <message>
        <location filename="../../app/EncodingView.cpp" line="+15"/>
        <source>Text encoding:</source>
        <translation>Textkodierung:</translation>
    </message>
</context>
<context>
    <name>EncodingsPopupButton</name>
    <message>
        <location filename="../../app/EncodingsPopupButton.cpp" line="+8"/>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
</context>
<context>
    <name>FileFormatChooser</name>
    <message>
        <location filename="../../app/FileFormatChooser.cpp" line="+15"/>
        <source>Byte-order mark</source>
        <translation>Byte-Order-Mark</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>LF (Linux, macOS)</source>
        <translation>LF (Linux, macOS)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CR LF (Windows)</source>
        <translation>CR LF (Windows)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Line endings:</source>
        <translation>Zeilenenden:</translation>
    </message>
</context>
<context>
    <name>GoToSubtitleViewController</name>
    <message>
        <location filename="../../panels/GoToSubtitleViewController.cpp" line="+102"/>
        <source>Subtitle number</source>
        <translation>Untertitelnummer</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Go to subtitle number</source>
        <translation>Gehe zu Untertitel Nummer</translation>
    </message>
</context>
<context>
    <name>HelpMenu</name>
    <message>
        <location filename="../../app/HelpMenu.cpp" line="+13"/>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Tastenkürzel</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;About Cuewright</source>
        <translation>Ü&amp;ber Cuewright</translation>
    </message>
</context>
<context>
    <name>ImportSubtitlesViewController</name>
    <message>
        <location filename="../../panels/ImportSubtitlesViewController.cpp" line="+18"/>
        <location line="+38"/>
        <source>Import Subtitles</source>
        <translation>Untertitel importieren</translation>
    </message>
    <message>
        <location line="-37"/>
        <source>Paste or type the text. Each paragraph, separated from the next by an empty line, becomes a subtitle of two seconds.</source>
        <translation>Fügen Sie den Text ein oder tippen Sie ihn. Jeder Absatz, vom nächsten durch eine Leerzeile getrennt, wird ein Untertitel von zwei Sekunden.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Text to import</source>
        <translation>Zu importierender Text</translation>
    </message>
</context>
<context>
    <name>MpvPlayer</name>
    <message>
        <location filename="../../player/MpvPlayer.cpp" line="+40"/>
        <location line="+30"/>
        <source>The video player could not be started.</source>
        <translation>Der Videoplayer konnte nicht gestartet werden.</translation>
    </message>
</context>
<context>
    <name>ParseError</name>
    <message>
        <location filename="../../format/ParseError.cpp" line="+14"/>
        <source>Error at line %1.
%2</source>
        <translation>Fehler in Zeile %1.
%2</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Invalid index.</source>
        <translation>Ungültige Nummer.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Invalid timestamp.</source>
        <translation>Ungültiger Zeitstempel.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Unexpected end of file.</source>
        <translation>Unerwartetes Dateiende.</translation>
    </message>
</context>
<context>
    <name>PlaybackControls</name>
    <message>
        <location filename="../../player/PlaybackControls.cpp" line="+27"/>
        <source>Previous frame (Left)</source>
        <translation>Vorheriges Bild (Links)</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+26"/>
        <source>Play (Space)</source>
        <translation>Abspielen (Leertaste)</translation>
    </message>
    <message>
        <location line="-25"/>
        <source>Next frame (Right)</source>
        <translation>Nächstes Bild (Rechts)</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Pause (Space)</source>
        <translation>Pause (Leertaste)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>◀ %1×</source>
        <translation>◀ %1×</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1× ▶</source>
        <translation>%1× ▶</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../app/DocumentController.cpp" line="-321"/>
        <source>SubRip subtitles (*.srt);;All files (*)</source>
        <translation>SubRip-Untertitel (*.srt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <location filename="../../app/RecoveryStore.cpp" line="+44"/>
        <source>The folder %1 cannot be created.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
</context>
<context>
    <name>ReopenWithEncodingMenu</name>
    <message>
        <location filename="../../app/ReopenWithEncodingMenu.cpp" line="+8"/>
        <source>Reopen with &amp;Encoding</source>
        <translation>Mit &amp;Kodierung erneut öffnen</translation>
    </message>
</context>
<context>
    <name>RepairOffer</name>
    <message>
        <location filename="../../app/RepairOffer.cpp" line="+16"/>
        <source>Cannot open “%1”</source>
        <translation>„%1“ kann nicht geöffnet werden</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>It cannot be repaired either:
%1</source>
        <translation>Sie lässt sich auch nicht reparieren:
%1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Cuewright can repair the problem and open the file. The file on disk stays as it is until you save.</source>
        <translation>Cuewright kann das Problem reparieren und die Datei öffnen. Die Datei auf dem Datenträger bleibt unverändert, bis Sie speichern.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cuewright can repair %1 problems and open the file. The file on disk stays as it is until you save.</source>
        <translation>Cuewright kann %1 Probleme reparieren und die Datei öffnen. Die Datei auf dem Datenträger bleibt unverändert, bis Sie speichern.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Repair</source>
        <translation>Reparieren</translation>
    </message>
</context>
<context>
    <name>RepairsWindow</name>
    <message>
        <location filename="../../app/RepairsWindow.cpp" line="+15"/>
        <source>Repairs in “%1”</source>
        <translation>Reparaturen in „%1“</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>One problem was repaired. The file on disk is unchanged until you save.</source>
        <translation>Ein Problem wurde repariert. Die Datei auf dem Datenträger bleibt unverändert, bis Sie speichern.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 problems were repaired. The file on disk is unchanged until you save.</source>
        <translation>%1 Probleme wurden repariert. Die Datei auf dem Datenträger bleibt unverändert, bis Sie speichern.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
</context>
<context>
    <name>ShortcutsDialog</name>
    <message>
        <location filename="../../app/ShortcutsDialog.cpp" line="+18"/>
        <source>Keyboard Shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message>
        <location line="+66"/>
        <source>%1 ▸ %2</source>
        <translation>%1 ▸ %2</translation>
    </message>
    <message>
        <location line="+10"/>
        <source> or </source>
        <translation> oder </translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Subtitle list and video</source>
        <translation>Untertitelliste und Video</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Previous frame / next frame</source>
        <translation>Vorheriges / nächstes Bild</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Left / Right</source>
        <translation>Links / Rechts</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Timeline</source>
        <translation>Zeitleiste</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom in or out</source>
        <translation>Vergrößern oder verkleinern</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ctrl+Wheel</source>
        <translation>Strg+Mausrad</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Drag without snapping</source>
        <translation>Ziehen ohne Einrasten</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ctrl+Drag</source>
        <translation>Strg+Ziehen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add a subtitle to the selection</source>
        <translation>Untertitel zur Auswahl hinzufügen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ctrl+Click</source>
        <translation>Strg+Klick</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Select a range of subtitles</source>
        <translation>Einen Bereich von Untertiteln auswählen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Shift+Click</source>
        <translation>Umschalt+Klick</translation>
    </message>
</context>
<context>
    <name>SubtitleFile</name>
    <message>
        <location filename="../../app/SubtitleFile.cpp" line="+16"/>
        <source>The file could not be opened because it is a folder.</source>
        <translation>Die Datei konnte nicht geöffnet werden, weil sie ein Ordner ist.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The file could not be opened because it does not exist.</source>
        <translation>Die Datei konnte nicht geöffnet werden, weil sie nicht existiert.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The file could not be opened because it is not a regular file.</source>
        <translation>Die Datei konnte nicht geöffnet werden, weil sie keine gewöhnliche Datei ist.</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+9"/>
        <source>The file could not be opened because it is larger than %1 MB.</source>
        <translation>Die Datei konnte nicht geöffnet werden, weil sie größer als %1 MB ist.</translation>
    </message>
    <message>
        <location line="-5"/>
        <source>The file could not be opened.
%1</source>
        <translation>Die Datei konnte nicht geöffnet werden.
%1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The file could not be read.
%1</source>
        <translation>Die Datei konnte nicht gelesen werden.
%1</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>The file could not be saved because a folder has that name.</source>
        <translation>Die Datei konnte nicht gespeichert werden, weil ein Ordner diesen Namen hat.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1
It is in subtitle %2.</source>
        <translation>%1
Es steht in Untertitel %2.</translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+2"/>
        <location line="+6"/>
        <location line="+7"/>
        <location line="+3"/>
        <source>The file could not be saved.
%1</source>
        <translation>Die Datei konnte nicht gespeichert werden.
%1</translation>
    </message>
</context>
<context>
    <name>SubtitleTableModel</name>
    <message>
        <location filename="../../list/SubtitleTableModel.cpp" line="+77"/>
        <source>#</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>End</source>
        <translation>Ende</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Text</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>SubtitlesTableViewController</name>
    <message>
        <location filename="../../list/SubtitlesTableViewController.cpp" line="+242"/>
        <source>Edit Start Time</source>
        <translation>Startzeit bearbeiten</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Edit End Time</source>
        <translation>Endzeit bearbeiten</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Edit Text</source>
        <translation>Text bearbeiten</translation>
    </message>
    <message>
        <location line="+114"/>
        <location line="+136"/>
        <source>Add Subtitle</source>
        <translation>Untertitel hinzufügen</translation>
    </message>
    <message>
        <location line="-122"/>
        <location line="+123"/>
        <source>Duplicate Subtitle</source>
        <translation>Untertitel duplizieren</translation>
    </message>
    <message>
        <location line="-113"/>
        <source>Delete Subtitle</source>
        <translation>Untertitel löschen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Delete Subtitles</source>
        <translation>Untertitel löschen</translation>
    </message>
    <message>
        <location line="+44"/>
        <location line="+73"/>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <location line="-53"/>
        <location line="+50"/>
        <source>Split Subtitle</source>
        <translation>Untertitel teilen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>TextEncoding</name>
    <message>
        <location filename="../../app/ReopenWithEncodingMenu.cpp" line="+19"/>
        <location filename="../../app/TextEncoding.cpp" line="+80"/>
        <source>Unicode</source>
        <translation>Unicode</translation>
    </message>
    <message>
        <location filename="../../app/TextEncoding.cpp" line="+2"/>
        <source>Western European</source>
        <translation>Westeuropäisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Central European</source>
        <translation>Mitteleuropäisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>South European</source>
        <translation>Südeuropäisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>North European</source>
        <translation>Nordeuropäisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nordic</source>
        <translation>Nordisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Celtic</source>
        <translation>Keltisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cyrillic</source>
        <translation>Kyrillisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Ukrainian</source>
        <translation>Ukrainisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Greek</source>
        <translation>Griechisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Turkish</source>
        <translation>Türkisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Hebrew</source>
        <translation>Hebräisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Arabic</source>
        <translation>Arabisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Baltic</source>
        <translation>Baltisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Vietnamese</source>
        <translation>Vietnamesisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Thai</source>
        <translation>Thailändisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Japanese</source>
        <translation>Japanisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Chinese Simplified</source>
        <translation>Chinesisch (vereinfacht)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Chinese Traditional</source>
        <translation>Chinesisch (traditionell)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Korean</source>
        <translation>Koreanisch</translation>
    </message>
    <message>
        <location line="+104"/>
        <source>The text is not valid %1: it ends in the middle of a character (byte offset %2).</source>
        <translation>Der Text ist kein gültiges %1: Er endet mitten in einem Zeichen (Byte-Position %2).</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The text is not valid %1: the byte %2 at byte offset %3 is not a character in this encoding.</source>
        <translation>Der Text ist kein gültiges %1: Das Byte %2 an Byte-Position %3 ist kein Zeichen dieser Kodierung.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The text is not valid %1: the bytes %2 at byte offset %3 are not a character in this encoding.</source>
        <translation>Der Text ist kein gültiges %1: Die Bytes %2 an Byte-Position %3 sind kein Zeichen dieser Kodierung.</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>The text cannot be saved in %1.</source>
        <translation>Der Text kann nicht in %1 gespeichert werden.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The character &quot;%1&quot; (%2) cannot be saved in %3.</source>
        <translation>Das Zeichen „%1“ (%2) kann nicht in %3 gespeichert werden.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The character %1 cannot be saved in %2.</source>
        <translation>Das Zeichen %1 kann nicht in %2 gespeichert werden.</translation>
    </message>
    <message>
        <location line="+96"/>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <location line="+91"/>
        <location line="+19"/>
        <source>The text encoding number %1 is not known.</source>
        <translation>Die Textkodierung Nummer %1 ist unbekannt.</translation>
    </message>
    <message>
        <location line="+110"/>
        <source>The text encoding of the file could not be detected.
Choose its encoding in the Open dialog.</source>
        <translation>Die Textkodierung der Datei konnte nicht erkannt werden.
Wählen Sie die Kodierung im Öffnen-Dialog.</translation>
    </message>
</context>
<context>
    <name>TimelineViewController</name>
    <message>
        <location filename="../../timeline/TimelineViewController.cpp" line="+903"/>
        <source>Move Subtitle</source>
        <translation>Untertitel verschieben</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Move Subtitles</source>
        <translation>Untertitel verschieben</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Change Start Time</source>
        <translation>Startzeit ändern</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Change End Time</source>
        <translation>Endzeit ändern</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Move Gap</source>
        <translation>Lücke verschieben</translation>
    </message>
</context>
<context>
    <name>VideoPlayerViewController</name>
    <message>
        <location filename="../../player/VideoPlayerViewController.cpp" line="+84"/>
        <source>No video.
To attach one, choose Open Video… in the File menu, or drop a video file here.</source>
        <translation>Kein Video.
Um eines anzuhängen, wählen Sie „Video öffnen …“ im Menü „Datei“ oder ziehen Sie eine Videodatei hierher.</translation>
    </message>
    <message>
        <location line="+231"/>
        <source>“%1” cannot be played.
%2</source>
        <translation>„%1“ kann nicht abgespielt werden.
%2</translation>
    </message>
</context>
<context>
    <name>WaveformCommand</name>
    <message>
        <location filename="../../waveform/WaveformCommand.cpp" line="+16"/>
        <source>%1: no decodable audio stream</source>
        <translation>%1: keine dekodierbare Tonspur</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: the duration of the audio is unknown</source>
        <translation>%1: die Dauer des Tons ist unbekannt</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>%1: the audio could not be decoded</source>
        <translation>%1: der Ton konnte nicht dekodiert werden</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../../app/main.cpp" line="+40"/>
        <source>usage: cuewright --waveform FILE</source>
        <translation>Aufruf: cuewright --waveform DATEI</translation>
    </message>
</context>
</TS>

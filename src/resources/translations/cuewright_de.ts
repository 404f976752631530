<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../../app/window/AboutDialog.cpp" line="+26"/>
        <location line="+25"/>
        <source>not available</source>
        <translation>nicht verfügbar</translation>
    </message>
    <message>
        <location line="-20"/>
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
        <location line="+24"/>
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
    <name>AssReader</name>
    <message>
        <location filename="../../format/AssReader.cpp" line="+260"/>
        <source>Left out a line that comes before the first section.</source>
        <translation>Eine Zeile vor dem ersten Abschnitt ausgelassen.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A script begins with a section such as [Script Info].</source>
        <translation>Ein Skript beginnt mit einem Abschnitt wie [Script Info].</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>The Format line must name Start and End, and Text last.</source>
        <translation>Die Format-Zeile muss Start und End nennen und Text als letztes Feld.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The Format line names no Start, End or Text last: read the events in the standard order.</source>
        <translation>Der Format-Zeile fehlen Start, End oder Text als letztes Feld: Ereignisse in der Standardreihenfolge gelesen.</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>An event comes before the Format line of [Events].</source>
        <translation>Ein Ereignis steht vor der Format-Zeile von [Events].</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No Format line before the events: read them in the standard order.</source>
        <translation>Keine Format-Zeile vor den Ereignissen: Sie wurden in der Standardreihenfolge gelesen.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The event has %1 fields where the Format line names %2.</source>
        <translation>Das Ereignis hat %1 Felder, die Format-Zeile nennt aber %2.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Left it out; it is kept as it stands.</source>
        <translation>Ausgelassen; es bleibt unverändert erhalten.</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>The start “%1” is not a time h:mm:ss.cc.</source>
        <translation>Die Startzeit „%1“ ist keine Zeit der Form h:mm:ss.cc.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The end “%1” is not a time h:mm:ss.cc.</source>
        <translation>Die Endzeit „%1“ ist keine Zeit der Form h:mm:ss.cc.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Left the event out; it is kept as it stands.</source>
        <translation>Das Ereignis ausgelassen; es bleibt unverändert erhalten.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Read the time “%1” as %2.</source>
        <translation>Die Zeit „%1“ als %2 gelesen.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The event ends at %1, before it starts at %2.</source>
        <translation>Das Ereignis endet bei %1, bevor es bei %2 beginnt.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Set the end to the start.</source>
        <translation>Ende auf den Anfang gesetzt.</translation>
    </message>
    <message>
        <location line="-81"/>
        <source>Took its last field for the text.</source>
        <translation>Sein letztes Feld als Text gelesen.</translation>
    </message>
</context>
<context>
    <name>AudioTrack</name>
    <message>
        <location filename="../../media/AudioTrack.cpp" line="+31"/>
        <source>%1: %2 — %3</source>
        <translation>%1: %2 — %3</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Track %1</source>
        <translation>Spur %1</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>%1 has no sound: there is no audio track %2.</source>
        <translation>%1 hat keinen Ton: Es gibt keine Tonspur %2.</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%1 has no audio track %2: it has %n audio track(s).</source>
        <translation>
            <numerusform>%1 hat keine Tonspur %2: Es hat %n Tonspur.</numerusform>
            <numerusform>%1 hat keine Tonspur %2: Es hat %n Tonspuren.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AudioTrackMenu</name>
    <message>
        <location filename="../../app/window/AudioTrackMenu.cpp" line="+8"/>
        <source>Au&amp;dio Track</source>
        <translation>Tonspur</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>No Video</source>
        <translation>Kein Video</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>No Sound</source>
        <translation>Kein Ton</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Looking for Tracks…</source>
        <translation>Spuren werden gesucht…</translation>
    </message>
</context>
<context>
    <name>AudioWaveformView</name>
    <message>
        <location filename="../../media/WaveformPainter.cpp" line="+23"/>
        <source>Reading audio…</source>
        <translation>Ton wird gelesen …</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Reading audio… %1%</source>
        <translation>Ton wird gelesen … %1 %</translation>
    </message>
</context>
<context>
    <name>Autosaver</name>
    <message>
        <location filename="../../app/lifecycle/Autosaver.cpp" line="+106"/>
        <source>The recovery folder cannot be locked.</source>
        <translation>Der Wiederherstellungsordner kann nicht gesperrt werden.</translation>
    </message>
</context>
<context>
    <name>BracketTimedLines</name>
    <message>
        <location filename="../../format/BracketTimedLines.cpp" line="+48"/>
        <source>Line %1 is not a %2 subtitle: it should begin with its start and end, as in “%3”.</source>
        <translation>Zeile %1 ist kein %2-Untertitel: Sie sollte mit Anfang und Ende beginnen, wie in „%3“.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Left out a line that is not a subtitle.</source>
        <translation>Eine Zeile ausgelassen, die kein Untertitel ist.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Line %1 has a time past the largest the program can hold.</source>
        <translation>Zeile %1 enthält eine Zeit jenseits der größten, die das Programm verarbeiten kann.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Line %1 has no end.</source>
        <translation>Zeile %1 hat keine Endzeit.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The last subtitle has no end: made it two seconds long.</source>
        <translation>Der letzte Untertitel hat keine Endzeit: Dauer auf zwei Sekunden gesetzt.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The subtitle has no end: it lasts until the next one starts.</source>
        <translation>Der Untertitel hat keine Endzeit: Er dauert, bis der nächste beginnt.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Line %1 ends before it starts.</source>
        <translation>Zeile %1 endet, bevor sie beginnt.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The end is before the start: set the end to the start.</source>
        <translation>Das Ende liegt vor dem Anfang: Ende auf den Anfang gesetzt.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <location filename="../../app/commandline/CommandLine.cpp" line="+34"/>
        <source>read as repairing on open does, listing each repair</source>
        <translation>so lesen, wie die Reparatur beim Öffnen liest, und jede Reparatur auflisten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the text encoding of what is read (default: detected)</source>
        <translation>die Textkodierung des Gelesenen (Standard: erkannt)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the text encoding to write (default: the one read)</source>
        <translation>die zu schreibende Textkodierung (Standard: die gelesene)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the frame rate of files that count frames, and of the checks
(default: the video&apos;s, else the format&apos;s or profile&apos;s)</source>
        <translation>die Bildrate von Dateien, die Bilder zählen, und die der Prüfungen
(Standard: die des Videos, sonst die des Formats oder Profils)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the caption channel an SCC file is read from, 1 or 2 (default: 1)</source>
        <translation>der Caption-Kanal, aus dem eine SCC-Datei gelesen wird, 1 oder 2 (Standard: 1)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>one JSON document instead of a line per problem</source>
        <translation>ein JSON-Dokument statt einer Zeile je Problem</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>write NAME.fixed.EXT next to each file with problems and list what
is left (a fixed copy is only ever replaced by another; folders skip them)</source>
        <translation>NAME.fixed.EXT neben jede Datei mit Problemen schreiben und auflisten, was
bleibt (eine korrigierte Kopie wird nur durch eine neue ersetzt; Ordner überspringen sie)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the files&apos; language, for the profile&apos;s limits of that language</source>
        <translation>die Sprache der Dateien, für die Grenzwerte des Profils zu dieser Sprache</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the film the subtitles are timed to: the editor attaches it to the
first file; --qc checks its shot changes too</source>
        <translation>der Film, auf den die Untertitel getimt sind: Der Editor hängt ihn an die
erste Datei an; --qc prüft auch seine Szenenwechsel</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the film&apos;s audio track the sound is read from, counted from 1 as
Playback &gt; Audio Track numbers them (default: 1)</source>
        <translation>die Tonspur des Films, aus der der Ton gelesen wird, ab 1 gezählt wie
in Wiedergabe &gt; Tonspur (Vorgabe: 1)</translation>
    </message>
    <message>
        <location line="+82"/>
        <location line="+168"/>
        <source>Usage: %1
</source>
        <translation>Aufruf: %1
</translation>
    </message>
    <message>
        <location line="-166"/>
        <source>a quality profile&apos;s id or name, or the path of its JSON file</source>
        <translation>ID oder Name eines Qualitätsprofils oder der Pfad seiner JSON-Datei</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Exit status: 0 no problems, 1 problems, 2 wrong arguments or unknown profile,
3 a file could not be read or a fixed copy not written.
</source>
        <translation>Exit-Status: 0 keine Probleme, 1 Probleme, 2 falsche Argumente oder unbekanntes Profil,
3 eine Datei konnte nicht gelesen oder eine korrigierte Kopie nicht geschrieben werden.
</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>The option &quot;%1&quot; needs an encoding name.
</source>
        <translation>Die Option „%1“ braucht den Namen einer Textkodierung.
</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Unknown text encoding &quot;%1&quot;.
</source>
        <translation>Unbekannte Textkodierung „%1“.
</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The option &quot;--fps&quot; needs a frame rate from 1 to 1000, such as 23.976.
</source>
        <translation>Die Option „--fps“ braucht eine Bildrate von 1 bis 1000, etwa 23.976.
</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The caption channel of &quot;--scc-channel&quot; is 1 or 2.
</source>
        <translation>Der Caption-Kanal von „--scc-channel“ ist 1 oder 2.
</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The option &quot;--language&quot; needs a language code, such as ja or pt_BR.
</source>
        <translation>Die Option „--language“ braucht einen Sprachcode, etwa ja oder pt_BR.
</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The option &quot;--video&quot; needs the video file the subtitles are timed to.
</source>
        <translation>Die Option „--video“ braucht die Videodatei, auf die die Untertitel getimt sind.
</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The option &quot;--audio-track&quot; needs a track number from 1 on, such as 2.
</source>
        <translation>Die Option &quot;--audio-track&quot; braucht eine Spurnummer ab 1, etwa 2.
</translation>
    </message>
    <message>
        <location line="+81"/>
        <source>Unknown option &quot;%1&quot;.
</source>
        <translation>Unbekannte Option „%1“.
</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Edit subtitles against their video: SRT, WebVTT, ASS, SSA, TTML, SCC and EBU-STL,
and MicroDVD, SubViewer and MPL2 files to save in one of those. The modes after the
first run without a display, for scripts; --qc lists every quality problem, one
line each: FILE:NUMBER: kind: value (limit). --align places each subtitle of IN (a
subtitle file, or a .txt script of paragraphs) where its words are spoken in VIDEO.

Options:
</source>
        <translation>Untertitel zu ihrem Video bearbeiten: SRT, WebVTT, ASS, SSA, TTML, SCC und EBU-STL,
und MicroDVD-, SubViewer- und MPL2-Dateien, um sie in einem davon zu speichern. Die Modi nach dem
ersten laufen ohne Bildschirm, für Skripte; --qc listet jedes Qualitätsproblem, eine
Zeile je: DATEI:NUMMER: Art: Wert (Grenze). --align legt jeden Untertitel von IN (eine
Untertiteldatei oder ein .txt-Skript aus Absätzen) dorthin, wo seine Worte in VIDEO gesprochen werden.

Optionen:
</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>this text</source>
        <translation>dieser Text</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the version</source>
        <translation>die Version</translation>
    </message>
</context>
<context>
    <name>CommandLineOutput</name>
    <message>
        <location filename="../../app/commandline/CommandLineOutput.cpp" line="+13"/>
        <source>The file cannot be written because its name is not valid UTF-8 text.</source>
        <translation>Die Datei kann nicht geschrieben werden, weil ihr Name kein gültiger UTF-8-Text ist.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The file is a symbolic link; name the file it leads to, so that nothing is written through the link.</source>
        <translation>Die Datei ist eine symbolische Verknüpfung; nennen Sie die Datei, auf die sie zeigt, damit nichts durch die Verknüpfung geschrieben wird.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The file is the input “%1”; name another file to write, so that the input stays as it is.</source>
        <translation>Die Datei ist die Eingabe „%1“; nennen Sie eine andere Datei zum Schreiben, damit die Eingabe bleibt, wie sie ist.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1 files are read, not written; name the output after a format that is (.srt, .vtt, .ass, .ssa, .ttml).</source>
        <translation>%1-Dateien werden gelesen, nicht geschrieben; benennen Sie die Ausgabe nach einem Format, das geschrieben wird (.srt, .vtt, .ass, .ssa, .ttml).</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>“.%1” is not the suffix of a subtitle format; name the output after one that is written (.srt, .vtt, .ass, .ssa, .ttml).</source>
        <translation>„.%1“ ist keine Endung eines Untertitelformats; benennen Sie die Ausgabe nach einem, das geschrieben wird (.srt, .vtt, .ass, .ssa, .ttml).</translation>
    </message>
</context>
<context>
    <name>CommandLineTool</name>
    <message>
        <location filename="../../app/commandline/CommandLineTool.cpp" line="+33"/>
        <location line="+10"/>
        <source>The file cannot be read because its name is not valid UTF-8 text.</source>
        <translation>Die Datei kann nicht gelesen werden, weil ihr Name kein gültiger UTF-8-Text ist.</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>%1: %2 subtitles, %3, %4, %5 repairs
</source>
        <translation>%1: %2 Untertitel, %3, %4, %5 Reparaturen
</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1: %2 subtitles, %3, %4
</source>
        <translation>%1: %2 Untertitel, %3, %4
</translation>
    </message>
    <message>
        <location line="+65"/>
        <source>left out: %1</source>
        <translation>ausgelassen: %1</translation>
    </message>
    <message>
        <location line="-9"/>
        <source>written in UTF-8, as %1 files must be, not in %2</source>
        <translation>in UTF-8 geschrieben, wie %1-Dateien es sein müssen, nicht in %2</translation>
    </message>
    <message>
        <location line="-87"/>
        <source>the text encoding %1 is a guess: it could also be %2; name the right one with --from ENCODING</source>
        <translation>die Textkodierung %1 ist geraten: es könnte auch %2 sein; nennen Sie die richtige mit --from KODIERUNG</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <location filename="../../document/Document.cpp" line="+139"/>
        <source>The quality profile &quot;%1&quot; is gone; the subtitles are checked by &quot;%2&quot;.</source>
        <translation>Das Qualitätsprofil „%1“ gibt es nicht mehr; die Untertitel werden nach „%2“ geprüft.</translation>
    </message>
    <message>
        <location line="+137"/>
        <source>Untitled %1</source>
        <translation>Unbenannt %1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <location line="-171"/>
        <source>Checked by &quot;%1&quot;, the quality profile for %2 frames a second.</source>
        <translation>Geprüft mit „%1“, dem Qualitätsprofil für %2 Bilder pro Sekunde.</translation>
    </message>
</context>
<context>
    <name>DocumentCommands</name>
    <message>
        <location filename="../../app/commands/DocumentCommands.cpp" line="+80"/>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Open…</source>
        <translation>Ö&amp;ffnen …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open &amp;Video…</source>
        <translation>&amp;Video öffnen …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open Ori&amp;ginal…</source>
        <translation>&amp;Original öffnen …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Close Origina&amp;l</source>
        <translation>O&amp;riginal schließen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Close</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Save &amp;As…</source>
        <translation>Speichern &amp;unter …</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Rever&amp;t to Saved</source>
        <translation>Zurück zur gespeicher&amp;ten Version</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>E&amp;xport Quality Report…</source>
        <translation>&amp;Qualitätsbericht exportieren …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Select &amp;All</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Add Subtitle</source>
        <translation>Untertitel hinzufügen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Duplicate Subtitle</source>
        <translation>Untertitel duplizieren</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Split Subtitle at Text Cursor</source>
        <translation>Untertitel am Textcursor teilen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Splits the subtitle whose text is being edited where the text cursor is</source>
        <translation>Teilt den Untertitel, dessen Text gerade bearbeitet wird, an der Stelle des Textcursors</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Import Subtitles…</source>
        <translation>Untertitel &amp;importieren …</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;Go to Subtitle…</source>
        <translation>&amp;Gehe zu Untertitel …</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Edit Displayed Subtitle</source>
        <translation>Angezeigten Untertitel bearbeiten</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Set Start Time from Video</source>
        <translation>Startzeit vom Video übernehmen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Set End Time from Video</source>
        <translation>Endzeit vom Video übernehmen</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Start Earlier by a Frame</source>
        <translation>Beginn ein Bild früher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Start Later by a Frame</source>
        <translation>Beginn ein Bild später</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>End Earlier by a Frame</source>
        <translation>Ende ein Bild früher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>End Later by a Frame</source>
        <translation>Ende ein Bild später</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Subtitle Earlier by a Frame</source>
        <translation>Untertitel ein Bild früher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Subtitle Later by a Frame</source>
        <translation>Untertitel ein Bild später</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Start Earlier by 100 ms</source>
        <translation>Beginn 100 ms früher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Start Later by 100 ms</source>
        <translation>Beginn 100 ms später</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>End Earlier by 100 ms</source>
        <translation>Ende 100 ms früher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>End Later by 100 ms</source>
        <translation>Ende 100 ms später</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Subtitle Earlier by 100 ms</source>
        <translation>Untertitel 100 ms früher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Subtitle Later by 100 ms</source>
        <translation>Untertitel 100 ms später</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Insert Subtitle at Cursor</source>
        <translation>Untertitel am Cursor einfügen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Chain Subtitles</source>
        <translation>Untertitel verketten</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Copy Timings from Original</source>
        <translation>Zeiten vom Original übernehmen</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Merge Subtitle&amp;s</source>
        <translation>Untertitel zusammen&amp;führen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>I&amp;talic</source>
        <translation>K&amp;ursiv</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>S&amp;hift Times…</source>
        <translation>Zeiten &amp;verschieben …</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>S&amp;ynchronise by Two Points…</source>
        <translation>An zwei Punkten s&amp;ynchronisieren …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Change Fra&amp;me Rate…</source>
        <translation>&amp;Bildrate ändern …</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Snap to Spee&amp;ch</source>
        <translation>An Spra&amp;che ausrichten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Align to Speech</source>
        <translation>An Sprache anlegen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Synchronise &amp;with Sound…</source>
        <translation>&amp;Mit dem Ton synchronisieren …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Subtitles from Speec&amp;h</source>
        <translation>Untertitel aus Sprac&amp;he</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Find…</source>
        <translation>&amp;Suchen …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Replace…</source>
        <translation>Erset&amp;zen …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Find &amp;Next</source>
        <translation>&amp;Nächstes suchen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Find Pre&amp;vious</source>
        <translation>V&amp;orheriges suchen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Pre&amp;ferences…</source>
        <translation>Eins&amp;tellungen …</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Zoom &amp;In</source>
        <translation>&amp;Vergrößern</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Fit Film</source>
        <translation>Ganzen &amp;Film zeigen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom to &amp;Selection</source>
        <translation>Auf Auswah&amp;l zoomen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Reset Layout</source>
        <translation>&amp;Anordnung zurücksetzen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Milliseconds (00:00:00,000)</source>
        <translation>&amp;Millisekunden (00:00:00,000)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Timecode (00:00:00:00)</source>
        <translation>&amp;Timecode (00:00:00:00)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Frame Numbers</source>
        <translation>&amp;Bildnummern</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Ti&amp;mecode Offset…</source>
        <translation>&amp;Timecode-Versatz …</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Show &amp;Waveform</source>
        <translation>&amp;Wellenform zeigen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show Spectro&amp;gram</source>
        <translation>Sp&amp;ektrogramm zeigen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Show Waveform an&amp;d Spectrogram</source>
        <translation>Wellenform &amp;und Spektrogramm zeigen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Reset Waveform &amp;Zoom</source>
        <translation>Wellenform-Zoom zurück&amp;setzen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Show Origina&amp;l on Video</source>
        <translation>Original im &amp;Bild zeigen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Next Problem</source>
        <translation>&amp;Nächstes Problem</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>P&amp;revious Problem</source>
        <translation>V&amp;orheriges Problem</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;Play/Pause</source>
        <translation>&amp;Wiedergabe/Pause</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Play &amp;Backward</source>
        <translation>&amp;Rückwärts abspielen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Stop</source>
        <translation>&amp;Stopp</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Play &amp;Forward</source>
        <translation>&amp;Vorwärts abspielen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Fas&amp;ter</source>
        <translation>Schneller a&amp;bspielen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>S&amp;lower</source>
        <translation>&amp;Langsamer abspielen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nor&amp;mal Speed</source>
        <translation>Normales &amp;Tempo</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Pla&amp;y Around Dragged Edges</source>
        <translation>Beim Ziehen von Kanten abs&amp;pielen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Announce Subt&amp;itles</source>
        <translation>Untertitel v&amp;orlesen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Next Frame</source>
        <translation>&amp;Nächstes Bild</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Previous F&amp;rame</source>
        <translation>Vorheriges B&amp;ild</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Next Shot Chan&amp;ge</source>
        <translation>Nächster S&amp;zenenwechsel</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Previous S&amp;hot Change</source>
        <translation>Vorheri&amp;ger Szenenwechsel</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Add Shot Change at &amp;Cursor</source>
        <translation>Szenenwechsel am &amp;Cursor hinzufügen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Next Subtitle Edge</source>
        <translation>Nächste Untertitelkante</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Previous Subtitle Edge</source>
        <translation>Vorherige Untertitelkante</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Next Speech Edge</source>
        <translation>Nächste Sprachkante</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Previous Speech Edge</source>
        <translation>Vorherige Sprachkante</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Play Selected S&amp;ubtitle</source>
        <translation>A&amp;usgewählten Untertitel abspielen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Play Half a Second Bef&amp;ore It</source>
        <translation>Halbe Sekunde &amp;davor abspielen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Play Half a Second &amp;After It</source>
        <translation>Halbe Sekunde d&amp;anach abspielen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Set End and Start Ne&amp;xt</source>
        <translation>&amp;Ende setzen und nächsten beginnen</translation>
    </message>
</context>
<context>
    <name>DocumentController</name>
    <message>
        <location filename="../../app/lifecycle/DocumentController.cpp" line="+92"/>
        <source>Unsaved Work Is Not Protected</source>
        <translation>Ungesicherte Arbeit ist nicht geschützt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Your changes to “%1” cannot be kept for recovery after a crash. Save them soon.
%2</source>
        <translation>Ihre Änderungen an „%1“ können nicht für eine Wiederherstellung nach einem Absturz aufbewahrt werden. Speichern Sie sie bald.
%2</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>A new beginning.</source>
        <translation>Ein neuer Anfang.</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Open in Another Window</source>
        <translation>In einem anderen Fenster geöffnet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>“%1” is also open in another Cuewright (process %2). Saving in either asks before writing over what the other saved.</source>
        <translation>„%1“ ist auch in einem anderen Cuewright geöffnet (Prozess %2). Beim Speichern fragen beide nach, bevor sie überschreiben, was das andere gespeichert hat.</translation>
    </message>
    <message>
        <location line="+43"/>
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
        <location filename="../../app/lifecycle/DocumentSaver.cpp" line="+174"/>
        <location line="+10"/>
        <source>Cannot save “%1”</source>
        <translation>„%1“ kann nicht gespeichert werden</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Save as UTF-8</source>
        <translation>Als UTF-8 speichern</translation>
    </message>
    <message>
        <location line="-124"/>
        <location line="+165"/>
        <source>File Changed on Disk</source>
        <translation>Datei auf dem Datenträger geändert</translation>
    </message>
    <message>
        <location line="-164"/>
        <source>“%1” was changed by another program since you opened or saved it.</source>
        <translation>„%1“ wurde von einem anderen Programm geändert, seit Sie die Datei geöffnet oder gespeichert haben.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Do you want to overwrite those changes with yours, or reload the file and drop yours (you can undo the reload)?</source>
        <translation>Möchten Sie diese Änderungen mit Ihren überschreiben oder die Datei neu laden und Ihre verwerfen (das Neuladen lässt sich rückgängig machen)?</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+165"/>
        <source>Reload</source>
        <translation>Neu laden</translation>
    </message>
    <message>
        <location line="-80"/>
        <source>Save as %1</source>
        <translation>Als %1 speichern</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 cannot hold everything “%2” has. Saving “%3” leaves out:</source>
        <translation>%1 kann nicht alles aufnehmen, was „%2“ enthält. Beim Speichern von „%3“ entfällt Folgendes:</translation>
    </message>
    <message>
        <location line="+59"/>
        <source>Cannot reload “%1”</source>
        <translation>„%1“ kann nicht neu geladen werden</translation>
    </message>
    <message>
        <location line="-7"/>
        <source>Reload from Disk</source>
        <translation>Vom Datenträger neu laden</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>“%1” was changed by another program.</source>
        <translation>„%1“ wurde von einem anderen Programm geändert.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Do you want to reload it? Your unsaved changes will be replaced; you can undo the reload.</source>
        <translation>Möchten Sie die Datei neu laden? Ihre ungesicherten Änderungen werden ersetzt; Sie können das Neuladen rückgängig machen.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Do you want to reload it? You can undo the reload.</source>
        <translation>Möchten Sie die Datei neu laden? Sie können das Neuladen rückgängig machen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep My Version</source>
        <translation>Meine Version behalten</translation>
    </message>
    <message>
        <location line="-151"/>
        <source>Save Subtitles</source>
        <translation>Untertitel speichern</translation>
    </message>
    <message>
        <location filename="../../app/lifecycle/DocumentController.cpp" line="+68"/>
        <source>Revert to Saved</source>
        <translation>Gespeicherte Version wiederherstellen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Do you want to revert “%1” to the last saved version? Your current changes will be lost.</source>
        <translation>Möchten Sie „%1“ auf die zuletzt gespeicherte Version zurücksetzen? Ihre aktuellen Änderungen gehen dabei verloren.</translation>
    </message>
    <message>
        <location filename="../../app/lifecycle/DocumentSaver.cpp" line="-44"/>
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
        <location filename="../../app/lifecycle/DocumentController.cpp" line="+149"/>
        <source>Cannot recover</source>
        <translation>Wiederherstellen nicht möglich</translation>
    </message>
    <message>
        <location filename="../../app/lifecycle/DocumentSaver.cpp" line="+72"/>
        <source>%1 files are always written in UTF-8.</source>
        <translation>%1-Dateien werden immer in UTF-8 geschrieben.</translation>
    </message>
</context>
<context>
    <name>DocumentFormatLabel</name>
    <message>
        <location filename="../../app/window/DocumentFormatLabel.cpp" line="+18"/>
        <source>%1 · %2 · %3</source>
        <translation>%1 · %2 · %3</translation>
    </message>
    <message>
        <location line="+1"/>
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
        <source>The format and encoding the file was read or saved in</source>
        <translation>Format und Kodierung, in denen die Datei gelesen oder gespeichert wurde</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The format and encoding the document will be saved in</source>
        <translation>Format und Kodierung, in denen das Dokument gespeichert wird</translation>
    </message>
</context>
<context>
    <name>DocumentPanes</name>
    <message>
        <location filename="../../app/window/DocumentPanes.cpp" line="+106"/>
        <source>Movies (%1);;All files (*)</source>
        <translation>Filme (%1);;Alle Dateien (*)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Open Video</source>
        <translation>Video öffnen</translation>
    </message>
</context>
<context>
    <name>DocumentWindow</name>
    <message>
        <location filename="../../app/window/DocumentWindow.cpp" line="+105"/>
        <source>Finding shot changes… %1%</source>
        <translation>Szenenwechsel werden gesucht … %1 %</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Problems</source>
        <translation>Probleme</translation>
    </message>
    <message>
        <location line="+75"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Clear Menu</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <location line="+152"/>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <location line="-100"/>
        <source>Show &amp;Times As</source>
        <translation>&amp;Zeiten anzeigen als</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Needs the video&apos;s frame rate: until one is known, times show in milliseconds.</source>
        <translation>Braucht die Bildrate des Videos: bis sie bekannt ist, werden Zeiten in Millisekunden angezeigt.</translation>
    </message>
    <message>
        <location line="-67"/>
        <source>Nudge</source>
        <translation>Schrittweise verschieben</translation>
    </message>
    <message>
        <location line="-135"/>
        <source>No shot changes: %1</source>
        <translation>Keine Szenenwechsel: %1</translation>
    </message>
    <message>
        <location line="+155"/>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>&amp;Problems</source>
        <translation>&amp;Probleme</translation>
    </message>
    <message>
        <location line="+66"/>
        <source>&amp;Playback</source>
        <translation>&amp;Wiedergabe</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>%1[*] — Cuewright</source>
        <translation>%1[*] — Cuewright</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
</context>
<context>
    <name>EbuStlReader</name>
    <message>
        <location filename="../../format/EbuStlReader.cpp" line="+48"/>
        <source>The file is not an EBU-STL file: it does not begin with a general information block.</source>
        <translation>Die Datei ist keine EBU-STL-Datei: Sie beginnt nicht mit einem allgemeinen Informationsblock.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The EBU-STL file&apos;s disk format is %1, which the program does not read: only STL25.01 (25 frames a second) and STL30.01 (30 frames a second) are.</source>
        <translation>Das Diskformat der EBU-STL-Datei ist %1, das das Programm nicht liest: Es liest nur STL25.01 (25 Bilder pro Sekunde) und STL30.01 (30 Bilder pro Sekunde).</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The EBU-STL file&apos;s character code table is “%1”, which the program does not know (00 to 04 are).</source>
        <translation>Die Zeichencodetabelle der EBU-STL-Datei ist „%1“, die das Programm nicht kennt (es kennt 00 bis 04).</translation>
    </message>
</context>
<context>
    <name>EbuStlWriter</name>
    <message>
        <location filename="../../format/EbuStlWriter.cpp" line="+94"/>
        <source>The character “%1” (U+%2) cannot be written in EBU-STL: no character table of the format holds it together with the rest of the text.</source>
        <translation>Das Zeichen „%1“ (U+%2) kann nicht in EBU-STL geschrieben werden: Keine Zeichentabelle des Formats enthält es zusammen mit dem übrigen Text.</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>EBU-STL files are timed at 25 or 30 frames a second; these subtitles are at %1. Convert them to 25 or 30 frames a second first.</source>
        <translation>EBU-STL-Dateien sind auf 25 oder 30 Bilder pro Sekunde getimt; diese Untertitel haben die Bildrate %1. Rechnen Sie sie zuerst auf 25 oder 30 Bilder pro Sekunde um.</translation>
    </message>
    <message>
        <location line="+150"/>
        <source>The character “%1” (U+%2) in subtitle %3 cannot be written in this EBU-STL file&apos;s character table.</source>
        <translation>Das Zeichen „%1“ (U+%2) in Untertitel %3 kann nicht in der Zeichentabelle dieser EBU-STL-Datei geschrieben werden.</translation>
    </message>
    <message numerus="yes">
        <location line="+46"/>
        <source>%n row(s) longer than the format&apos;s row (control codes included), cut</source>
        <translation>
            <numerusform>%n Zeile länger als eine Zeile des Formats (Steuercodes eingeschlossen), gekürzt</numerusform>
            <numerusform>%n Zeilen länger als eine Zeile des Formats (Steuercodes eingeschlossen), gekürzt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>the times of %n subtitle(s) past 23:59:59 from the programme&apos;s start, the latest a time code holds, written as that</source>
        <translation>
            <numerusform>die Zeiten von %n Untertitel nach 23:59:59 ab Programmbeginn, der spätesten, die ein Timecode fassen kann, als diese geschrieben</numerusform>
            <numerusform>die Zeiten von %n Untertiteln nach 23:59:59 ab Programmbeginn, der spätesten, die ein Timecode fassen kann, als diese geschrieben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+26"/>
        <source>the times of %n subtitle(s), moved to the nearest of %1 frames a second</source>
        <translation>
            <numerusform>die Zeiten von %n Untertitel, auf das nächste Bild bei %1 Bildern pro Sekunde verschoben</numerusform>
            <numerusform>die Zeiten von %n Untertiteln, auf das nächste Bild bei %1 Bildern pro Sekunde verschoben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>bold, which EBU-STL has no code for, in %n subtitle(s)</source>
        <translation>
            <numerusform>Fettschrift, für die EBU-STL keinen Code hat, in %n Untertitel</numerusform>
            <numerusform>Fettschrift, für die EBU-STL keinen Code hat, in %n Untertiteln</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>the colours of %n subtitle(s), written as the nearest of Teletext&apos;s eight</source>
        <translation>
            <numerusform>die Farben von %n Untertitel, als die nächstliegende der acht Teletext-Farben geschrieben</numerusform>
            <numerusform>die Farben von %n Untertiteln, als die nächstliegende der acht Teletext-Farben geschrieben</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>EncodingPreview</name>
    <message>
        <location filename="../../app/window/EncodingPreview.cpp" line="+22"/>
        <source>The text encoding of this file is a guess. Does the text read right?</source>
        <translation>Die Textkodierung dieser Datei ist geraten. Liest sich der Text richtig?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Read as:</source>
        <translation>&amp;Lesen als:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Reo&amp;pen in This Encoding</source>
        <translation>In dieser Kodierung neu ö&amp;ffnen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Keep</source>
        <translation>&amp;Beibehalten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The text read in this encoding</source>
        <translation>Der Text in dieser Kodierung gelesen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Text encoding</source>
        <translation>Textkodierung</translation>
    </message>
</context>
<context>
    <name>EncodingView</name>
    <message>
        <location filename="../../app/window/EncodingView.cpp" line="+15"/>
        <source>Text encoding:</source>
        <translation>Textkodierung:</translation>
    </message>
</context>
<context>
    <name>EncodingsPopupButton</name>
    <message>
        <location filename="../../app/window/EncodingsPopupButton.cpp" line="+8"/>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
</context>
<context>
    <name>FfmpegLibrary</name>
    <message>
        <location filename="../../decoding/FfmpegLibrary.cpp" line="+18"/>
        <source>FFmpeg&apos;s libraries could not be loaded.
%1</source>
        <translation>Die Bibliotheken von FFmpeg konnten nicht geladen werden.
%1</translation>
    </message>
</context>
<context>
    <name>FileFormatChooser</name>
    <message>
        <location filename="../../app/window/FileFormatChooser.cpp" line="+15"/>
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
    <name>FindReplaceDialog</name>
    <message>
        <location filename="../../panels/FindReplaceDialog.cpp" line="+59"/>
        <source>&amp;Match case</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Whole words</source>
        <translation>Nur ganze &amp;Wörter</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Regular e&amp;xpression</source>
        <translation>Regulärer A&amp;usdruck</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Find and Replace</source>
        <translation>Suchen und ersetzen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>In the replacement, \1 stands for the first group in parentheses, \n for a line break</source>
        <translation>Im Ersetzungstext steht \1 für die erste Gruppe in Klammern, \n für einen Zeilenumbruch</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Find:</source>
        <translation>&amp;Suchen nach:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Replace wi&amp;th:</source>
        <translation>&amp;Ersetzen durch:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Find &amp;Next</source>
        <translation>&amp;Nächstes suchen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Find &amp;Previous</source>
        <translation>&amp;Vorheriges suchen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Replace</source>
        <translation>E&amp;rsetzen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Replace &amp;All</source>
        <translation>&amp;Alle ersetzen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Stop</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>The subtitles changed, so the search stopped.</source>
        <translation>Die Untertitel haben sich geändert, daher wurde die Suche angehalten.</translation>
    </message>
    <message>
        <location line="+72"/>
        <source>Type what to find.</source>
        <translation>Geben Sie ein, wonach gesucht werden soll.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The regular expression does not read: %1.</source>
        <translation>Der reguläre Ausdruck ist ungültig: %1.</translation>
    </message>
    <message>
        <location line="+80"/>
        <source>Stopped; nothing was replaced.</source>
        <translation>Angehalten; nichts wurde ersetzt.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Stopped.</source>
        <translation>Angehalten.</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Searching… %1 of %2 subtitles</source>
        <translation>Suche … %1 von %2 Untertiteln</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The expression is too complex to search with; nothing was replaced.</source>
        <translation>Der Ausdruck ist zu komplex für die Suche; nichts wurde ersetzt.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The expression is too complex to search with.</source>
        <translation>Der Ausdruck ist zu komplex für die Suche.</translation>
    </message>
    <message>
        <location line="+11"/>
        <location line="+10"/>
        <source>Not found.</source>
        <translation>Nicht gefunden.</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>Found in subtitle %1.</source>
        <translation>In Untertitel %1 gefunden.</translation>
    </message>
    <message>
        <location line="-83"/>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <location line="+94"/>
        <source>Replace All</source>
        <translation>Alle ersetzen</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>Replaced %n occurrence(s).</source>
        <translation>
            <numerusform>%n Vorkommen ersetzt.</numerusform>
            <numerusform>%n Vorkommen ersetzt.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FixedCopy</name>
    <message>
        <location filename="../../app/commandline/FixedCopy.cpp" line="+83"/>
        <source>A symbolic link has the name of the fixed copy; nothing was written through it.</source>
        <translation>Eine symbolische Verknüpfung trägt den Namen der korrigierten Kopie; durch sie wurde nichts geschrieben.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>A file that is not a fixed copy of “%1” has this name and was left as it is; move it away to have the copy written.</source>
        <translation>Eine Datei, die keine korrigierte Kopie von „%1“ ist, trägt diesen Namen und blieb, wie sie ist; verschieben Sie sie, damit die Kopie geschrieben wird.</translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+3"/>
        <location line="+8"/>
        <source>The fixed copy could not be written.
%1</source>
        <translation>Die korrigierte Kopie konnte nicht geschrieben werden.
%1</translation>
    </message>
</context>
<context>
    <name>FormatKeep</name>
    <message>
        <location filename="../../format/FormatKeep.cpp" line="+22"/>
        <source>the text before the subtitles</source>
        <translation>der Text vor den Untertiteln</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n style definition(s)</source>
        <translation>
            <numerusform>%n Stildefinition</numerusform>
            <numerusform>%n Stildefinitionen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>the styles of %n subtitle(s)</source>
        <translation>
            <numerusform>der Stil von %n Untertitel</numerusform>
            <numerusform>die Stile von %n Untertiteln</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>the layers of %n subtitle(s)</source>
        <translation>
            <numerusform>die Ebene von %n Untertitel</numerusform>
            <numerusform>die Ebenen von %n Untertiteln</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>the margins of %n subtitle(s)</source>
        <translation>
            <numerusform>die Ränder von %n Untertitel</numerusform>
            <numerusform>die Ränder von %n Untertiteln</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>the effects of %n subtitle(s)</source>
        <translation>
            <numerusform>der Effekt von %n Untertitel</numerusform>
            <numerusform>die Effekte von %n Untertiteln</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>the speakers of %n subtitle(s)</source>
        <translation>
            <numerusform>der Sprecher von %n Untertitel</numerusform>
            <numerusform>die Sprecher von %n Untertiteln</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>the identifiers of %n subtitle(s)</source>
        <translation>
            <numerusform>die Kennung von %n Untertitel</numerusform>
            <numerusform>die Kennungen von %n Untertiteln</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>the placement settings of %n subtitle(s)</source>
        <translation>
            <numerusform>die Positionsangaben von %n Untertitel</numerusform>
            <numerusform>die Positionsangaben von %n Untertiteln</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n region(s)</source>
        <translation>
            <numerusform>%n Region</numerusform>
            <numerusform>%n Regionen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n note(s) or comment(s)</source>
        <translation>
            <numerusform>%n Notiz oder Kommentar</numerusform>
            <numerusform>%n Notizen oder Kommentare</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FormatRepairs</name>
    <message>
        <location filename="../../format/FormatRepairs.cpp" line="+37"/>
        <source>Nothing in the file reads as %1: a repair would leave no subtitle.</source>
        <translation>Nichts in der Datei lässt sich als %1 lesen: Eine Reparatur ließe keinen Untertitel übrig.</translation>
    </message>
</context>
<context>
    <name>FrameRateDialog</name>
    <message>
        <location filename="../../panels/FrameRateDialog.cpp" line="+29"/>
        <location line="+57"/>
        <source>Change Frame Rate</source>
        <translation>Bildrate ändern</translation>
    </message>
    <message>
        <location line="-48"/>
        <source>&amp;From frames per second:</source>
        <translation>&amp;Bisherige Bildrate (Bilder pro Sekunde):</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;To frames per second:</source>
        <translation>&amp;Neue Bildrate (Bilder pro Sekunde):</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>A frame rate is a positive number, as 25 or 23.976.</source>
        <translation>Eine Bildrate ist eine positive Zahl, etwa 25 oder 23.976.</translation>
    </message>
</context>
<context>
    <name>FrameRateQuestion</name>
    <message>
        <location filename="../../app/lifecycle/FrameRateQuestion.cpp" line="+27"/>
        <source>Frame Rate</source>
        <translation>Bildrate</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>“%1” counts frames and does not say how many there are in a second.
Frames per second:</source>
        <translation>„%1“ zählt Bilder und gibt nicht an, wie viele es pro Sekunde sind.
Bilder pro Sekunde:</translation>
    </message>
</context>
<context>
    <name>GoToSubtitleViewController</name>
    <message>
        <location filename="../../panels/GoToSubtitleViewController.cpp" line="+107"/>
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
        <location filename="../../app/window/HelpMenu.cpp" line="+25"/>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Tastenkürzel</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;About Cuewright</source>
        <translation>Ü&amp;ber Cuewright</translation>
    </message>
</context>
<context>
    <name>ImportSubtitlesViewController</name>
    <message>
        <location filename="../../panels/ImportSubtitlesViewController.cpp" line="+20"/>
        <location line="+46"/>
        <source>Import Subtitles</source>
        <translation>Untertitel importieren</translation>
    </message>
    <message>
        <location line="-45"/>
        <source>Paste or type the text. Each paragraph, separated from the next by an empty line, becomes a subtitle: placed where it is spoken when timed by the film&apos;s speech, two seconds long otherwise.</source>
        <translation>Text einfügen oder eingeben. Jeder Absatz, durch eine Leerzeile vom nächsten getrennt, wird ein Untertitel: dorthin gelegt, wo er gesprochen wird, wenn nach der Sprache des Films getimt, sonst zwei Sekunden lang.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Paste or type the text. Each paragraph, separated from the next by an empty line, becomes a subtitle of two seconds.</source>
        <translation>Fügen Sie den Text ein oder tippen Sie ihn. Jeder Absatz, vom nächsten durch eine Leerzeile getrennt, wird ein Untertitel von zwei Sekunden.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Text to import</source>
        <translation>Zu importierender Text</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;Time by the film&apos;s speech</source>
        <translation>Nach der Sprache des Films &amp;timen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Places each paragraph where its words are spoken in the film, in order, instead of two seconds apart</source>
        <translation>Legt jeden Absatz der Reihe nach dorthin, wo seine Worte im Film gesprochen werden, statt zwei Sekunden auseinander</translation>
    </message>
</context>
<context>
    <name>InPlaceWriter</name>
    <message>
        <location filename="../../document/InPlaceWriter.cpp" line="+112"/>
        <location line="+44"/>
        <source>The file could not be saved.
%1</source>
        <translation>Die Datei konnte nicht gespeichert werden.
%1</translation>
    </message>
    <message>
        <location line="-18"/>
        <source>The file could not be saved, because its content could not be kept safe while it is written.
%1</source>
        <translation>Die Datei konnte nicht gespeichert werden, weil ihr Inhalt während des Schreibens nicht gesichert werden konnte.
%1</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>The file could not be saved, and its old content could not be put back: it is kept in %1.
%2</source>
        <translation>Die Datei konnte nicht gespeichert werden, und ihr alter Inhalt konnte nicht zurückgeschrieben werden: Er liegt in %1.
%2</translation>
    </message>
</context>
<context>
    <name>InterruptedSave</name>
    <message>
        <location filename="../../document/InterruptedSave.cpp" line="+69"/>
        <source>The kept content of “%1” cannot be read.
%2</source>
        <translation>Der aufbewahrte Inhalt von „%1“ kann nicht gelesen werden.
%2</translation>
    </message>
</context>
<context>
    <name>InterruptedSaveQuestion</name>
    <message>
        <location filename="../../app/lifecycle/InterruptedSaveQuestion.cpp" line="+14"/>
        <source>Saving Was Cut Short</source>
        <translation>Speichern wurde abgebrochen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cuewright was ended while it saved “%1” (%2), so the file may hold part old, part new text.</source>
        <translation>Cuewright wurde beendet, während es „%1“ speicherte (%2); die Datei kann daher teils alten, teils neuen Text enthalten.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Its content from before that save was kept. Put it back into the file? Unsaved changes are offered for recovery apart from this.</source>
        <translation>Ihr Inhalt vor diesem Speichern wurde aufbewahrt. Soll er in die Datei zurückgeschrieben werden? Ungesicherte Änderungen werden davon getrennt zur Wiederherstellung angeboten.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Put Back</source>
        <translation>Zurückschreiben</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Discard Kept Copy</source>
        <translation>Aufbewahrte Kopie verwerfen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Later</source>
        <translation>Später</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Cannot put back “%1”</source>
        <translation>„%1“ kann nicht zurückgeschrieben werden</translation>
    </message>
</context>
<context>
    <name>KeyConflicts</name>
    <message>
        <location filename="../../app/preferences/KeyConflicts.cpp" line="+37"/>
        <source>the %1 menu</source>
        <translation>das Menü %1</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>%1 ▸ %2</source>
        <translation>%1 ▸ %2</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>%1 (%2) and %3 (%4) have the same keys.</source>
        <translation>%1 (%2) und %3 (%4) haben dieselben Tasten.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 (%2) and %3 (%4): the keys of one begin with the other&apos;s.</source>
        <translation>%1 (%2) und %3 (%4): Die Tasten des einen beginnen mit denen des anderen.</translation>
    </message>
</context>
<context>
    <name>KeyboardPreferencesPage</name>
    <message>
        <location filename="../../app/preferences/KeyboardPreferencesPage.cpp" line="+24"/>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;No Keys</source>
        <translation>&amp;Keine Tasten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Default</source>
        <translation>&amp;Standard</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Choose a command, then press its new keys. Keys that need AltGr on your keyboard, such as the brackets on many European layouts, are best replaced.</source>
        <translation>Wählen Sie einen Befehl und drücken Sie dann seine neuen Tasten. Tasten, die auf Ihrer Tastatur AltGr brauchen, etwa die Klammern auf vielen europäischen Tastaturbelegungen, ersetzen Sie am besten.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Keys:</source>
        <translation>&amp;Tasten:</translation>
    </message>
    <message>
        <location line="+71"/>
        <source>Only one command can have the same keys: change or clear them to press OK.</source>
        <translation>Dieselben Tasten kann nur ein Befehl haben: Ändern oder entfernen Sie sie, um OK zu drücken.</translation>
    </message>
</context>
<context>
    <name>KeyboardTimingCommands</name>
    <message>
        <location filename="../../app/commands/KeyboardTimingCommands.cpp" line="+66"/>
        <source>No room for a subtitle at the cursor</source>
        <translation>Am Cursor ist kein Platz für einen Untertitel</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Insert Subtitle at Cursor</source>
        <translation>Untertitel am Cursor einfügen</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>No short gap to close</source>
        <translation>Keine kurze Lücke zu schließen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Chain Subtitles</source>
        <translation>Untertitel verketten</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Set Start Time</source>
        <translation>Startzeit setzen</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Set End Time</source>
        <translation>Endzeit setzen</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Set End and Start Next</source>
        <translation>Ende setzen und nächsten beginnen</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The video is not past the subtitle&apos;s start: an end there would leave it no time on screen</source>
        <translation>Das Video ist nicht über den Beginn des Untertitels hinaus: Ein Ende dort ließe ihm keine Zeit im Bild</translation>
    </message>
</context>
<context>
    <name>LongNameSaver</name>
    <message>
        <location filename="../../document/LongNameSaver.cpp" line="+34"/>
        <location line="+11"/>
        <location line="+2"/>
        <source>The file could not be saved.
%1</source>
        <translation>Die Datei konnte nicht gespeichert werden.
%1</translation>
    </message>
</context>
<context>
    <name>MediaSession</name>
    <message>
        <location filename="../../media/MediaSession.cpp" line="+359"/>
        <source>%1 has no sound: there is no waveform, speech or spectrogram to show.</source>
        <translation>%1 hat keinen Ton: Es gibt keine Wellenform, keine Sprache und kein Spektrogramm zu zeigen.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The first track is used instead.</source>
        <translation>Stattdessen wird die erste Spur verwendet.</translation>
    </message>
</context>
<context>
    <name>MicroDvdReader</name>
    <message>
        <location filename="../../format/MicroDvdReader.cpp" line="+116"/>
        <source>Line %1 gives the frame rate “%2”, which no film has.</source>
        <translation>Zeile %1 gibt die Bildrate „%2“ an, die kein Film hat.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Left out a frame rate no film has: read at %1 frames a second.</source>
        <translation>Eine Bildrate ausgelassen, die kein Film hat: mit %1 Bildern pro Sekunde gelesen.</translation>
    </message>
</context>
<context>
    <name>MpvLibrary</name>
    <message>
        <location filename="../../player/MpvLibrary.cpp" line="+15"/>
        <source>The video player&apos;s library, libmpv, could not be loaded.
%1</source>
        <translation>Die Bibliothek des Videoplayers, libmpv, konnte nicht geladen werden.
%1</translation>
    </message>
</context>
<context>
    <name>MpvPlayer</name>
    <message>
        <location filename="../../player/MpvPlayer.cpp" line="+48"/>
        <location line="+38"/>
        <source>The video player could not be started.</source>
        <translation>Der Videoplayer konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <location line="+61"/>
        <source>It is not a regular file.</source>
        <translation>Es ist keine normale Datei.</translation>
    </message>
</context>
<context>
    <name>OriginalSubtitles</name>
    <message>
        <location filename="../../document/OriginalSubtitles.cpp" line="+81"/>
        <source>The original “%1” was not attached again: %2</source>
        <translation>Das Original „%1“ wurde nicht wieder angehängt: %2</translation>
    </message>
</context>
<context>
    <name>OriginalTimingCopy</name>
    <message>
        <location filename="../../model/timing/OriginalTimingCopy.cpp" line="+38"/>
        <source>Copy Timings from Original</source>
        <translation>Zeiten vom Original übernehmen</translation>
    </message>
</context>
<context>
    <name>OwnFile</name>
    <message>
        <location filename="../../format/OwnFile.cpp" line="+66"/>
        <source>“%1” is a symbolic link, which is never followed.</source>
        <translation>„%1“ ist ein symbolischer Link, dem nie gefolgt wird.</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+5"/>
        <location line="+15"/>
        <source>“%1” cannot be read.
%2</source>
        <translation>„%1“ kann nicht gelesen werden.
%2</translation>
    </message>
    <message>
        <location line="-13"/>
        <source>“%1” is not a regular file.</source>
        <translation>„%1“ ist keine reguläre Datei.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>“%1” has other names (hard links), so it may be another program&apos;s file.</source>
        <translation>„%1“ hat weitere Namen (harte Links) und könnte daher die Datei eines anderen Programms sein.</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>“%1” is larger than %2 MB.</source>
        <translation>„%1“ ist größer als %2 MB.</translation>
    </message>
    <message>
        <location line="+13"/>
        <location line="+7"/>
        <location line="+6"/>
        <source>“%1” cannot be written.
%2</source>
        <translation>„%1“ kann nicht geschrieben werden.
%2</translation>
    </message>
</context>
<context>
    <name>ParseError</name>
    <message>
        <location filename="../../format/ParseError.cpp" line="+36"/>
        <source>Error at line %1.
%2</source>
        <translation>Fehler in Zeile %1.
%2</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>Line %1 is empty.</source>
        <translation>Zeile %1 ist leer.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Line %1 reads “%2”.</source>
        <translation>Zeile %1 lautet „%2“.</translation>
    </message>
    <message>
        <location line="+7"/>
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
    <name>PersonalDictionary</name>
    <message>
        <location filename="../../spelling/PersonalDictionary.cpp" line="+45"/>
        <source>The word was not saved in %1: it is not a regular file of at most %2 MB.</source>
        <translation>Das Wort wurde nicht in %1 gespeichert: Es ist keine reguläre Datei von höchstens %2 MB.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The word was not saved.
%1</source>
        <translation>Das Wort wurde nicht gespeichert.
%1</translation>
    </message>
</context>
<context>
    <name>PlaybackControls</name>
    <message>
        <location filename="../../player/PlaybackControls.cpp" line="+28"/>
        <source>Previous frame (Left)</source>
        <translation>Vorheriges Bild (Links)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Previous frame</source>
        <translation>Vorheriges Bild</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+35"/>
        <source>Play (Space)</source>
        <translation>Abspielen (Leertaste)</translation>
    </message>
    <message>
        <location line="-35"/>
        <location line="+36"/>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <location line="-35"/>
        <source>Next frame (Right)</source>
        <translation>Nächstes Bild (Rechts)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Next frame</source>
        <translation>Nächstes Bild</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Playback position</source>
        <translation>Wiedergabeposition</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Playback speed</source>
        <translation>Wiedergabetempo</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Pause (Space)</source>
        <translation>Pause (Leertaste)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1×</source>
        <translation>%1×</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>◀ %1×</source>
        <translation>◀ %1×</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1× ▶</source>
        <translation>%1× ▶</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
</context>
<context>
    <name>PocketsphinxAligner</name>
    <message>
        <location filename="../../speech/PocketsphinxAligner.cpp" line="+57"/>
        <source>No speech model for English is installed (looked in %1).</source>
        <translation>Es ist kein Sprachmodell für Englisch installiert (gesucht in %1).</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The speech recogniser did not take its settings.</source>
        <translation>Die Spracherkennung hat ihre Einstellungen nicht angenommen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The speech recogniser could not load its model from %1.</source>
        <translation>Die Spracherkennung konnte ihr Modell aus %1 nicht laden.</translation>
    </message>
    <message>
        <location line="+125"/>
        <source>The line has no words to look for.</source>
        <translation>Die Zeile enthält keine Wörter, nach denen gesucht werden kann.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The line&apos;s words were not found in the sound.</source>
        <translation>Die Wörter der Zeile wurden im Ton nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>PocketsphinxLibrary</name>
    <message>
        <location filename="../../speech/PocketsphinxLibrary.cpp" line="+14"/>
        <source>The speech recogniser&apos;s library, pocketsphinx, could not be loaded.
%1</source>
        <translation>Die Bibliothek der Spracherkennung, pocketsphinx, konnte nicht geladen werden.
%1</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <location filename="../../app/preferences/PreferencesDialog.cpp" line="+18"/>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Quality</source>
        <translation>Qualität</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Speech</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Timing</source>
        <translation>Timing</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Keyboard</source>
        <translation>Tastatur</translation>
    </message>
</context>
<context>
    <name>ProblemIndex</name>
    <message numerus="yes">
        <location filename="../../model/quality/ProblemIndex.cpp" line="+170"/>
        <source>%n frame(s) after the shot change at frame %1</source>
        <translation>
            <numerusform>%n Frame nach dem Szenenwechsel bei Frame %1</numerusform>
            <numerusform>%n Frames nach dem Szenenwechsel bei Frame %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n frame(s) before the shot change at frame %1</source>
        <translation>
            <numerusform>%n Frame vor dem Szenenwechsel bei Frame %1</numerusform>
            <numerusform>%n Frames vor dem Szenenwechsel bei Frame %1</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>on the shot change at frame %1</source>
        <translation>auf dem Szenenwechsel bei Frame %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Starts %1; goes to frame %2</source>
        <translation>Beginnt %1; gehört auf Frame %2</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ends %1; goes to frame %2</source>
        <translation>Endet %1; gehört auf Frame %2</translation>
    </message>
</context>
<context>
    <name>ProblemListModel</name>
    <message>
        <location filename="../../panels/ProblemListModel.cpp" line="+69"/>
        <source>#</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Problem</source>
        <translation>Problem</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
</context>
<context>
    <name>ProblemsPanel</name>
    <message>
        <location filename="../../panels/ProblemsPanel.cpp" line="+101"/>
        <source>Fi&amp;x</source>
        <translation>&amp;Beheben</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mends the selected problem</source>
        <translation>Behebt das ausgewählte Problem</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fix &amp;All</source>
        <translation>&amp;Alle beheben</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mends every problem that can be mended, as one undo step</source>
        <translation>Behebt alle behebbaren Probleme in einem einzigen Rückgängig-Schritt</translation>
    </message>
    <message>
        <location line="+99"/>
        <source>Subtitle %1 left as it is: %2.</source>
        <translation>Untertitel %1 bleibt, wie er ist: %2.</translation>
    </message>
    <message>
        <location line="+82"/>
        <source>Subtitle %1 · %2: %3</source>
        <comment>number, kind of problem, description</comment>
        <translation>Untertitel %1 · %2: %3</translation>
    </message>
    <message>
        <location line="-17"/>
        <source>No problems</source>
        <translation>Keine Probleme</translation>
    </message>
    <message>
        <location line="-194"/>
        <source>Problems</source>
        <translation>Probleme</translation>
    </message>
    <message numerus="yes">
        <location line="+194"/>
        <source>%n subtitle(s) with problems</source>
        <translation>
            <numerusform>%n Untertitel mit Problemen</numerusform>
            <numerusform>%n Untertitel mit Problemen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../app/lifecycle/RecoveryStore.cpp" line="+96"/>
        <source>The folder %1 cannot be created.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
</context>
<context>
    <name>QualityCheck</name>
    <message>
        <location filename="../../model/quality/QualityCheck.cpp" line="+230"/>
        <source>Overlap</source>
        <translation>Überlappung</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Gap too small</source>
        <translation>Lücke zu klein</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Too short</source>
        <translation>Zu kurz</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Too long</source>
        <translation>Zu lang</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Too fast</source>
        <translation>Zu schnell</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Line too long</source>
        <translation>Zeile zu lang</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Too many lines</source>
        <translation>Zu viele Zeilen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Start near a shot change</source>
        <translation>Beginn nahe einem Szenenwechsel</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>End near a shot change</source>
        <translation>Ende nahe einem Szenenwechsel</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Untranslated</source>
        <translation>Nicht übersetzt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No original at these times</source>
        <translation>Kein Original zu diesen Zeiten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not found in the speech</source>
        <translation>In der Sprache nicht gefunden</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Runs %L1 s into the next subtitle</source>
        <translation>Reicht %L1 s in den nächsten Untertitel hinein</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%L1 s before the next subtitle; at least %L2 s</source>
        <translation>%L1 s vor dem nächsten Untertitel; mindestens %L2 s</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%L1 s on screen; at least %L2 s</source>
        <translation>%L1 s sichtbar; mindestens %L2 s</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%L1 s on screen; at most %L2 s</source>
        <translation>%L1 s sichtbar; höchstens %L2 s</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 words per minute; at most %L2</source>
        <translation>%1 Wörter pro Minute; höchstens %L2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 characters per second; at most %L2</source>
        <translation>%1 Zeichen pro Sekunde; höchstens %L2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A line of %1 characters; at most %2</source>
        <translation>Eine Zeile mit %1 Zeichen; höchstens %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 lines; at most %2</source>
        <translation>%1 Zeilen; höchstens %2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No text yet</source>
        <translation>Noch kein Text</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The same text as the original line</source>
        <translation>Derselbe Text wie die Zeile des Originals</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No original line starts at %L1 s and ends at %L2 s</source>
        <translation>Keine Zeile des Originals beginnt bei %L1 s und endet bei %L2 s</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Aligning to the speech left it where it was: its words were not found</source>
        <translation>Beim Anlegen an die Sprache blieb er, wo er war: Seine Worte wurden nicht gefunden</translation>
    </message>
</context>
<context>
    <name>QualityCommand</name>
    <message>
        <location filename="../../app/commandline/QualityCommand.cpp" line="+79"/>
        <source>Written to %1.</source>
        <translation>Geschrieben nach %1.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The file cannot be read because its name is not valid UTF-8 text.</source>
        <translation>Die Datei kann nicht gelesen werden, weil ihr Name kein gültiger UTF-8-Text ist.</translation>
    </message>
    <message numerus="yes">
        <location line="+26"/>
        <source>skipped %n fixed copy file(s) (NAME.fixed.EXT beside NAME.EXT); name one to check it.</source>
        <translation>
            <numerusform>%n korrigierte Kopie übersprungen (NAME.fixed.EXT neben NAME.EXT); nennen Sie sie, um sie zu prüfen.</numerusform>
            <numerusform>%n korrigierte Kopien übersprungen (NAME.fixed.EXT neben NAME.EXT); nennen Sie eine, um sie zu prüfen.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+149"/>
        <source>The option &quot;--video&quot; goes with one subtitle file, the one timed to that video; check a folder or several files without it.
</source>
        <translation>Die Option „--video“ gehört zu einer einzigen Untertiteldatei, der auf dieses Video getimten; prüfen Sie einen Ordner oder mehrere Dateien ohne sie.
</translation>
    </message>
    <message numerus="yes">
        <location line="+37"/>
        <source>read with %n repair(s)</source>
        <translation>
            <numerusform>mit %n Reparatur gelesen</numerusform>
            <numerusform>mit %n Reparaturen gelesen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+18"/>
        <source>%1 of %n file(s) could not be read.</source>
        <translation>
            <numerusform>%1 von %n Datei konnte nicht gelesen werden.</numerusform>
            <numerusform>%1 von %n Dateien konnten nicht gelesen werden.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%1 of %n file(s) could not be read; --repair reads what plainly means one thing.</source>
        <translation>
            <numerusform>%1 von %n Datei konnte nicht gelesen werden; --repair liest, was eindeutig nur eines bedeuten kann.</numerusform>
            <numerusform>%1 von %n Dateien konnten nicht gelesen werden; --repair liest, was eindeutig nur eines bedeuten kann.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>QualityFixes</name>
    <message numerus="yes">
        <location filename="../../model/quality/QualityFixes.cpp" line="+206"/>
        <source>%n overlap(s)</source>
        <translation>
            <numerusform>%n Überschneidung</numerusform>
            <numerusform>%n Überschneidungen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n small gap(s)</source>
        <translation>
            <numerusform>%n zu kleiner Abstand</numerusform>
            <numerusform>%n zu kleine Abstände</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n too short</source>
        <translation>
            <numerusform>%n zu kurz</numerusform>
            <numerusform>%n zu kurz</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n too long</source>
        <translation>
            <numerusform>%n zu lang</numerusform>
            <numerusform>%n zu lang</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n too fast</source>
        <translation>
            <numerusform>%n zu schnell</numerusform>
            <numerusform>%n zu schnell</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n with a line too long</source>
        <translation>
            <numerusform>%n mit zu langer Zeile</numerusform>
            <numerusform>%n mit zu langer Zeile</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n with too many lines</source>
        <translation>
            <numerusform>%n mit zu vielen Zeilen</numerusform>
            <numerusform>%n mit zu vielen Zeilen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n start(s) near a shot change</source>
        <translation>
            <numerusform>%n Beginn nahe einem Szenenwechsel</numerusform>
            <numerusform>%n Anfänge nahe einem Szenenwechsel</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n end(s) near a shot change</source>
        <translation>
            <numerusform>%n Ende nahe einem Szenenwechsel</numerusform>
            <numerusform>%n Enden nahe einem Szenenwechsel</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n untranslated</source>
        <translation>
            <numerusform>%n nicht übersetzt</numerusform>
            <numerusform>%n nicht übersetzt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n without an original at their times</source>
        <translation>
            <numerusform>%n ohne Original zu ihren Zeiten</numerusform>
            <numerusform>%n ohne Original zu ihren Zeiten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n not found in the speech</source>
        <translation>
            <numerusform>%n in der Sprache nicht gefunden</numerusform>
            <numerusform>%n in der Sprache nicht gefunden</numerusform>
        </translation>
    </message>
    <message>
        <location line="+95"/>
        <source>%1 (%2)</source>
        <comment>number and kind of problem, why it was left</comment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Nothing fixed.</source>
        <translation>Nichts behoben.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fixed %1: %2.</source>
        <comment>count, then counts by kind</comment>
        <translation>Behoben: %1 (%2).</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+3"/>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Left %1: %2.</source>
        <comment>count, then counts by kind</comment>
        <translation>Belassen: %1 (%2).</translation>
    </message>
    <message>
        <location line="+108"/>
        <source>Fix All Problems</source>
        <translation>Alle Probleme beheben</translation>
    </message>
    <message>
        <location line="+61"/>
        <source>Fix Overlap</source>
        <translation>Überlappung beheben</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Fix Gap</source>
        <translation>Lücke korrigieren</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+2"/>
        <source>Fix Duration</source>
        <translation>Dauer korrigieren</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Fix Reading Speed</source>
        <translation>Lesegeschwindigkeit korrigieren</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Fix Line Breaks</source>
        <translation>Zeilenumbrüche korrigieren</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Time to Shot Change</source>
        <translation>An Szenenwechsel ausrichten</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>neither it nor the next one has time to spare</source>
        <translation>weder er noch der nächste hat Zeit übrig</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no free time after it</source>
        <translation>keine freie Zeit danach</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>on screen the longest time already</source>
        <translation>schon die längste Zeit zu sehen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>it would read too fast</source>
        <translation>er wäre zu schnell zu lesen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no line breaks fit</source>
        <translation>keine Zeilenumbrüche passen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the previous subtitle ends too close</source>
        <translation>der vorige Untertitel endet zu knapp davor</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no automatic fix; the translator decides</source>
        <translation>keine automatische Korrektur; das entscheidet, wer übersetzt</translation>
    </message>
</context>
<context>
    <name>QualityProfile</name>
    <message>
        <location filename="../../model/quality/QualityProfile.cpp" line="+43"/>
        <source>&quot;%1&quot; must be a number.</source>
        <translation>„%1“ muss eine Zahl sein.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&quot;%1&quot; must be from %2 to %3.</source>
        <translation>„%1“ muss zwischen %2 und %3 liegen.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&quot;%1&quot; must be a whole number.</source>
        <translation>„%1“ muss eine ganze Zahl sein.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>&quot;%1&quot; must be one of %2.</source>
        <translation>„%1“ muss einer dieser Werte sein: %2.</translation>
    </message>
    <message>
        <location line="+81"/>
        <source>The file is too large to be a quality profile.</source>
        <translation>Die Datei ist zu groß für ein Qualitätsprofil.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The file is not valid JSON (%1 at byte %2).</source>
        <translation>Die Datei ist kein gültiges JSON (%1 bei Byte %2).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The file is not a quality profile: it does not say &quot;format&quot;: &quot;%1&quot;.</source>
        <translation>Die Datei ist kein Qualitätsprofil: Es fehlt „format“: „%1“.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>The profile needs a &quot;name&quot; of 1 to %1 characters.</source>
        <translation>Das Profil braucht einen „name“ aus 1 bis %1 Zeichen.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>&quot;maxDuration&quot; must not be below &quot;minDuration&quot;.</source>
        <translation>„maxDuration“ darf nicht unter „minDuration“ liegen.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&quot;languages&quot; must be an object of language codes.</source>
        <translation>„languages“ muss ein Objekt aus Sprachcodes sein.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The profile has more than %1 languages.</source>
        <translation>Das Profil hat mehr als %1 Sprachen.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&quot;%1&quot; is not a language code such as &quot;ja&quot; or &quot;pt_BR&quot;.</source>
        <translation>„%1“ ist kein Sprachcode wie „ja“ oder „pt_BR“.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&quot;languages.%1&quot; must be an object.</source>
        <translation>„languages.%1“ muss ein Objekt sein.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The profile cannot be read: &quot;%1&quot; is not a file.</source>
        <translation>Das Profil kann nicht gelesen werden: „%1“ ist keine Datei.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The profile cannot be read: %1</source>
        <translation>Das Profil kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <location line="+53"/>
        <source>General adult, %1 fps</source>
        <translation>Erwachsene allgemein, %1 fps</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Children, %1 fps</source>
        <translation>Kinder, %1 fps</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Broadcast, %1 fps</source>
        <translation>Fernsehen, %1 fps</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Broadcast (words per minute), %1 fps</source>
        <translation>Fernsehen (Wörter pro Minute), %1 fps</translation>
    </message>
    <message>
        <location line="-115"/>
        <source>The profile is of version %1; this program reads profiles of version %2 and earlier.</source>
        <translation>Das Profil hat die Version %1; dieses Programm liest Profile der Version %2 und früher.</translation>
    </message>
</context>
<context>
    <name>QualityProfileButton</name>
    <message>
        <location filename="../../app/window/QualityProfileButton.cpp" line="+16"/>
        <source>The quality profile this document&apos;s subtitles are checked by</source>
        <translation>Das Qualitätsprofil, nach dem die Untertitel dieses Dokuments geprüft werden</translation>
    </message>
</context>
<context>
    <name>QualityProfileMenu</name>
    <message>
        <location filename="../../app/window/QualityProfileMenu.cpp" line="+9"/>
        <source>&amp;Quality Profile</source>
        <translation>&amp;Qualitätsprofil</translation>
    </message>
</context>
<context>
    <name>QualityProfiles</name>
    <message>
        <location filename="../../document/QualityProfiles.cpp" line="+70"/>
        <source>No quality profile is called &quot;%1&quot;. The profiles are: %2. A profile&apos;s JSON file can be named by its path.</source>
        <translation>Kein Qualitätsprofil heißt „%1“. Die Profile sind: %2. Die JSON-Datei eines Profils kann mit ihrem Pfad angegeben werden.</translation>
    </message>
    <message>
        <location line="+67"/>
        <source>The built-in profile &quot;%1&quot; cannot be changed; duplicate it to make your own.</source>
        <translation>Das eingebaute Profil „%1“ kann nicht geändert werden; duplizieren Sie es, um ein eigenes zu erstellen.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The profile needs a name of 1 to %1 characters.</source>
        <translation>Das Profil braucht einen Namen aus 1 bis %1 Zeichen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&quot;%1&quot; cannot name a profile file.</source>
        <translation>„%1“ kann keine Profildatei benennen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The profile folder %1 cannot be made.</source>
        <translation>Der Profilordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>A built-in profile cannot be deleted.</source>
        <translation>Ein eingebautes Profil kann nicht gelöscht werden.</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+3"/>
        <source>No quality profile is called &quot;%1&quot;.</source>
        <translation>Kein Qualitätsprofil heißt „%1“.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The profile cannot be deleted: %1</source>
        <translation>Das Profil kann nicht gelöscht werden: %1</translation>
    </message>
    <message>
        <location line="+20"/>
        <location line="+5"/>
        <source>The profile cannot be written to %1: %2</source>
        <translation>Das Profil kann nicht nach %1 geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>QualityProfilesPage</name>
    <message>
        <location filename="../../app/preferences/QualityProfilesPage.cpp" line="+29"/>
        <source>words per minute</source>
        <translation>Wörter pro Minute</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>characters per second</source>
        <translation>Zeichen pro Sekunde</translation>
    </message>
    <message>
        <location line="+88"/>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>D&amp;uplicate</source>
        <translation>&amp;Duplizieren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Import…</source>
        <translation>&amp;Importieren …</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>E&amp;xport…</source>
        <translation>E&amp;xportieren …</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Use for new d&amp;ocuments</source>
        <translation>Für neue D&amp;okumente verwenden</translation>
    </message>
    <message>
        <location line="+5"/>
        <source> fps</source>
        <translation> fps</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>All characters</source>
        <translation>Alle Zeichen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Without spaces</source>
        <translation>Ohne Leerzeichen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Letters and digits only</source>
        <translation>Nur Buchstaben und Ziffern</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <location line="+1"/>
        <source> characters</source>
        <translation> Zeichen</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+1"/>
        <location line="+1"/>
        <source> frames</source>
        <translation> Bilder</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Reading speed</source>
        <translation>Lesegeschwindigkeit</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Line length</source>
        <translation>Zeilenlänge</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Lines</source>
        <translation>Zeilen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Counted in</source>
        <translation>Gezählt in</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Add Language</source>
        <translation>Sprache &amp;hinzufügen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remo&amp;ve Language</source>
        <translation>Sprache ent&amp;fernen</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&amp;Profile name:</source>
        <translation>&amp;Profilname:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Frame rate without a video:</source>
        <translation>&amp;Bildrate ohne Video:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Count reading speed &amp;in:</source>
        <translation>Lesegeschwindigkeit zählen &amp;in:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>What counts as a &amp;character:</source>
        <translation>Was &amp;als Zeichen zählt:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Maximum &amp;reading speed:</source>
        <translation>Maximale &amp;Lesegeschwindigkeit:</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Characters are what a viewer reads, without line breaks and formatting tags; line lengths count every character, spaces included. Words are counted as a viewer reads them: a speaker&apos;s dash is none, a hyphenated word or a number is one. Frames are the video&apos;s, or counted at the profile&apos;s frame rate while no video is open.</source>
        <translation>Zeichen sind, was ein Zuschauer liest, ohne Zeilenumbrüche und Formatierungs-Tags; Zeilenlängen zählen jedes Zeichen, Leerzeichen eingeschlossen. Wörter werden gezählt, wie ein Zuschauer sie liest: der Strich vor einem Sprecher ist keines, ein Wort mit Bindestrich oder eine Zahl ist eines. Bilder sind die des Videos oder, solange kein Video geöffnet ist, bei der Bildrate des Profils gezählt.</translation>
    </message>
    <message>
        <location line="-10"/>
        <source>Minimu&amp;m duration:</source>
        <translation>&amp;Mindestdauer:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Maximum dura&amp;tion:</source>
        <translation>Hö&amp;chstdauer:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Maximum line &amp;length:</source>
        <translation>Maximale &amp;Zeilenlänge:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Maximum lin&amp;es:</source>
        <translation>Maximal&amp;e Zeilenanzahl:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Minimum &amp;gap:</source>
        <translation>Minimale Lüc&amp;ke:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Keep edges from &amp;shot changes by:</source>
        <translation>Abstand der Kanten von &amp;Szenenwechseln:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>End &amp;before a shot change by:</source>
        <translation>Ende &amp;vor einem Szenenwechsel um:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Languages that read differently (the spelling language chooses):</source>
        <translation>Sprachen, die anders gelesen werden (die Sprache der Rechtschreibprüfung wählt):</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>New profile</source>
        <translation>Neues Profil</translation>
    </message>
    <message>
        <location line="+154"/>
        <source>New Profile</source>
        <translation>Neues Profil</translation>
    </message>
    <message>
        <location line="+11"/>
        <location line="+8"/>
        <source>Delete Profile</source>
        <translation>Profil löschen</translation>
    </message>
    <message>
        <location line="-7"/>
        <source>Delete the quality profile &quot;%1&quot;? Documents that use it are then checked by the default profile.</source>
        <translation>Das Qualitätsprofil „%1“ löschen? Dokumente, die es verwenden, werden dann nach dem Standardprofil geprüft.</translation>
    </message>
    <message>
        <location line="+17"/>
        <location line="+8"/>
        <source>Import Quality Profile</source>
        <translation>Qualitätsprofil importieren</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>Quality profiles (*.json);;All files (*)</source>
        <translation>Qualitätsprofile (*.json);;Alle Dateien (*)</translation>
    </message>
    <message>
        <location line="+16"/>
        <location line="+6"/>
        <source>Export Quality Profile</source>
        <translation>Qualitätsprofil exportieren</translation>
    </message>
    <message>
        <location line="-5"/>
        <source>Quality profiles (*.json)</source>
        <translation>Qualitätsprofile (*.json)</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Save Profile</source>
        <translation>Profil speichern</translation>
    </message>
</context>
<context>
    <name>QualityReportExport</name>
    <message>
        <location filename="../../app/window/QualityReportExport.cpp" line="+17"/>
        <source>Web page (*.html *.htm)</source>
        <translation>Webseite (*.html *.htm)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSV table (*.csv)</source>
        <translation>CSV-Tabelle (*.csv)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quality report.html</source>
        <translation>Qualitätsbericht.html</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+23"/>
        <source>Export Quality Report</source>
        <translation>Qualitätsbericht exportieren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The report could not be written to “%1”.
%2</source>
        <translation>Der Bericht konnte nicht nach „%1“ geschrieben werden.
%2</translation>
    </message>
</context>
<context>
    <name>QualityReportWriter</name>
    <message>
        <location filename="../../format/QualityReportWriter.cpp" line="+91"/>
        <source>Quality report: %1</source>
        <translation>Qualitätsbericht: %1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Checked against the limits below.</source>
        <translation>Geprüft nach den Grenzwerten unten.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Checked against the profile “%1”.</source>
        <translation>Geprüft nach dem Profil „%1“.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Limits</source>
        <translation>Grenzwerte</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Reading speed</source>
        <translation>Lesegeschwindigkeit</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>at most %L1 words per minute</source>
        <translation>höchstens %L1 Wörter pro Minute</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>at most %L1 characters per second</source>
        <translation>höchstens %L1 Zeichen pro Sekunde</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%L1 s to %L2 s</source>
        <translation>%L1 s bis %L2 s</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Lines</source>
        <translation>Zeilen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>at most %1, each at most %2 characters</source>
        <translation>höchstens %1, jede höchstens %2 Zeichen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Gap</source>
        <translation>Lücke</translation>
    </message>
    <message numerus="yes">
        <location line="+0"/>
        <source>at least %n frame(s)</source>
        <translation>
            <numerusform>mindestens %n Bild</numerusform>
            <numerusform>mindestens %n Bilder</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Shot changes</source>
        <translation>Szenenwechsel</translation>
    </message>
    <message numerus="yes">
        <location line="+0"/>
        <source>edges at least %n frame(s) from a cut</source>
        <translation>
            <numerusform>Kanten mindestens %n Bild von einem Schnitt</numerusform>
            <numerusform>Kanten mindestens %n Bilder von einem Schnitt</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Frames counted at</source>
        <translation>Bilder gezählt bei</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%L1 frames per second</source>
        <translation>%L1 Bildern pro Sekunde</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Summary</source>
        <translation>Übersicht</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No problems found: every subtitle keeps to the limits.</source>
        <translation>Keine Probleme gefunden: Jeder Untertitel hält die Grenzwerte ein.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>All problems</source>
        <translation>Alle Probleme</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Problems</source>
        <translation>Probleme</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>#</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>End</source>
        <translation>Ende</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Problem</source>
        <translation>Problem</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Found</source>
        <translation>Gefunden</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Limit</source>
        <translation>Grenzwert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Details</source>
        <translation>Einzelheiten</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Text</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>QualitySettings</name>
    <message>
        <location filename="../../document/QualitySettings.cpp" line="+112"/>
        <source>My limits</source>
        <translation>Meine Grenzwerte</translation>
    </message>
</context>
<context>
    <name>RecoveryDialog</name>
    <message>
        <location filename="../../app/lifecycle/RecoveryDialog.cpp" line="+19"/>
        <source>Check all</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+72"/>
        <source>Recover Unsaved Work</source>
        <translation>Ungesicherte Arbeit wiederherstellen</translation>
    </message>
    <message>
        <location line="-70"/>
        <source>Cuewright quit unexpectedly while you had unsaved changes. Do you want to recover them?</source>
        <translation>Cuewright wurde unerwartet beendet, während es ungesicherte Änderungen gab. Möchten Sie sie wiederherstellen?</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 documents were left unsaved; the newest %2 are checked. Unchecked ones are kept for later.</source>
        <translation>%1 Dokumente blieben ungesichert; die neuesten %2 sind ausgewählt. Nicht ausgewählte werden für später aufbewahrt.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>an untitled document</source>
        <translation>ein unbenanntes Dokument</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1, last changed %2</source>
        <translation>%1, zuletzt geändert %2</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Recover</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Later</source>
        <translation>Später</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>Recover %1 documents? Each opens in its own window.</source>
        <translation>%1 Dokumente wiederherstellen? Jedes öffnet sich in einem eigenen Fenster.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open %1 Windows</source>
        <translation>%1 Fenster öffnen</translation>
    </message>
</context>
<context>
    <name>RecoveryStore</name>
    <message>
        <location filename="../../app/lifecycle/RecoveryStore.cpp" line="-3"/>
        <source>The folder %1 is a symbolic link, which is never followed.</source>
        <translation>Der Ordner %1 ist ein symbolischer Link, dem nie gefolgt wird.</translation>
    </message>
    <message>
        <location line="+168"/>
        <source>Left out the last subtitle, which was cut short</source>
        <translation>Den letzten Untertitel ausgelassen, der abgeschnitten war</translation>
    </message>
</context>
<context>
    <name>ReopenWithEncodingMenu</name>
    <message>
        <location filename="../../app/window/ReopenWithEncodingMenu.cpp" line="+8"/>
        <source>Reopen with &amp;Encoding</source>
        <translation>Mit &amp;Kodierung erneut öffnen</translation>
    </message>
</context>
<context>
    <name>RepairOffer</name>
    <message>
        <location filename="../../app/lifecycle/RepairOffer.cpp" line="+28"/>
        <source>Cannot open “%1”</source>
        <translation>„%1“ kann nicht geöffnet werden</translation>
    </message>
    <message>
        <location line="+13"/>
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
        <location filename="../../app/lifecycle/RepairsWindow.cpp" line="+16"/>
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
</context>
<context>
    <name>RulerLabelFormat</name>
    <message>
        <location filename="../../timeline/RulerLabelFormat.cpp" line="+17"/>
        <source>%1d %2</source>
        <comment>days, then hours:minutes:seconds</comment>
        <translation>%1 T. %2</translation>
    </message>
</context>
<context>
    <name>SaveTarget</name>
    <message>
        <location filename="../../document/SaveTarget.cpp" line="+9"/>
        <source>The file cannot be saved because its name is not valid UTF-8 text. Choose Save As… and give it another name.</source>
        <translation>Die Datei kann nicht gespeichert werden, weil ihr Name kein gültiger UTF-8-Text ist. Wählen Sie „Speichern unter…“ und geben Sie ihr einen anderen Namen.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The file cannot be saved because “%1” is not a regular file (it is a device, a pipe or a socket).</source>
        <translation>Die Datei kann nicht gespeichert werden, weil „%1“ keine normale Datei ist (sondern ein Gerät, eine Pipe oder ein Socket).</translation>
    </message>
</context>
<context>
    <name>SccReader</name>
    <message>
        <location filename="../../format/SccReader.cpp" line="+80"/>
        <source>Line %1 should be “%2”, which begins every SCC file.</source>
        <translation>Zeile %1 sollte „%2“ lauten, womit jede SCC-Datei beginnt.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No “%1” line: read the file as SCC all the same.</source>
        <translation>Keine Zeile „%1“: Datei trotzdem als SCC gelesen.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Line %1 should begin with a timecode such as “00:00:01;12”.</source>
        <translation>Zeile %1 sollte mit einem Timecode wie „00:00:01;12“ beginnen.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No timecode: left the line out.</source>
        <translation>Kein Timecode: Zeile ausgelassen.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Line %1 has “%2” where a pair of hex bytes such as “94ae” should be.</source>
        <translation>Zeile %1 enthält „%2“, wo ein Paar Hex-Bytes wie „94ae“ stehen sollte.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Passed over what is no pair of hex bytes (“%1”).</source>
        <translation>Übergangen, was kein Paar Hex-Bytes ist („%1“).</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Line %1 has the pair “%2”, whose bytes should have odd parity.</source>
        <translation>Zeile %1 enthält das Paar „%2“, dessen Bytes ungerade Parität haben sollten.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>A byte without odd parity (in “%1”): read it without its parity bit.</source>
        <translation>Ein Byte ohne ungerade Parität (in „%1“): ohne sein Paritätsbit gelesen.</translation>
    </message>
</context>
<context>
    <name>SccWriter</name>
    <message>
        <location filename="../../format/SccWriter.cpp" line="+265"/>
        <source>subtitle %1 has more than 4 rows: the rows past the fourth are left out</source>
        <translation>Untertitel %1 hat mehr als 4 Zeilen: Die Zeilen nach der vierten werden ausgelassen</translation>
    </message>
    <message numerus="yes">
        <location line="+52"/>
        <source>subtitle %1 shows %2 s (%n frame(s)) late: too little time from the start to send it</source>
        <translation>
            <numerusform>Untertitel %1 erscheint %2 s (%n Bild) zu spät: zu wenig Zeit ab dem Anfang, um ihn zu senden</numerusform>
            <numerusform>Untertitel %1 erscheint %2 s (%n Bilder) zu spät: zu wenig Zeit ab dem Anfang, um ihn zu senden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>subtitle %1 shows %2 s (%n frame(s)) late: too little time after the one before to send it</source>
        <translation>
            <numerusform>Untertitel %1 erscheint %2 s (%n Bild) zu spät: zu wenig Zeit nach dem vorigen, um ihn zu senden</numerusform>
            <numerusform>Untertitel %1 erscheint %2 s (%n Bilder) zu spät: zu wenig Zeit nach dem vorigen, um ihn zu senden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+62"/>
        <source>%n subtitle(s) with no text, which show nothing as captions</source>
        <translation>
            <numerusform>%n Untertitel ohne Text, der als Caption nichts zeigt</numerusform>
            <numerusform>%n Untertitel ohne Text, die als Captions nichts zeigen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>the times of %n subtitle(s), moved to the start of their frame at 29.97 frames per second</source>
        <translation>
            <numerusform>die Zeiten von %n Untertitel, auf den Anfang seines Bildes bei 29,97 Bildern pro Sekunde verschoben</numerusform>
            <numerusform>die Zeiten von %n Untertiteln, auf den Anfang ihres Bildes bei 29,97 Bildern pro Sekunde verschoben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>the line breaks of %n subtitle(s), wrapped to 32 columns</source>
        <translation>
            <numerusform>die Zeilenumbrüche von %n Untertitel, auf 32 Spalten umbrochen</numerusform>
            <numerusform>die Zeilenumbrüche von %n Untertiteln, auf 32 Spalten umbrochen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>characters captions do not have (%1) in %n subtitle(s), written as the nearest they have</source>
        <translation>
            <numerusform>Zeichen, die Captions nicht haben (%1), in %n Untertitel, als die nächstliegenden vorhandenen geschrieben</numerusform>
            <numerusform>Zeichen, die Captions nicht haben (%1), in %n Untertiteln, als die nächstliegenden vorhandenen geschrieben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>bold in %n subtitle(s)</source>
        <translation>
            <numerusform>Fettschrift in %n Untertitel</numerusform>
            <numerusform>Fettschrift in %n Untertiteln</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>the colours of %n subtitle(s), written as the nearest of the seven captions have</source>
        <translation>
            <numerusform>die Farben von %n Untertitel, als die nächstliegende der sieben Caption-Farben geschrieben</numerusform>
            <numerusform>die Farben von %n Untertiteln, als die nächstliegende der sieben Caption-Farben geschrieben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>the ends of %n subtitle(s) that overlap the next, which replaces them when it shows</source>
        <translation>
            <numerusform>das Ende von %n Untertitel, der sich mit dem nächsten überschneidet, der ihn beim Erscheinen ersetzt</numerusform>
            <numerusform>die Enden von %n Untertiteln, die sich mit dem nächsten überschneiden, der sie beim Erscheinen ersetzt</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ScriptAligner</name>
    <message>
        <location filename="../../speech/ScriptAligner.cpp" line="+140"/>
        <source>its words are not in the sound</source>
        <translation>seine Worte sind nicht im Ton</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>it has no words the speech model can look for</source>
        <translation>er hat keine Worte, nach denen das Sprachmodell suchen kann</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>too little speech is left where it could be</source>
        <translation>wo er sein könnte, ist zu wenig Sprache übrig</translation>
    </message>
</context>
<context>
    <name>ScriptAlignmentResult</name>
    <message>
        <location filename="../../media/ScriptAlignmentResult.cpp" line="+87"/>
        <source>a subtitle that stays is where its words are spoken</source>
        <translation>ein Untertitel, der bleibt, liegt dort, wo seine Worte gesprochen werden</translation>
    </message>
    <message numerus="yes">
        <location line="+13"/>
        <source>Placed %n subtitle(s) where their words are spoken.</source>
        <translation>
            <numerusform>%n Untertitel dorthin gelegt, wo seine Worte gesprochen werden.</numerusform>
            <numerusform>%n Untertitel dorthin gelegt, wo ihre Worte gesprochen werden.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>Placed %1 of %n subtitle(s) where their words are spoken; left %2.</source>
        <translation>
            <numerusform>%1 von %n Untertitel dorthin gelegt, wo die Worte gesprochen werden; %2 belassen.</numerusform>
            <numerusform>%1 von %n Untertiteln dorthin gelegt, wo ihre Worte gesprochen werden; %2 belassen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SharedLibrary</name>
    <message>
        <location filename="../../system/SharedLibrary.cpp" line="+24"/>
        <source>The function %1 was not found.</source>
        <translation>Die Funktion %1 wurde nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>ShiftTimesDialog</name>
    <message>
        <location filename="../../panels/ShiftTimesDialog.cpp" line="+17"/>
        <location line="+68"/>
        <source>Shift Times</source>
        <translation>Zeiten verschieben</translation>
    </message>
    <message>
        <location line="-66"/>
        <source>&amp;Selected subtitles</source>
        <translation>Aus&amp;gewählte Untertitel</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Selected subtitle and all &amp;after it</source>
        <translation>Ausgewählten Untertitel und alle &amp;danach</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>A&amp;ll subtitles</source>
        <translation>A&amp;lle Untertitel</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>A sign and a length of time, as +00:00:01,500, -00:00:00:06 or a number of frames while frames are shown, or seconds, as -1.5</source>
        <translation>Ein Vorzeichen und eine Zeitspanne, etwa +00:00:01,500, -00:00:00:06 oder, wenn Bilder angezeigt werden, eine Anzahl Bilder, oder Sekunden, etwa -1,5</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>The offset is not a time. Write a sign and a time, as +00:00:01,500 or -00:00:00:06, or seconds, as -1.5.</source>
        <translation>Der Versatz ist keine Zeit. Schreiben Sie ein Vorzeichen und eine Zeit, etwa +00:00:01,500 oder -00:00:00:06, oder Sekunden, etwa -1,5.</translation>
    </message>
    <message>
        <location line="-43"/>
        <source>Start at &amp;Playback Position</source>
        <translation>An &amp;Wiedergabeposition beginnen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The offset that makes the first selected subtitle start at the playback position</source>
        <translation>Der Versatz, mit dem der erste ausgewählte Untertitel an der Wiedergabeposition beginnt</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;Offset:</source>
        <translation>&amp;Versatz:</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Move:</source>
        <translation>Verschieben:</translation>
    </message>
</context>
<context>
    <name>ShortcutSettings</name>
    <message>
        <location filename="../../app/preferences/ShortcutSettings.cpp" line="+143"/>
        <source>%1 had the keys %2, which %3 has too.</source>
        <translation>%1 hatte die Tasten %2, die auch %3 hat.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 It now has no keys.</source>
        <translation>%1 Der Befehl hat jetzt keine Tasten.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 It has its usual keys, %2, again.</source>
        <translation>%1 Der Befehl hat wieder seine üblichen Tasten, %2.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Some stored keyboard shortcuts were shared by two commands, which would have left both without keys. They have been repaired.</source>
        <translation>Einige gespeicherte Tastenkürzel gehörten zwei Befehlen zugleich, wodurch beide ohne Tasten geblieben wären. Sie wurden repariert.</translation>
    </message>
</context>
<context>
    <name>ShortcutsDialog</name>
    <message>
        <location filename="../../app/window/ShortcutsDialog.cpp" line="+22"/>
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
        <location line="+70"/>
        <source>%1 ▸ %2</source>
        <translation>%1 ▸ %2</translation>
    </message>
    <message>
        <location line="-18"/>
        <source> or </source>
        <translation> oder </translation>
    </message>
    <message>
        <location line="+38"/>
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
        <source>Make the waveform taller or shorter</source>
        <translation>Die Wellenform höher oder flacher machen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ctrl+Shift+Wheel</source>
        <translation>Strg+Umschalt+Mausrad</translation>
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
    <message>
        <location line="+1"/>
        <source>Hear the sound under the pointer</source>
        <translation>Den Ton unter dem Zeiger hören</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Drag the ruler or the cursor</source>
        <translation>Lineal oder Cursor ziehen</translation>
    </message>
</context>
<context>
    <name>ShotChangeScanner</name>
    <message>
        <location filename="../../shots/ShotChangeScanner.cpp" line="+57"/>
        <source>The video cannot be read from %1 seconds on.</source>
        <translation>Das Video kann ab Sekunde %1 nicht gelesen werden.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>No frame of the video could be decoded.</source>
        <translation>Kein Bild des Videos konnte dekodiert werden.</translation>
    </message>
</context>
<context>
    <name>ShotChangesCommand</name>
    <message>
        <location filename="../../media/ShotChangesCommand.cpp" line="+12"/>
        <source>%1: not a file</source>
        <translation>%1: keine Datei</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1: the video could not be scanned to its end</source>
        <translation>%1: Das Video konnte nicht bis zu seinem Ende analysiert werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>SpectrogramView</name>
    <message>
        <location filename="../../media/SonogramPainter.cpp" line="+40"/>
        <source>Computing spectrogram… %1%</source>
        <translation>Spektrogramm wird berechnet … %1 %</translation>
    </message>
</context>
<context>
    <name>SpeechAlignmentCommand</name>
    <message>
        <location filename="../../app/commands/SpeechAlignmentCommand.cpp" line="+41"/>
        <location line="+31"/>
        <location line="+70"/>
        <location line="+18"/>
        <source>Align to Speech</source>
        <translation>An Sprache anlegen</translation>
    </message>
    <message>
        <location line="-118"/>
        <source>No speech model is installed for the document&apos;s language (%1): only English lines can be placed by their words.</source>
        <translation>Für die Sprache des Dokuments (%1) ist kein Sprachmodell installiert: Nur englische Zeilen können nach ihren Worten gelegt werden.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The subtitles&apos; edges can be snapped to where the speech starts and stops instead.</source>
        <translation>Stattdessen können die Kanten der Untertitel dort einrasten, wo die Sprache beginnt und endet.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Snap to Speech</source>
        <translation>An Sprache ausrichten</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Alignment stopped; nothing was changed.</source>
        <translation>Anlegen abgebrochen; nichts wurde geändert.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Aligning to the speech: %v of %m</source>
        <translation>An die Sprache anlegen: %v von %m</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Alignment to the speech</source>
        <translation>Anlegen an die Sprache</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Stop</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stops aligning, and leaves the subtitles as they are</source>
        <translation>Bricht das Anlegen ab und lässt die Untertitel, wie sie sind</translation>
    </message>
    <message>
        <location line="+71"/>
        <source>Subtitle %1: %2</source>
        <translation>Untertitel %1: %2</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>… and %n more.</source>
        <translation>
            <numerusform>… und %n weiterer.</numerusform>
            <numerusform>… und %n weitere.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The subtitles left keep their times; the Problems panel lists them as not found in the speech.</source>
        <translation>Die belassenen Untertitel behalten ihre Zeiten; die Problemliste führt sie als in der Sprache nicht gefunden.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The lines left are put between the ones placed; the Problems panel lists them as not found in the speech.</source>
        <translation>Die belassenen Zeilen stehen zwischen den gelegten; die Problemliste führt sie als in der Sprache nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>SpeechDetection</name>
    <message>
        <location filename="../../media/SpeechDetection.cpp" line="+13"/>
        <source>%1: not a file</source>
        <translation>%1: keine Datei</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>%1: no audio that can be decoded</source>
        <translation>%1: kein dekodierbarer Ton</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: the audio could not be decoded</source>
        <translation>%1: der Ton konnte nicht dekodiert werden</translation>
    </message>
</context>
<context>
    <name>SpeechSnap</name>
    <message numerus="yes">
        <location filename="../../model/timing/SpeechSnap.cpp" line="+305"/>
        <source>Moved %n subtitle(s) to the speech.</source>
        <translation>
            <numerusform>%n Untertitel an die Sprache verschoben.</numerusform>
            <numerusform>%n Untertitel an die Sprache verschoben.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No subtitle moved.</source>
        <translation>Kein Untertitel verschoben.</translation>
    </message>
    <message numerus="yes">
        <location line="+8"/>
        <source>%n start(s)</source>
        <translation>
            <numerusform>%n Anfang</numerusform>
            <numerusform>%n Anfänge</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+0"/>
        <source>%n end(s)</source>
        <translation>
            <numerusform>%n Ende</numerusform>
            <numerusform>%n Enden</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 (%2)</source>
        <comment>number of edges, why they were left</comment>
        <translation>%1 (%2)</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>Left %n edge(s): %1.</source>
        <comment>count, then counts by kind</comment>
        <translation>
            <numerusform>%n Kante belassen: %1.</numerusform>
            <numerusform>%n Kanten belassen: %1.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+0"/>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Snap to Speech</source>
        <translation>An Sprache ausrichten</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>no speech within %1 s</source>
        <translation>keine Sprache innerhalb von %1 s</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>it is on a shot change</source>
        <translation>sie liegt auf einem Szenenwechsel</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>shot changes leave it no place there</source>
        <translation>Szenenwechsel lassen ihr dort keinen Platz</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the previous subtitle ends too close</source>
        <translation>der vorige Untertitel endet zu nah</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the next subtitle starts too close</source>
        <translation>der nächste Untertitel beginnt zu nah</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>it would be too short</source>
        <translation>er wäre zu kurz</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>it would be too long</source>
        <translation>er wäre zu lang</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>it would read too fast</source>
        <translation>er wäre zu schnell zu lesen</translation>
    </message>
</context>
<context>
    <name>SpeechSnapPage</name>
    <message>
        <location filename="../../app/preferences/SpeechSnapPage.cpp" line="+16"/>
        <source> frames</source>
        <translation> Bilder</translation>
    </message>
    <message>
        <location line="+5"/>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Look for speech &amp;within:</source>
        <translation>Sprache suchen &amp;innerhalb von:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Keep a subtitle after the speech ends by:</source>
        <translation>Untertitel nach dem Sprechende &amp;stehen lassen für:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Snapping to speech moves each start to where the nearest speech begins and each end to where it stops, plus the time after it, when the speech is that close to the edge. Frames are the video&apos;s, or 24 per second while no video is open.</source>
        <translation>Das Ausrichten an Sprache legt jeden Anfang dorthin, wo die nächste Sprache beginnt, und jedes Ende dorthin, wo sie aufhört, zuzüglich der Zeit danach, wenn die Sprache so nah an der Kante liegt. Bilder sind die des Videos, oder 24 pro Sekunde, solange kein Video geöffnet ist.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Restore &amp;Defaults</source>
        <translation>&amp;Standardwerte wiederherstellen</translation>
    </message>
</context>
<context>
    <name>SpeechTimingCommand</name>
    <message>
        <location filename="../../app/commands/SpeechTimingCommand.cpp" line="+50"/>
        <source>start</source>
        <translation>Anfang</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>end</source>
        <translation>Ende</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1:%2: %3 left: %4
</source>
        <translation>%1:%2: %3 belassen: %4
</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>%1:%2: left: %3
</source>
        <translation>%1:%2: belassen: %3
</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: no subtitle could be placed where its words are spoken in %2; nothing was written.</source>
        <translation>%1: Kein Untertitel konnte dorthin gelegt werden, wo seine Worte in %2 gesprochen werden; nichts wurde geschrieben.</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>%1: the subtitles do not match the speech in %2; nothing was written.</source>
        <translation>%1: Die Untertitel passen nicht zur Sprache in %2; nichts wurde geschrieben.</translation>
    </message>
</context>
<context>
    <name>SpeechTimingCommands</name>
    <message>
        <location filename="../../app/commands/SpeechTimingCommands.cpp" line="+59"/>
        <source>start</source>
        <translation>Anfang</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>end</source>
        <translation>Ende</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Subtitle %1, %2: %3</source>
        <translation>Untertitel %1, %2: %3</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>… and %n more.</source>
        <translation>
            <numerusform>… und %n weitere.</numerusform>
            <numerusform>… und %n weitere.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+9"/>
        <source>Subtitles from Speech</source>
        <translation>Untertitel aus Sprache</translation>
    </message>
    <message numerus="yes">
        <location line="-8"/>
        <source>Replace the %n subtitle(s) of this document with empty ones made from the speech?</source>
        <translation>
            <numerusform>Den %n Untertitel dieses Dokuments durch leere aus der Sprache ersetzen?</numerusform>
            <numerusform>Die %n Untertitel dieses Dokuments durch leere aus der Sprache ersetzen?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+14"/>
        <source>Made %n subtitle(s) from the speech.</source>
        <translation>
            <numerusform>%n Untertitel aus der Sprache erstellt.</numerusform>
            <numerusform>%n Untertitel aus der Sprache erstellt.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Synchronise with Sound</source>
        <translation>Mit dem Ton synchronisieren</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>These subtitles do not match the speech in this video. Nothing was changed.</source>
        <translation>Diese Untertitel passen nicht zur Sprache in diesem Video. Nichts wurde geändert.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Speech under the subtitles: %1% now, %2% once synchronised.</source>
        <translation>Sprache unter den Untertiteln: jetzt %1 %, nach dem Synchronisieren %2 %.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Synchronise</source>
        <translation>Synchronisieren</translation>
    </message>
</context>
<context>
    <name>SpellChecker</name>
    <message>
        <location filename="../../spelling/SpellChecker.cpp" line="+21"/>
        <source>The dictionary file %1 cannot be read.</source>
        <translation>Die Wörterbuchdatei %1 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The dictionary %1 is in %2, which is not supported.</source>
        <translation>Das Wörterbuch %1 ist in %2, was nicht unterstützt wird.</translation>
    </message>
</context>
<context>
    <name>Spelling</name>
    <message>
        <location filename="../../spelling/Spelling.cpp" line="+86"/>
        <source>There is no dictionary for %1.</source>
        <translation>Es gibt kein Wörterbuch für %1.</translation>
    </message>
</context>
<context>
    <name>SpellingLanguageMenu</name>
    <message>
        <location filename="../../app/window/SpellingLanguageMenu.cpp" line="+32"/>
        <source>&amp;Spelling Language</source>
        <translation>Sprache der &amp;Rechtschreibprüfung</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Spelling Language</source>
        <translation>Sprache der Rechtschreibprüfung</translation>
    </message>
</context>
<context>
    <name>SubViewerReader</name>
    <message>
        <location filename="../../format/SubViewerReader.cpp" line="+77"/>
        <source>Line %1 has a time past the largest the program can hold.</source>
        <translation>Zeile %1 enthält eine Zeit jenseits der größten, die das Programm verarbeiten kann.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Line %1 ends before it starts.</source>
        <translation>Zeile %1 endet, bevor sie beginnt.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The end is before the start: set the end to the start.</source>
        <translation>Das Ende liegt vor dem Anfang: Ende auf den Anfang gesetzt.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Line %1 should be the start and end of a subtitle, as in “0:00:01.000,0:00:04.000”.</source>
        <translation>Zeile %1 sollte Anfang und Ende eines Untertitels angeben, wie in „0:00:01.000,0:00:04.000“.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Took a line after a blank line, with no timing, for more text of the subtitle before it.</source>
        <translation>Eine Zeile ohne Zeitangabe nach einer Leerzeile als weiteren Text des vorigen Untertitels gelesen.</translation>
    </message>
    <message>
        <location line="-33"/>
        <source>Line %1 begins a subtitle without the blank line that ends the one before.</source>
        <translation>Zeile %1 beginnt einen Untertitel ohne die Leerzeile, die den vorigen beendet.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No blank line before this subtitle: started a new one here.</source>
        <translation>Keine Leerzeile vor diesem Untertitel: hier einen neuen begonnen.</translation>
    </message>
</context>
<context>
    <name>SubtitleFile</name>
    <message>
        <location filename="../../document/SubtitleFile.cpp" line="+77"/>
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
        <location line="+13"/>
        <source>The file could not be opened because it is not a regular file.</source>
        <translation>Die Datei konnte nicht geöffnet werden, weil sie keine normale Datei ist.</translation>
    </message>
    <message>
        <location line="-11"/>
        <location line="+22"/>
        <source>The file could not be opened because it is larger than %1 MB.</source>
        <translation>Die Datei konnte nicht geöffnet werden, weil sie größer als %1 MB ist.</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>The file could not be opened.
%1</source>
        <translation>Die Datei konnte nicht geöffnet werden.
%1</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>The file could not be read.
%1</source>
        <translation>Die Datei konnte nicht gelesen werden.
%1</translation>
    </message>
    <message>
        <location line="+149"/>
        <source>The file could not be saved because a folder has that name.</source>
        <translation>Die Datei konnte nicht gespeichert werden, weil ein Ordner diesen Namen trägt.</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>%1
It is in subtitle %2.</source>
        <translation>%1
Es steht in Untertitel %2.</translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+2"/>
        <location line="+18"/>
        <location line="+8"/>
        <location line="+3"/>
        <source>The file could not be saved.
%1</source>
        <translation>Die Datei konnte nicht gespeichert werden.
%1</translation>
    </message>
</context>
<context>
    <name>SubtitleFormat</name>
    <message>
        <location filename="../../format/SubtitleFormat.cpp" line="+9"/>
        <source>SubRip (SRT)</source>
        <translation>SubRip (SRT)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>WebVTT</source>
        <translation>WebVTT</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Advanced SubStation Alpha (ASS)</source>
        <translation>Advanced SubStation Alpha (ASS)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>SubStation Alpha (SSA)</source>
        <translation>SubStation Alpha (SSA)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Timed Text (TTML, IMSC)</source>
        <translation>Timed Text (TTML, IMSC)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>MicroDVD</source>
        <translation>MicroDVD</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>SubViewer (SBV)</source>
        <translation>SubViewer (SBV)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>MPL2</source>
        <translation>MPL2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scenarist Closed Captions (SCC)</source>
        <translation>Scenarist Closed Captions (SCC)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>EBU subtitles (STL)</source>
        <translation>EBU-Untertitel (STL)</translation>
    </message>
</context>
<context>
    <name>SubtitleFormatFilters</name>
    <message>
        <location filename="../../app/window/SubtitleFormatFilters.cpp" line="+33"/>
        <source>Subtitle files (%1)</source>
        <translation>Untertiteldateien (%1)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>SubtitleFormatIo</name>
    <message>
        <location filename="../../format/SubtitleFormatIo.cpp" line="+62"/>
        <source>%1 files cannot be read.</source>
        <translation>Dateien im Format %1 können nicht gelesen werden.</translation>
    </message>
    <message numerus="yes">
        <location line="+143"/>
        <source>the thousandths of a second in the times of %n subtitle(s), rounded to hundredths</source>
        <translation>
            <numerusform>die Tausendstelsekunden in den Zeiten von %n Untertitel, auf Hundertstel gerundet</numerusform>
            <numerusform>die Tausendstelsekunden in den Zeiten von %n Untertiteln, auf Hundertstel gerundet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>ASS override tags (positions, karaoke…) in %n subtitle(s)</source>
        <translation>
            <numerusform>ASS-Override-Tags (Positionen, Karaoke …) in %n Untertitel</numerusform>
            <numerusform>ASS-Override-Tags (Positionen, Karaoke …) in %n Untertiteln</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>WebVTT tags (voices, classes, languages…) in %n subtitle(s)</source>
        <translation>
            <numerusform>WebVTT-Tags (Stimmen, Klassen, Sprachen …) in %n Untertitel</numerusform>
            <numerusform>WebVTT-Tags (Stimmen, Klassen, Sprachen …) in %n Untertiteln</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>the colours of %n subtitle(s), written as the nearest of WebVTT&apos;s eight colour classes</source>
        <translation>
            <numerusform>die Farben von %n Untertitel, als die nächstliegende der acht WebVTT-Farbklassen geschrieben</numerusform>
            <numerusform>die Farben von %n Untertiteln, als die nächstliegende der acht WebVTT-Farbklassen geschrieben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>control characters in %n subtitle(s), which XML cannot hold</source>
        <translation>
            <numerusform>Steuerzeichen in %n Untertitel, die XML nicht aufnehmen kann</numerusform>
            <numerusform>Steuerzeichen in %n Untertiteln, die XML nicht aufnehmen kann</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>line or paragraph separators (U+2028, U+2029, U+0085) in %n subtitle(s), written as line breaks</source>
        <translation>
            <numerusform>Zeilen- oder Absatztrennzeichen (U+2028, U+2029, U+0085) in %n Untertitel, als Zeilenumbrüche geschrieben</numerusform>
            <numerusform>Zeilen- oder Absatztrennzeichen (U+2028, U+2029, U+0085) in %n Untertiteln, als Zeilenumbrüche geschrieben</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SubtitleTableModel</name>
    <message>
        <location filename="../../list/SubtitleTableModel.cpp" line="+246"/>
        <source>%1 ×%2</source>
        <comment>longest line, number of lines</comment>
        <translation>%1 ×%2</translation>
    </message>
    <message>
        <location line="-19"/>
        <location line="+38"/>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <location line="-48"/>
        <source>Misspelt: %1</source>
        <translation>Falsch geschrieben: %1</translation>
    </message>
    <message>
        <location line="+63"/>
        <source>Number</source>
        <translation>Nummer</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Reading speed</source>
        <translation>Lesegeschwindigkeit</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Longest line</source>
        <translation>Längste Zeile</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Seconds on screen</source>
        <translation>Sekunden auf dem Bildschirm</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Reading speed: words per minute, without formatting tags and speakers&apos; dashes</source>
        <translation>Lesegeschwindigkeit: Wörter pro Minute, ohne Formatierungs-Tags und Sprecherstriche</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Reading speed: visible characters per second, without line breaks and formatting tags</source>
        <translation>Lesegeschwindigkeit: sichtbare Zeichen pro Sekunde, ohne Zeilenumbrüche und Formatierungs-Tags</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Characters in the longest line (×: the number of lines)</source>
        <translation>Zeichen in der längsten Zeile (×: die Anzahl der Zeilen)</translation>
    </message>
    <message>
        <location line="+11"/>
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
    <message>
        <location line="+2"/>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>CPS</source>
        <comment>characters per second</comment>
        <translation>Z/s</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>WPM</source>
        <comment>words per minute</comment>
        <translation>W/min</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Line</source>
        <comment>characters in the longest line</comment>
        <translation>Zeile</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Edit Text</source>
        <translation>Text bearbeiten</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Edit Start Time</source>
        <translation>Startzeit bearbeiten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Edit End Time</source>
        <translation>Endzeit bearbeiten</translation>
    </message>
</context>
<context>
    <name>SubtitleTextBox</name>
    <message>
        <location filename="../../list/SubtitleTextBox.cpp" line="+87"/>
        <source>Characters in each line</source>
        <translation>Zeichen jeder Zeile</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Reading speed: what a viewer reads, characters or words as the quality profile counts, over the time on screen</source>
        <translation>Lesegeschwindigkeit: was ein Zuschauer liest, Zeichen oder Wörter, wie das Qualitätsprofil zählt, über die Zeit auf dem Bildschirm</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Subtitle text</source>
        <translation>Untertiteltext</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The selected subtitle&apos;s text; Ctrl+I and Ctrl+B make words italic or bold, Tab goes on to the timeline.</source>
        <translation>Der Text des ausgewählten Untertitels; Strg+I und Strg+B setzen Wörter kursiv oder fett, Tab geht weiter zur Zeitleiste.</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>Select one subtitle to edit its text here</source>
        <translation>Wählen Sie einen Untertitel, um seinen Text hier zu bearbeiten</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Edit Text</source>
        <translation>Text bearbeiten</translation>
    </message>
    <message>
        <location line="+63"/>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>Characters in each line: %1 (at most %2)</source>
        <translation>Zeichen je Zeile: %1 (höchstens %2)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 words per minute (at most %2)</source>
        <translation>%1 Wörter pro Minute (höchstens %2)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 characters per second (at most %2)</source>
        <translation>%1 Zeichen pro Sekunde (höchstens %2)</translation>
    </message>
</context>
<context>
    <name>SubtitleTextEditor</name>
    <message>
        <location filename="../../list/SubtitleTextEditor.cpp" line="+95"/>
        <source>No Suggestions</source>
        <translation>Keine Vorschläge</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Add “%1” to Dictionary</source>
        <translation>„%1“ zum Wörterbuch hinzufügen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Add to Dictionary</source>
        <translation>Zum Wörterbuch hinzufügen</translation>
    </message>
</context>
<context>
    <name>SubtitlesTableView</name>
    <message>
        <location filename="../../list/SubtitlesTableView.cpp" line="+28"/>
        <source>Subtitles</source>
        <translation>Untertitel</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>One subtitle a row. Return edits the cell; Space, J, K and L play, Left and Right step one frame.</source>
        <translation>Ein Untertitel je Zeile. Eingabe bearbeitet die Zelle; Leertaste, J, K und L spielen ab, Links und Rechts gehen ein Bild weiter.</translation>
    </message>
</context>
<context>
    <name>SubtitlesTableViewController</name>
    <message>
        <location filename="../../list/SubtitlesTableViewController.cpp" line="+173"/>
        <source>Merge Subtitles</source>
        <translation>Untertitel zusammenführen</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+102"/>
        <source>Add Subtitle</source>
        <translation>Untertitel hinzufügen</translation>
    </message>
    <message>
        <location line="-88"/>
        <location line="+89"/>
        <source>Duplicate Subtitle</source>
        <translation>Untertitel duplizieren</translation>
    </message>
    <message>
        <location line="-79"/>
        <source>Delete Subtitle</source>
        <translation>Untertitel löschen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Delete Subtitles</source>
        <translation>Untertitel löschen</translation>
    </message>
    <message>
        <location line="+43"/>
        <location line="+40"/>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>Split Subtitle</source>
        <translation>Untertitel teilen</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Split Subtitle at Text Cursor</source>
        <translation>Untertitel am Textcursor teilen</translation>
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
    <name>SyncResult</name>
    <message>
        <location filename="../../model/timing/SyncResult.cpp" line="+75"/>
        <source>These subtitles do not seem to match this film&apos;s speech, so nothing was moved (sure they match: %1%).</source>
        <translation>Diese Untertitel scheinen nicht zur Sprache dieses Films zu passen, daher wurde nichts verschoben (Sicherheit, dass sie passen: %1 %).</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Moved by %1 s</source>
        <translation>Um %1 s verschoben</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>converted from %1 to %2 fps</source>
        <translation>von %1 auf %2 Bilder/s umgerechnet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a break at %1 adds %2 s</source>
        <translation>ein Bruch bei %1 fügt %2 s hinzu</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>a break at %1 removes %2 s</source>
        <translation>ein Bruch bei %1 entfernt %2 s</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1. Sure: %2%.</source>
        <translation>%1. Sicherheit: %2 %.</translation>
    </message>
</context>
<context>
    <name>SynchronizeDialog</name>
    <message>
        <location filename="../../panels/SynchronizeDialog.cpp" line="+12"/>
        <source>Synchronise by Two Points</source>
        <translation>An zwei Punkten synchronisieren</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Give two subtitles, far apart, their correct start times. Every time moves along the line through the two corrections.</source>
        <translation>Geben Sie zwei weit auseinanderliegenden Untertiteln ihre richtigen Startzeiten. Alle Zeiten verschieben sich entlang der Geraden durch die beiden Korrekturen.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&amp;First subtitle:</source>
        <translation>&amp;Erster Untertitel:</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+2"/>
        <source>starts at:</source>
        <translation>beginnt bei:</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>From &amp;Video</source>
        <translation>Vom &amp;Video</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Second subtitle:</source>
        <translation>&amp;Zweiter Untertitel:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>From V&amp;ideo</source>
        <translation>Vom V&amp;ideo</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>First subtitle starts at</source>
        <translation>Erster Untertitel beginnt bei</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Second subtitle starts at</source>
        <translation>Zweiter Untertitel beginnt bei</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Synchronising needs two subtitles.</source>
        <translation>Zum Synchronisieren sind zwei Untertitel nötig.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The first start</source>
        <translation>Die erste Startzeit</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The second start</source>
        <translation>Die zweite Startzeit</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Choose two subtitles that start at different times, and corrected times in the same order.</source>
        <translation>Wählen Sie zwei Untertitel mit verschiedenen Startzeiten und korrigierte Zeiten in derselben Reihenfolge.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Synchronise</source>
        <translation>Synchronisieren</translation>
    </message>
</context>
<context>
    <name>TextEncoding</name>
    <message>
        <location filename="../../document/TextEncoding.cpp" line="+84"/>
        <location filename="../../app/window/ReopenWithEncodingMenu.cpp" line="+20"/>
        <source>Unicode</source>
        <translation>Unicode</translation>
    </message>
    <message>
        <location line="+2"/>
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
        <translation>Der Text ist kein gültiges %1: Das Byte %2 an Byte-Position %3 ist in dieser Kodierung kein Zeichen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The text is not valid %1: the bytes %2 at byte offset %3 are not a character in this encoding.</source>
        <translation>Der Text ist kein gültiges %1: Die Bytes %2 an Byte-Position %3 sind in dieser Kodierung kein Zeichen.</translation>
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
        <translation>Die Textkodierung Nummer %1 ist nicht bekannt.</translation>
    </message>
    <message>
        <location line="+88"/>
        <source>The text encoding of the file could not be detected.
Choose its encoding in the Open dialog.</source>
        <translation>Die Textkodierung der Datei konnte nicht erkannt werden.
Wählen Sie ihre Kodierung im Öffnen-Dialog.</translation>
    </message>
</context>
<context>
    <name>TimeDisplay</name>
    <message>
        <location filename="../../format/TimeDisplay.cpp" line="+47"/>
        <source>Timecode and frame numbers need the video&apos;s frame rate, which is not known: times show in milliseconds.</source>
        <translation>Timecode und Bildnummern brauchen die Bildrate des Videos, die nicht bekannt ist: Zeiten werden in Millisekunden angezeigt.</translation>
    </message>
    <message>
        <location line="+66"/>
        <source>A timecode or a frame number needs the video&apos;s frame rate, which is not known: type the time as 00:00:01,500.</source>
        <translation>Ein Timecode oder eine Bildnummer braucht die Bildrate des Videos, die nicht bekannt ist: Geben Sie die Zeit als 00:00:01,500 ein.</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>“%1” is not a time: type it as 00:00:01,500, as timecode 00:00:01:12 or as a frame number.</source>
        <translation>„%1“ ist keine Zeit: Geben Sie sie als 00:00:01,500, als Timecode 00:00:01:12 oder als Bildnummer ein.</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Minutes and seconds go from 00 to 59.</source>
        <translation>Minuten und Sekunden gehen von 00 bis 59.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>At %1 frames per second the frames go from 00 to %2.</source>
        <translation>Bei %1 Bildern pro Sekunde gehen die Bilder von 00 bis %2.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>“;” marks drop-frame timecode, which only 29.97 and 59.94 frames per second use: write “:” before the frames.</source>
        <translation>„;“ kennzeichnet Drop-Frame-Timecode, den nur 29,97 und 59,94 Bilder pro Sekunde verwenden: Schreiben Sie „:“ vor die Bilder.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Drop-frame timecode skips frames 00 to %1 at the start of every minute but every tenth.</source>
        <translation>Drop-Frame-Timecode überspringt die Bilder 00 bis %1 zu Beginn jeder Minute außer jeder zehnten.</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>That is before the timecode offset %1, where the video starts.</source>
        <translation>Das liegt vor dem Timecode-Versatz %1, bei dem das Video beginnt.</translation>
    </message>
</context>
<context>
    <name>TimecodeOffsetDialog</name>
    <message>
        <location filename="../../panels/TimecodeOffsetDialog.cpp" line="+8"/>
        <source>Timecode Offset</source>
        <translation>Timecode-Versatz</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The time the video&apos;s first frame shows, as 10:00:00:00 for many films. Times are shown and typed with it added; the subtitle file still counts from zero.</source>
        <translation>Die Zeit, die das erste Bild des Videos zeigt, bei vielen Filmen 10:00:00:00. Zeiten werden mit diesem Versatz angezeigt und eingegeben; die Untertiteldatei zählt weiter ab null.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Video &amp;starts at:</source>
        <translation>Video &amp;beginnt bei:</translation>
    </message>
</context>
<context>
    <name>TimelineAccessible</name>
    <message>
        <location filename="../../timeline/TimelineAccessible.cpp" line="+28"/>
        <source>subtitle %1 of %2</source>
        <translation>Untertitel %1 von %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>subtitle %1</source>
        <translation>Untertitel %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1, %2 to %3: %4</source>
        <comment>subtitle, start, end, text</comment>
        <translation>%1, %2 bis %3: %4</translation>
    </message>
    <message>
        <location line="+59"/>
        <source>no subtitles</source>
        <translation>keine Untertitel</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>no subtitle selected</source>
        <translation>kein Untertitel ausgewählt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>between subtitles %1 and %2</source>
        <translation>zwischen den Untertiteln %1 und %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>before subtitle 1</source>
        <translation>vor Untertitel 1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>after subtitle %1</source>
        <translation>nach Untertitel %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Timeline, %1</source>
        <translation>Zeitleiste, %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Previous: %1.</source>
        <translation>Davor: %1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Next: %1.</source>
        <translation>Danach: %1.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Left and Right select the previous and next subtitle, Home and End the first and last.</source>
        <translation>Links und Rechts wählen den vorherigen und nächsten Untertitel, Pos1 und Ende den ersten und letzten.</translation>
    </message>
</context>
<context>
    <name>TimelineInput</name>
    <message>
        <location filename="../../timeline/TimelineInput.cpp" line="+137"/>
        <source>Remove Shot Change</source>
        <translation>Szenenwechsel entfernen</translation>
    </message>
    <message>
        <location line="+310"/>
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
    <name>TimelineViewController</name>
    <message>
        <location filename="../../timeline/TimelineViewController.cpp" line="+54"/>
        <source>Timeline</source>
        <translation>Zeitleiste</translation>
    </message>
</context>
<context>
    <name>TimingDialog</name>
    <message>
        <location filename="../../panels/TimingDialog.cpp" line="+157"/>
        <source>Takes the time from the playback position</source>
        <translation>Übernimmt die Zeit von der Wiedergabeposition</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>%1: %2</source>
        <comment>what is wrong with a field: the field, then why</comment>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>TimingPage</name>
    <message>
        <location filename="../../app/preferences/TimingPage.cpp" line="+18"/>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <location line="+3"/>
        <source> frames</source>
        <translation> Bilder</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A subtitle inserted at the cursor &amp;lasts:</source>
        <translation>Ein am Cursor eingefügter Untertitel &amp;dauert:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Chaining closes gaps shorter than:</source>
        <translation>&amp;Verketten schließt Lücken kürzer als:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>An inserted subtitle is shortened to end the minimum gap before the next one. Chaining makes each shorter gap exactly the minimum gap of the limits. Frames are the video&apos;s, or 24 per second while no video is open.</source>
        <translation>Ein eingefügter Untertitel wird gekürzt, sodass er den Mindestabstand vor dem nächsten endet. Verketten macht jede kürzere Lücke genau zum Mindestabstand der Grenzwerte. Bilder sind die des Videos, oder 24 pro Sekunde, solange kein Video geöffnet ist.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Restore &amp;Defaults</source>
        <translation>&amp;Standard wiederherstellen</translation>
    </message>
</context>
<context>
    <name>TolerantSubtitleReader</name>
    <message>
        <location filename="../../format/TolerantSubtitleReader.cpp" line="+196"/>
        <source>Removed the blank characters before the timing.</source>
        <translation>Die Leerzeichen vor der Zeitangabe entfernt.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Removed the blank characters after the timing.</source>
        <translation>Die Leerzeichen nach der Zeitangabe entfernt.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Removed a space before the timing.</source>
        <translation>Ein Leerzeichen vor der Zeitangabe entfernt.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Removed a space after the timing.</source>
        <translation>Ein Leerzeichen nach der Zeitangabe entfernt.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Removed %1 spaces before the timing.</source>
        <translation>%1 Leerzeichen vor der Zeitangabe entfernt.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Removed %1 spaces after the timing.</source>
        <translation>%1 Leerzeichen nach der Zeitangabe entfernt.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Read the timing as %1 --&gt; %2.</source>
        <translation>Die Zeitangabe als %1 --&gt; %2 gelesen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>A time without hours is minutes and seconds.</source>
        <translation>Eine Zeit ohne Stunden sind Minuten und Sekunden.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>A millisecond field of fewer than three digits counts whole milliseconds (“5” is 5 ms), as players read it.</source>
        <translation>Ein Millisekundenfeld mit weniger als drei Ziffern zählt ganze Millisekunden („5“ sind 5 ms), wie Player es lesen.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Left out “%1” after the end time.</source>
        <translation>„%1“ nach der Endzeit ausgelassen.</translation>
    </message>
    <message>
        <location line="+120"/>
        <source>Subtitle %1 has no text: the blank line ends it, and the next subtitle starts after it.</source>
        <translation>Untertitel %1 hat keinen Text: Die Leerzeile beendet ihn, danach beginnt der nächste Untertitel.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Took the line of spaces for the blank line that ends subtitle %1.</source>
        <translation>Die Zeile aus Leerzeichen wurde als die Leerzeile gelesen, die Untertitel %1 beendet.</translation>
    </message>
    <message>
        <location line="+2"/>
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
        <location line="+9"/>
        <source>No blank line before this subtitle: started a new one here.</source>
        <translation>Keine Leerzeile vor diesem Untertitel: Hier beginnt ein neuer.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Line %1 holds a NUL character (“%2”): the text is not SRT from here on, or not in this encoding.</source>
        <translation>Zeile %1 enthält ein NUL-Zeichen („%2“): Der Text ist ab hier kein SRT oder nicht in dieser Kodierung.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Line %1 is not SRT: “%2” and the lines after it follow the blank line that ends subtitle %3, but begin no subtitle.</source>
        <translation>Zeile %1 ist kein SRT: „%2“ und die Zeilen danach folgen auf die Leerzeile, die Untertitel %3 beendet, beginnen aber keinen Untertitel.</translation>
    </message>
    <message>
        <location line="+18"/>
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
        <source>Subtitle numbered %1 where %2 was expected: numbered in order.</source>
        <translation>Untertitel mit der Nummer %1, wo %2 erwartet war: der Reihe nach nummeriert.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Removed the spaces around the number %1.</source>
        <translation>Die Leerzeichen um die Nummer %1 entfernt.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Subtitle %1 has no number.</source>
        <translation>Untertitel %1 hat keine Nummer.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The text ends after the number %1, with no timing or text: left it out.</source>
        <translation>Der Text endet nach der Nummer %1, ohne Zeitangabe oder Text: ausgelassen.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Line %1: “%2” is not the timing line of the subtitle numbered %3.</source>
        <translation>Zeile %1: „%2“ ist nicht die Zeitangabe des Untertitels mit der Nummer %3.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Line %1 is not SRT: “%2” is neither a subtitle number nor a timing line.</source>
        <translation>Zeile %1 ist kein SRT: „%2“ ist weder eine Untertitelnummer noch eine Zeitangabe.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The end %1 of subtitle %2 is before its start %3: set the end to the start.</source>
        <translation>Das Ende %1 von Untertitel %2 liegt vor seinem Anfang %3: Ende auf den Anfang gesetzt.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The text ends after the timing of subtitle %1: it has no text.</source>
        <translation>Der Text endet nach der Zeitangabe von Untertitel %1: Er hat keinen Text.</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Line %1 (empty): %2</source>
        <translation>Zeile %1 (leer): %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Line %1 “%2”: %3</source>
        <translation>Zeile %1 „%2“: %3</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>…and 1 more repair, not listed.</source>
        <translation>… und 1 weitere Reparatur, nicht aufgeführt.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>…and %1 more repairs, not listed.</source>
        <translation>… und %1 weitere Reparaturen, nicht aufgeführt.</translation>
    </message>
</context>
<context>
    <name>TranslationCommands</name>
    <message>
        <location filename="../../app/commands/TranslationCommands.cpp" line="+40"/>
        <source>Open Original</source>
        <translation>Original öffnen</translation>
    </message>
    <message numerus="yes">
        <location line="+26"/>
        <source>Original “%1” repaired and attached: %n line(s)</source>
        <translation>
            <numerusform>Original „%1“ repariert und angehängt: %n Zeile</numerusform>
            <numerusform>Original „%1“ repariert und angehängt: %n Zeilen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>Original “%1” attached: %n line(s)</source>
        <translation>
            <numerusform>Original „%1“ angehängt: %n Zeile</numerusform>
            <numerusform>Original „%1“ angehängt: %n Zeilen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+17"/>
        <source>%n subtitle(s) timed from the original</source>
        <translation>
            <numerusform>%n Untertitel nach dem Original getimt</numerusform>
            <numerusform>%n Untertitel nach dem Original getimt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>; %n empty subtitle(s) added for the rest of it</source>
        <translation>
            <numerusform>; %n leerer Untertitel für den Rest hinzugefügt</numerusform>
            <numerusform>; %n leere Untertitel für den Rest hinzugefügt</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TtmlNamespaces</name>
    <message>
        <location filename="../../format/TtmlNamespaces.cpp" line="+44"/>
        <source>The prefix “%1” is declared for the XML namespace, which only “xml” may name: read it as a namespace of its own.</source>
        <translation>Das Präfix „%1“ ist für den XML-Namensraum deklariert, den nur „xml“ benennen darf: als eigener Namensraum gelesen.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>The prefix “%1” is used without its declaration: declared it as TTML’s.</source>
        <translation>Das Präfix „%1“ wird ohne Deklaration verwendet: als das Präfix von TTML deklariert.</translation>
    </message>
</context>
<context>
    <name>TtmlReader</name>
    <message>
        <location filename="../../format/TtmlReader.cpp" line="+204"/>
        <source>Line %1 is not well-formed XML: %2.</source>
        <translation>Zeile %1 ist kein wohlgeformtes XML: %2.</translation>
    </message>
    <message>
        <location line="+238"/>
        <source>Line %1: “%2” is not a time.</source>
        <translation>Zeile %1: „%2“ ist keine Zeit.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Line %1 has a time past the largest the program can hold.</source>
        <translation>Zeile %1 enthält eine Zeit jenseits der größten, die das Programm verarbeiten kann.</translation>
    </message>
    <message>
        <location line="+81"/>
        <source>Line %1: the paragraph has no end time, so it would be shown for ever.</source>
        <translation>Zeile %1: Der Absatz hat keine Endzeit und würde daher für immer angezeigt.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Left out a paragraph with no end time.</source>
        <translation>Einen Absatz ohne Endzeit ausgelassen.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Line %1: the paragraph ends before it begins.</source>
        <translation>Zeile %1: Der Absatz endet, bevor er beginnt.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The end is before the start: set the end to the start.</source>
        <translation>Das Ende liegt vor dem Anfang: Ende auf den Anfang gesetzt.</translation>
    </message>
    <message>
        <location line="+128"/>
        <source>Line %1 refers to the entity “%2”, whose text is outside the file; it is not fetched.</source>
        <translation>Zeile %1 verweist auf die Entität „%2“, deren Text außerhalb der Datei liegt; er wird nicht abgerufen.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Left it out.</source>
        <translation>Ausgelassen.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Line %1: the document is &lt;%2&gt;, not TTML’s &lt;tt&gt;.</source>
        <translation>Zeile %1: Das Dokument ist &lt;%2&gt;, nicht &lt;tt&gt; wie bei TTML.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>The file holds no TTML document (no &lt;tt&gt; element).</source>
        <translation>Die Datei enthält kein TTML-Dokument (kein &lt;tt&gt;-Element).</translation>
    </message>
    <message>
        <location line="-255"/>
        <source>Read “%1” as a clock time, as players do, though TTML writes hours, minutes and seconds with a point before the fraction.</source>
        <translation>„%1“ als Uhrzeit gelesen, wie Player es tun, obwohl TTML Stunden, Minuten und Sekunden mit einem Punkt vor dem Bruchteil schreibt.</translation>
    </message>
</context>
<context>
    <name>VideoFrameReader</name>
    <message>
        <location filename="../../shots/VideoFrameReader.cpp" line="+82"/>
        <source>The file &quot;%1&quot; does not exist.</source>
        <translation>Die Datei „%1“ existiert nicht.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&quot;%1&quot; is not a file.</source>
        <translation>„%1“ ist keine Datei.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&quot;%1&quot; could not be read as a video: %2</source>
        <translation>„%1“ konnte nicht als Video gelesen werden: %2</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>&quot;%1&quot; has no video stream.</source>
        <translation>„%1“ hat keine Videospur.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&quot;%1&quot;: there is no decoder for its video.</source>
        <translation>„%1“: Für sein Video gibt es keinen Decoder.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&quot;%1&quot;: its video could not be decoded: %2</source>
        <translation>„%1“: Sein Video konnte nicht dekodiert werden: %2</translation>
    </message>
    <message>
        <location line="+73"/>
        <source>the picture format %1 is not supported</source>
        <translation>das Bildformat %1 wird nicht unterstützt</translation>
    </message>
</context>
<context>
    <name>VideoPlayerViewController</name>
    <message>
        <location filename="../../player/VideoPlayerViewController.cpp" line="+80"/>
        <source>No video.
To attach one, choose Open Video… in the File menu, or drop a video file here.</source>
        <translation>Kein Video.
Um eines anzuhängen, wählen Sie „Video öffnen …“ im Menü „Datei“ oder ziehen Sie eine Videodatei hierher.</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Video</source>
        <translation>Video</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Space plays and pauses; J, K and L shuttle; Left and Right step one frame.</source>
        <translation>Die Leertaste spielt ab und hält an; J, K und L spulen; Links und Rechts gehen ein Bild weiter.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <location line="+275"/>
        <source>“%1” cannot be played.
%2</source>
        <translation>„%1“ kann nicht abgespielt werden.
%2</translation>
    </message>
</context>
<context>
    <name>VideoShotChanges</name>
    <message>
        <location filename="../../media/VideoShotChanges.cpp" line="+31"/>
        <source>Add Shot Change</source>
        <translation>Szenenwechsel hinzufügen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Remove Shot Change</source>
        <translation>Szenenwechsel entfernen</translation>
    </message>
</context>
<context>
    <name>WaveformCommand</name>
    <message>
        <location filename="../../media/WaveformCommand.cpp" line="+37"/>
        <source>%1: no decodable audio stream</source>
        <translation>%1: keine dekodierbare Tonspur</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: the duration of the audio is unknown</source>
        <translation>%1: die Dauer des Tons ist unbekannt</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1: the audio could not be decoded</source>
        <translation>%1: der Ton konnte nicht dekodiert werden</translation>
    </message>
</context>
<context>
    <name>WebVttReader</name>
    <message>
        <location filename="../../format/WebVttReader.cpp" line="+390"/>
        <source>The times are not written as WebVTT writes them (“[hh:]mm:ss.ttt”); a repairing read takes them.</source>
        <translation>Die Zeiten sind nicht so geschrieben, wie WebVTT sie schreibt („[hh:]mm:ss.ttt“); ein reparierendes Lesen übernimmt sie.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>This is not a WebVTT timing line (“[hh:]mm:ss.ttt --&gt; [hh:]mm:ss.ttt”), or a time in it is too large.</source>
        <translation>Dies ist keine WebVTT-Zeitangabe („[hh:]mm:ss.ttt --&gt; [hh:]mm:ss.ttt“), oder eine Zeit darin ist zu groß.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Left out the cue, as players do; it stays in the file as it is: %1</source>
        <translation>Cue ausgelassen, wie Player es tun; er bleibt unverändert in der Datei: %1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The cue ends at %1, before it starts at %2.</source>
        <translation>Der Cue endet um %1, bevor er um %2 beginnt.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Set the end to the start.</source>
        <translation>Das Ende auf den Anfang gesetzt.</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Read the times as %1 --&gt; %2, as WebVTT writes them.</source>
        <translation>Die Zeiten als %1 --&gt; %2 gelesen, wie WebVTT sie schreibt.</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>A WebVTT file begins with the line “WEBVTT”.</source>
        <translation>Eine WebVTT-Datei beginnt mit der Zeile „WEBVTT“.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Added the line “WEBVTT” that a WebVTT file begins with.</source>
        <translation>Die Zeile „WEBVTT“ ergänzt, mit der eine WebVTT-Datei beginnt.</translation>
    </message>
</context>
<context>
    <name>WrittenTimes</name>
    <message numerus="yes">
        <location filename="../../format/WrittenTimes.cpp" line="+91"/>
        <source>the times of %n subtitle(s) past the latest %1 holds, written as that latest time</source>
        <translation>
            <numerusform>die Zeiten von %n Untertitel nach der spätesten, die %1 fassen kann, als diese späteste geschrieben</numerusform>
            <numerusform>die Zeiten von %n Untertiteln nach der spätesten, die %1 fassen kann, als diese späteste geschrieben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>the ends before their starts of %n subtitle(s), written as their starts</source>
        <translation>
            <numerusform>das Ende vor dem Anfang von %n Untertitel, als der Anfang geschrieben</numerusform>
            <numerusform>die Enden vor den Anfängen von %n Untertiteln, als die Anfänge geschrieben</numerusform>
        </translation>
    </message>
</context>
</TS>

#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The subtitle file formats the program reads, and what it knows of each: its name, the
// extensions its files have, whether it can write it, and how to tell it by content.
class SubtitleFormat
{
    Q_DECLARE_TR_FUNCTIONS(SubtitleFormat)

public:
    enum Id { Srt, WebVtt, Ass, Ssa, Ttml, MicroDvd, SubViewer, Mpl2, Scc, EbuStl };
    static constexpr Id all[] = {Srt, WebVtt, Ass, Ssa, Ttml, MicroDvd, SubViewer, Mpl2, Scc, EbuStl};

    // As people know it: "SubRip (SRT)", "WebVTT", …
    static QString name(Id format);
    // Short, for the status bar: "SRT", "WebVTT", "ASS", …
    static QString shortName(Id format);
    // Without dots; the first is the one a new file gets.
    static QStringList extensions(Id format);
    static bool isWritable(Id format);
    // Whether files of the format are written in UTF-8 whatever the document was read in:
    // WebVTT allows no other encoding, and TTML (IMSC) asks for UTF-8, which every XML
    // reader knows; SCC is ASCII, which UTF-8 writes as it is.
    static bool isUtf8Only(Id format);
    // Whether files of the format are bytes, not text (EBU-STL): told by their bytes, and
    // held in a string one byte to a character (Latin-1) where a text is passed.
    static bool isBinary(Id format) { return format == EbuStl; }
    // The format a file name's extension stands for, if any. ".sub" is MicroDVD's.
    static std::optional<Id> fromFileName(const QString &path);
    // The format the text is written in, told by its shape: its first lines, and for the
    // sections of a script, whether subtitles' timing lines come before them (an SRT file
    // may hold "[Events]" as a subtitle's text). SRT when nothing else fits. An XML
    // prolog is looked at whole; the rest only in the first 64 KB.
    static Id detect(QStringView text);
    // The key settings and recovery use for a format ("srt", "vtt", "ass", …), and back.
    static QString key(Id format);
    static std::optional<Id> fromKey(QStringView key);
};

#pragma once

#include "format/FormatKeep.h"
#include "model/Expected.h"
#include "model/Subtitle.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Writes subtitles as an EBU-STL file. With the keep of a file read before, its general
// information block and every block of a subtitle nobody changed are written back byte for
// byte, and a changed subtitle keeps its numbers, flags, placement and the control codes
// of its rows. A new file is Teletext (40 characters a row) in the first character table
// that holds every text.
class EbuStlWriter
{
    Q_DECLARE_TR_FUNCTIONS(EbuStlWriter)

public:
    struct Settings
    {
        double frameRate = 0; // the document's; 0 while unknown, written at 25
        QString language; // "pt_BR", "en"…; empty when unknown
    };
    // The file's bytes, or why the subtitles cannot be written (a frame rate the format
    // has no code for, a character no table holds).
    static Expected<QByteArray, QString> write(const SubtitleList &subtitles, const FormatKeep *keep, const Settings &settings);
    static Expected<QByteArray, QString> write(const SubtitleList &subtitles, const FormatKeep *keep)
    {
        return write(subtitles, keep, Settings());
    }
    // What writing loses: rows cut to the row's limit, colours written as the nearest of
    // the eight, tags it has no code for, times moved to a frame.
    static QStringList losses(const SubtitleList &subtitles, const FormatKeep *keep, const Settings &settings);
    static QStringList losses(const SubtitleList &subtitles, const FormatKeep *keep) { return losses(subtitles, keep, Settings()); }
};

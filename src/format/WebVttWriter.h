#pragma once

#include "format/FormatKeep.h"
#include "model/Subtitle.h"

#include <QString>
#include <QStringView>

#include <optional>

// Writes WebVTT. Given the keep of the WebVTT file the subtitles were read from, it writes
// the header, notes, styles and regions back as they were, every unedited cue byte for
// byte, and keeps the identifier and settings of an edited cue (its timing line when only
// the text changed, its text lines when only the times changed). Otherwise it writes
// "WEBVTT", a blank line and the cues with hh:mm:ss.ttt times.
class WebVttWriter
{
public:
    static QString write(const SubtitleList &subtitles, const FormatKeep *keep);

    // "hh:mm:ss.ttt", or "mm:ss.ttt" under an hour when `withHours` is false; negative
    // times are written as 0.
    static QString timestamp(double seconds, bool withHours = true);
    // The subtitle's text as cue text lines: <i> <b> <u> as they are, colours as WebVTT's
    // colour classes, WebVTT's own tags as written, &, < and > escaped; placement tags and
    // other formats' tags left out (blank lines too, which would end the cue).
    static QString cueText(QStringView text);
    // The colour class a <font color> value is written as, and whether it is that colour
    // exactly or the nearest of the eight; nothing for a value that names no colour.
    struct ColourClass
    {
        QString name;
        bool exact = false;
    };
    static std::optional<ColourClass> colourClass(QStringView colour);
    // The settings that give a {\anN} placement ("line:0 align:left" for 7…); empty for 2.
    static QString placementSettings(int an);
};

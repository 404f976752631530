#pragma once

#include "format/FormatKeep.h"
#include "format/SubtitleFormat.h"
#include "model/Subtitle.h"

#include <QCoreApplication>
#include <QStringList>

#include <memory>
#include <optional>

// The times each format can write so that its own reader takes them back: none before 0
// or past the latest its reader accepts, and no end before its start.
class WrittenTimes
{
    Q_DECLARE_TR_FUNCTIONS(WrittenTimes)

public:
    // The latest time `format` writes: the largest its reader accepts.
    static double latest(SubtitleFormat::Id format);

    struct Fitted
    {
        SubtitleList subtitles;
        // The keep the subtitles were read with, its cues on the fitted copies.
        std::shared_ptr<const FormatKeep> keep;
    };
    // Copies of the subtitles, their times brought within what `format` writes (a late
    // time to the latest, an end before its start to the start); nothing when all fit.
    // A cue of `keep` (of `format`) that nobody touched is left as the file had it.
    static std::optional<Fitted> fitted(SubtitleFormat::Id format, const SubtitleList &subtitles, const FormatKeep *keep);

    // What fitting changes, one phrase each for the list of what a save leaves out.
    static QStringList changes(SubtitleFormat::Id format, const SubtitleList &subtitles, const FormatKeep *keep);
};

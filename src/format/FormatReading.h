#pragma once

#include "format/FormatKeep.h"
#include "format/TolerantSubtitleReader.h"
#include "model/Subtitle.h"

#include <memory>

// What reading a subtitle file in any format gives.
struct FormatReading
{
    SubtitleList subtitles; // sorted by start (stable)
    // What the file holds beyond times and texts; none for SRT.
    std::shared_ptr<const FormatKeep> keep;
    // What a repairing read mended, in line order (the first ones), and how many more.
    QList<TolerantSubtitleReader::Repair> repairs = {};
    qsizetype unlistedRepairs = 0;
};

// How to read: strictly (the first fault is the message) or mending what plainly means
// one thing; and the frame rate for formats that count frames (0: the file's own, else
// 23.976).
struct FormatReadOptions
{
    bool repairing = false;
    double frameRate = 0;
    // The caption channel an SCC file is read from: 1 or 2.
    int sccChannel = 1;
};

#pragma once

#include "model/Expected.h"
#include "model/Subtitle.h"

#include <QCoreApplication>

class QTextStream;

// What `--snap-to-speech`, `--sync` and `--align` do to a file's subtitles, from the speech in a
// video's sound, with what the window would go by besides: the video's frame rate, the
// shot changes the editor found in it before (kept in the cache), the user's limits and
// speech settings. The speech is found in the video's audio track `audioTrack` (from 1).
// What was done is told on `out`, what was left on `err`; an error when the speech cannot
// be found (the track among them) or the subtitles do not belong to the video. The subtitles
// are retimed where they are, so that what their file held beyond times stays theirs.
class SpeechTimingCommand
{
    Q_DECLARE_TR_FUNCTIONS(SpeechTimingCommand)

public:
    // Align places each subtitle where its words are spoken, around its times when they
    // fit the speech; AlignScript the same for lines that have no times of their own.
    enum class Kind { Snap, Sync, Align, AlignScript };

    [[nodiscard]] static Expected<SubtitleList, QString> apply(Kind kind, const SubtitleList &subtitles,
                                                               const QString &videoPath, int audioTrack,
                                                               const QString &inputName,
                                                               QTextStream &out, QTextStream &err);
};

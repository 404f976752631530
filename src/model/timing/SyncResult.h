#pragma once

#include "model/LinearTimeMap.h"
#include "model/SpeechStretches.h"
#include "model/Subtitle.h"

#include <QCoreApplication>

#include <optional>
#include <vector>

// Subtitles timed for a video at one frame rate, shown with another: the same frames come
// at times `rate()` times as late.
struct FrameRateConversion
{
    double fromFps = 25;
    double toFps = 25;
    double rate() const { return fromFps / toFps; }
};

// Where subtitles belong in a film, found from the film's speech: the subtitles' times in
// pieces, each moved along its own line; between pieces the film has a stretch the
// subtitles lack or lacks one they have.
class SyncResult
{
    Q_DECLARE_TR_FUNCTIONS(SyncResult)

public:
    struct Piece
    {
        double from = 0; // the subtitles' time where the piece begins (the first begins anywhere)
        LinearTimeMap line = LinearTimeMap::shift(0);
    };
    // Halfway through the pause between the last subtitle before it and the first after.
    struct Break
    {
        double originalTime = 0; // in the subtitles' time
        double newTime = 0;      // where the film is at that moment
        double jump = 0;         // seconds later (or, below zero, earlier) after it
    };

    // In order of `from`; never empty.
    std::vector<Piece> pieces{Piece{}};
    // The change of frame rate all pieces share, if any.
    std::optional<FrameRateConversion> conversion;
    // Whether the subtitles are those of this film at all; when not, nothing should move.
    bool belongs = false;
    // How sure the alignment is, 0 to 1.
    double confidence = 0;
    // The fraction of the subtitles' time on speech, as they were and once moved.
    double speechBefore = 0;
    double speechAfter = 0;

    // A time of the subtitles moved into the film, on whole milliseconds and never below zero.
    double map(double time) const;
    // A subtitle's start and end, both moved with the piece its start is in.
    SpeechStretch map(const SpeechStretch &subtitle) const;
    // The new start and end of each subtitle, in the order given; a subtitle moves with the
    // piece its start is in.
    QList<Subtitle::Values> valuesFor(const SubtitleList &subtitles) const;
    std::vector<Break> breaks() const;
    // One or two sentences for the user: the shift, the frame rates, the breaks and how sure.
    QString describe() const;

private:
    const Piece &pieceAt(double time) const;
};

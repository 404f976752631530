#pragma once

#include "model/Subtitle.h"
#include "model/timing/TimingNudge.h"

#include <QList>

// Presses of a nudge by a fixed time (a tenth of a second) in a row on the same
// subtitles. Where the presses add up to is put on the frame grid once, not each step:
// ten presses move a second at any rate (at 25 fps steps of 3 and 2 frames, where a step
// rounded on its own would be 3 frames, 120 ms), and a press back undoes a press forth.
class NudgeRun
{
public:
    explicit NudgeRun(double step) : m_step(step) {}

    // This press's move in seconds (negative: earlier), a whole number of frames, at least
    // one. Another edge, rate or choice of subtitles, or subtitles changed since the last
    // press, begin a new run.
    double next(TimingNudge::Edge edge, int direction, const SubtitleList &targets, double frameRate);
    // Where the press left the subtitles, for telling whether the next one goes on.
    void pressed(const SubtitleList &targets);

private:
    struct Left
    {
        SubtitlePtr subtitle;
        double start;
        double end;
    };
    bool goesOn(TimingNudge::Edge edge, const SubtitleList &targets, double frameRate) const;

    double m_step;
    TimingNudge::Edge m_edge = TimingNudge::Edge::Start;
    double m_frameRate = 0;
    int m_presses = 0; // forth less back
    QList<Left> m_left;
};

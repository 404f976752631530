#pragma once

#include "shots/SmallFrame.h"

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

// Decides where a video cuts from one shot to the next, from its frames in order. A cut
// is a jump between two frames that stands out from the changes around it (so fast
// motion, changing a lot on every frame, is none), after which the picture does not come
// back (so a flash of light, with the same picture before and after, is none). Each
// decision looks only at a fixed number of frames around its own, so a run over a part of
// the video decides each of its frames as a run over the whole would.
class CutClassifier
{
public:
    // Frames a decision looks at before and after the frame it decides.
    static constexpr int history = 12;
    static constexpr int lookAhead = 8;

    struct Colours
    {
        std::array<uint16_t, 16> luma{};
        std::array<uint16_t, 64> chroma{}; // u and v, 8 steps each
    };

    // How different two frames look, motion forgiven: 0 for the same picture, around 30
    // or more for two shots.
    static float distance(const SmallFrame &a, const Colours &aColours, const SmallFrame &b, const Colours &bColours);
    static Colours coloursOf(const SmallFrame &frame);

    // The next frame; decides those that now have their look-ahead.
    void push(const SmallFrame &frame);
    // The video ended: decides the frames left.
    void finish();
    // The times of the first frames of new shots decided since the last call, in order.
    std::vector<double> takeCuts();
    // Every frame shown before this time has been decided.
    double decidedBefore() const;

private:
    struct Entry
    {
        SmallFrame frame;
        Colours colours;
        float jump = -1; // distance from the frame before; -1 for the first
    };

    const Entry *entry(int64_t index) const;
    float distanceBetween(int64_t a, int64_t b) const;
    // The median jump over [first, last], 0 when there is none.
    float typicalJump(int64_t first, int64_t last) const;
    bool isCut(int64_t index) const;
    void decideUpTo(int64_t end);

    std::deque<Entry> m_entries;
    int64_t m_firstIndex = 0; // of m_entries.front()
    int64_t m_nextDecision = 0;
    bool m_finished = false;
    std::vector<double> m_cuts;
};

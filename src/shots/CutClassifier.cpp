#include "shots/CutClassifier.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace {

// Motion is forgiven block by block: each block of one frame is compared with the best
// matching place nearby in the other, so a pan, a scroll or a zoom costs little while a
// new picture matches nowhere.
constexpr int blockWidth = 8;
constexpr int blockHeight = 6;
constexpr int reachX = 3;
constexpr int reachY = 2;

// Below this a jump is never a cut, however calm the frames around it: a still picture
// at a low bitrate jumps by up to about 15 at each keyframe, two shots by 30 or more.
constexpr float minimumJump = 20.0f;
// How far a cut must stand out from the typical change around it.
constexpr float prominence = 2.5f;
constexpr float calm = 2.0f;
// A cut is at least this share of the change from the frame before it to `wholeWay`
// frames after it.
constexpr float wayShare = 0.8f;
constexpr int wholeWay = 4;
// A frame this much closer to one before the jump than the jump itself says the picture
// came back: a flash, not a cut.
constexpr float returnRatio = 0.5f;
// The longest flash, in frames.
constexpr int longestFlash = 3;

int sad(const uint8_t *a, const uint8_t *b, int stride, int width, int height)
{
    int sum = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            sum += std::abs(int(a[y * stride + x]) - int(b[y * stride + x]));
    return sum;
}

float histogramDistance(const uint16_t *a, const uint16_t *b, int bins, int total)
{
    int sum = 0;
    for (int i = 0; i < bins; ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return float(sum) / float(2 * total);
}

} // namespace

CutClassifier::Colours CutClassifier::coloursOf(const SmallFrame &frame)
{
    Colours colours;
    for (uint8_t value : frame.luma)
        ++colours.luma[value >> 4];
    for (size_t i = 0; i < frame.u.size(); ++i)
        ++colours.chroma[(frame.u[i] >> 5) * 8 + (frame.v[i] >> 5)];
    return colours;
}

float CutClassifier::distance(const SmallFrame &a, const Colours &aColours, const SmallFrame &b,
                              const Colours &bColours)
{
    constexpr int width = SmallFrame::width;
    constexpr int height = SmallFrame::height;
    constexpr int chromaWidth = SmallFrame::chromaWidth;
    long lumaSum = 0;
    long chromaSum = 0;
    for (int top = 0; top + blockHeight <= height; top += blockHeight) {
        for (int left = 0; left + blockWidth <= width; left += blockWidth) {
            const uint8_t *block = b.luma.data() + top * width + left;
            int best = std::numeric_limits<int>::max();
            int bestX = 0;
            int bestY = 0;
            for (int dy = -reachY; dy <= reachY; ++dy) {
                if (top + dy < 0 || top + dy + blockHeight > height)
                    continue;
                for (int dx = -reachX; dx <= reachX; ++dx) {
                    if (left + dx < 0 || left + dx + blockWidth > width)
                        continue;
                    // The unmoved place wins ties, so a still picture costs what it differs.
                    const int cost = sad(a.luma.data() + (top + dy) * width + left + dx, block, width, blockWidth,
                                         blockHeight)
                                     + (dx != 0 || dy != 0);
                    if (cost < best) {
                        best = cost;
                        bestX = dx;
                        bestY = dy;
                    }
                }
            }
            lumaSum += best;
            // Chroma follows the luma's motion, at half its resolution.
            const int chromaLeft = std::clamp(left / 2 + bestX / 2, 0, chromaWidth - blockWidth / 2);
            const int chromaTop = std::clamp(top / 2 + bestY / 2, 0, SmallFrame::chromaHeight - blockHeight / 2);
            const int offset = top / 2 * chromaWidth + left / 2;
            const int moved = chromaTop * chromaWidth + chromaLeft;
            chromaSum += sad(a.u.data() + moved, b.u.data() + offset, chromaWidth, blockWidth / 2, blockHeight / 2)
                         + sad(a.v.data() + moved, b.v.data() + offset, chromaWidth, blockWidth / 2, blockHeight / 2);
        }
    }
    const float luma = float(lumaSum) / float(width * height);
    const float chroma = float(chromaSum) * 4.0f / float(width * height);
    const float colours =
        histogramDistance(aColours.luma.data(), bColours.luma.data(), int(aColours.luma.size()), width * height)
        + histogramDistance(aColours.chroma.data(), bColours.chroma.data(), int(aColours.chroma.size()),
                            chromaWidth * SmallFrame::chromaHeight);
    // Colours weigh in for pictures whose shapes match but whose hues do not.
    return luma + chroma + 30.0f * colours;
}

const CutClassifier::Entry *CutClassifier::entry(int64_t index) const
{
    if (index < m_firstIndex || index >= m_firstIndex + int64_t(m_entries.size()))
        return nullptr;
    return &m_entries[size_t(index - m_firstIndex)];
}

float CutClassifier::distanceBetween(int64_t a, int64_t b) const
{
    const Entry *first = entry(a);
    const Entry *second = entry(b);
    return distance(first->frame, first->colours, second->frame, second->colours);
}

float CutClassifier::typicalJump(int64_t first, int64_t last) const
{
    std::array<float, std::max(history, lookAhead)> jumps{};
    size_t count = 0;
    for (int64_t index = first; index <= last; ++index) {
        if (const Entry *near = entry(index); near && near->jump >= 0)
            jumps[count++] = near->jump;
    }
    if (count == 0)
        return 0;
    const auto middle = jumps.begin() + count / 2;
    std::nth_element(jumps.begin(), middle, jumps.begin() + count);
    return *middle;
}

bool CutClassifier::isCut(int64_t index) const
{
    const float jump = entry(index)->jump;
    if (jump < minimumJump)
        return false;
    // The largest jump of its neighbourhood, the earlier of two equal ones.
    for (int64_t other = index - 2; other <= index + 2; ++other) {
        const Entry *near = entry(other);
        if (other != index && near && (near->jump > jump || (near->jump == jump && other < index)))
            return false;
    }
    // Against the typical change on either side: the start of a fade, or of motion after
    // a still picture, is a jump above the calm before it but not above what follows.
    const float typical = std::max(typicalJump(index - history, index - 1), typicalJump(index + 1, index + lookAhead));
    if (jump < prominence * typical + calm)
        return false;
    // A cut is all of the way at once; the first frame of a fade is a step of a longer way.
    if (entry(index + wholeWay) && distanceBetween(index - 1, index + wholeWay) * wayShare > jump)
        return false;

    // A picture that comes back within a few frames was interrupted, not cut.
    for (int64_t before = index - 1; before >= index - longestFlash && entry(before); --before) {
        for (int64_t after = index; after <= before + longestFlash + 1 && entry(after); ++after) {
            if ((before != index - 1 || after != index) && distanceBetween(before, after) < returnRatio * jump)
                return false;
        }
    }
    return true;
}

void CutClassifier::decideUpTo(int64_t end)
{
    for (; m_nextDecision < end; ++m_nextDecision) {
        if (isCut(m_nextDecision))
            m_cuts.push_back(entry(m_nextDecision)->frame.time);
    }
    // Older frames are out of every decision still to come.
    while (!m_entries.empty() && m_firstIndex < m_nextDecision - history - 1) {
        m_entries.pop_front();
        ++m_firstIndex;
    }
}

void CutClassifier::push(const SmallFrame &frame)
{
    Entry next{frame, coloursOf(frame)};
    if (!m_entries.empty())
        next.jump = distance(m_entries.back().frame, m_entries.back().colours, next.frame, next.colours);
    m_entries.push_back(next);
    decideUpTo(m_firstIndex + int64_t(m_entries.size()) - lookAhead);
}

void CutClassifier::finish()
{
    decideUpTo(m_firstIndex + int64_t(m_entries.size()));
    m_finished = true;
}

std::vector<double> CutClassifier::takeCuts()
{
    return std::exchange(m_cuts, {});
}

double CutClassifier::decidedBefore() const
{
    if (m_finished)
        return std::numeric_limits<double>::infinity();
    const Entry *next = entry(m_nextDecision);
    return next ? next->frame.time : -std::numeric_limits<double>::infinity();
}

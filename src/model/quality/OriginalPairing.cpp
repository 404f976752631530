#include "model/quality/OriginalPairing.h"

#include "model/quality/QualityCheck.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QString visibleText(QStringView text)
{
    return QualityCheck::withoutTags(text).simplified();
}

} // namespace

OriginalPairing::OriginalPairing(SubtitleList originals)
    : m_originals(std::move(originals))
{
    sortSubtitles(m_originals);
    m_starts.reserve(size_t(m_originals.size()));
    m_latestEnds.reserve(size_t(m_originals.size()));
    double latest = -std::numeric_limits<double>::infinity();
    for (const SubtitlePtr &original : std::as_const(m_originals)) {
        m_starts.push_back(original->start);
        latest = std::max(latest, original->end);
        m_latestEnds.push_back(latest);
    }
}

std::optional<int> OriginalPairing::pairedWith(double start, double end) const
{
    if (m_originals.isEmpty() || !(end > start))
        return std::nullopt;
    std::optional<int> best;
    double bestOverlap = 0;
    // Lines that started before `start`: each overlaps by min(end, its end) − start, so the
    // most is reached by the first line whose end comes to min(end, the latest end).
    const auto firstInside = std::lower_bound(m_starts.begin(), m_starts.end(), start);
    const size_t before = size_t(firstInside - m_starts.begin());
    if (before > 0) {
        const double reach = std::min(end, m_latestEnds[before - 1]);
        if (reach > start) {
            const auto first = std::lower_bound(m_latestEnds.begin(), m_latestEnds.begin() + qsizetype(before), reach);
            best = int(first - m_latestEnds.begin());
            bestOverlap = reach - start;
        }
    }
    // Lines that start inside: later ones can overlap by no more than end − their start.
    for (size_t k = before; k < m_starts.size() && m_starts[k] < end; ++k) {
        if (end - m_starts[k] <= bestOverlap)
            break;
        const double overlap = std::min(end, m_originals[qsizetype(k)]->end) - m_starts[k];
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = int(k);
        }
    }
    return best;
}

const Subtitle *OriginalPairing::originalFor(const Subtitle &subtitle) const
{
    const std::optional<int> position = pairedWith(subtitle.start, subtitle.end);
    return position ? m_originals[*position].get() : nullptr;
}

bool OriginalPairing::hasMatchingTimes(double start, double end) const
{
    constexpr double tolerance = QualityCheck::tolerance;
    auto k = std::lower_bound(m_starts.begin(), m_starts.end(), start - tolerance);
    for (; k != m_starts.end() && *k <= start + tolerance; ++k) {
        if (std::abs(m_originals[qsizetype(k - m_starts.begin())]->end - end) <= tolerance)
            return true;
    }
    return false;
}

bool OriginalPairing::isUntranslated(QStringView text, const Subtitle *original)
{
    const QString visible = visibleText(text);
    return visible.isEmpty() || (original && visible == visibleText(original->text()));
}

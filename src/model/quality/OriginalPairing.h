#pragma once

#include "model/Subtitle.h"

#include <QStringView>

#include <optional>
#include <vector>

// A translation's subtitles against the original they were translated from. A subtitle's
// original is the original line its time overlaps most (the earlier one of equal
// overlaps), none when no line overlaps it. Every look-up is a binary search over the
// original's starts, so pairing a film of many thousand lines costs no quadratic scan.
class OriginalPairing
{
public:
    OriginalPairing() = default;
    // Sorts the lines by start (the pairing relies on it).
    explicit OriginalPairing(SubtitleList originals);

    const SubtitleList &originals() const { return m_originals; }
    bool isEmpty() const { return m_originals.isEmpty(); }

    // The position of the original line that [start, end) overlaps most.
    std::optional<int> pairedWith(double start, double end) const;
    const Subtitle *originalFor(const Subtitle &subtitle) const;
    // Whether some original line starts and ends where this does, within
    // QualityCheck::tolerance.
    bool hasMatchingTimes(double start, double end) const;

    // Empty text, or the same visible text as the original's (formatting tags and
    // spacing aside): a line still to be translated.
    static bool isUntranslated(QStringView text, const Subtitle *original);

private:
    SubtitleList m_originals;
    std::vector<double> m_starts;
    // The latest end of the lines up to each position: never decreasing, so the lines
    // that started earlier and still last can be found by binary search too.
    std::vector<double> m_latestEnds;
};

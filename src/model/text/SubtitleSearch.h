#pragma once

#include "model/IndexSet.h"
#include "model/Subtitle.h"

#include <limits>
#include <memory>
#include <optional>

class PatternMatcher;

// Finding and replacing in the texts of subtitles: plain text or a regular expression,
// with or without case, optionally whole words only. A search goes through the list a
// slice at a time, so that a window can stay responsive and stop it; the list must not
// change until it is done.
class SubtitleSearch
{
public:
    struct Options
    {
        bool caseSensitive = false;
        bool wholeWords = false;
        bool regularExpression = false;
    };

    // Where a match lies: subtitle position, and offset and length in its text.
    struct Match
    {
        int subtitle = -1;
        qsizetype offset = 0;
        qsizetype length = 0;
        friend bool operator==(const Match &, const Match &) = default;
    };

    // How far a search has got: it goes on from `step` until `done`. `tooComplex`: the
    // expression's engine gave up on a text, so the search cannot say what is there.
    struct Progress
    {
        int step = 0;
        bool done = false;
        bool tooComplex = false;
    };

    // What Replace All changes: the new texts of the subtitles at `indexes`.
    struct Replacement
    {
        QList<Subtitle::Values> values;
        IndexSet indexes;
        int count = 0; // matches replaced
    };

    static constexpr int unlimited = std::numeric_limits<int>::max();

    SubtitleSearch(const QString &text, Options options);

    // False for an empty search text or a regular expression that does not compile.
    bool isValid() const;
    QString errorString() const;

    // The next match after (subtitle, offset), or the previous one before it, going round
    // the end of the list; searches at most `budget` more subtitles. Matches of no length
    // are skipped: they would never move on. A round takes subtitles + 1 steps.
    std::optional<Match> find(const SubtitleList &subtitles, int subtitle, qsizetype offset, bool backwards,
                              Progress &progress, int budget = unlimited) const;
    // `text` with the match at `match` replaced, when a match of that length still starts
    // there; \1 and so on name the captured groups.
    std::optional<QString> replacedAt(const QString &text, const Match &match, const QString &replacement) const;
    // Adds the replacements in at most `budget` more subtitles to `result`. Once the
    // engine gives up, `result` is emptied: a Replace All is done whole or not at all.
    void replaceAll(const SubtitleList &subtitles, const QString &replacement, Replacement &result,
                    Progress &progress, int budget = unlimited) const;

private:
    QString substituted(QStringView text, const QString &replacement) const;

    std::shared_ptr<PatternMatcher> m_matcher;
    bool m_regularExpression;
    bool m_empty;
};

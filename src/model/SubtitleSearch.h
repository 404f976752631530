#pragma once

#include "model/IndexSet.h"
#include "model/Subtitle.h"

#include <QRegularExpression>

#include <optional>

// Finding and replacing in the texts of subtitles: plain text or a regular expression,
// with or without case, optionally whole words only.
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

    // What Replace All changes: the new texts of the subtitles at `indexes`.
    struct Replacement
    {
        QList<Subtitle::Values> values;
        IndexSet indexes;
        int count = 0; // matches replaced
    };

    SubtitleSearch(const QString &text, Options options);

    // False for an empty search text or a regular expression that does not compile.
    bool isValid() const;
    QString errorString() const;

    // The next match after (subtitle, offset), or the previous one before it, going round
    // the end of the list. Matches of no length are skipped: they would never move on.
    std::optional<Match> find(const SubtitleList &subtitles, int subtitle, qsizetype offset, bool backwards) const;
    // Whether a match starts exactly at `offset` of `text` and has `length`.
    bool matchesAt(const QString &text, qsizetype offset, qsizetype length) const;
    // `text` with the match at `offset` replaced; \1 and so on name the captured groups.
    QString replacedAt(const QString &text, qsizetype offset, const QString &replacement) const;
    Replacement replaceAll(const SubtitleList &subtitles, const QString &replacement) const;

private:
    QString substituted(const QRegularExpressionMatch &match, const QString &replacement) const;

    QRegularExpression m_expression;
    bool m_regularExpression;
};

#include "model/text/SubtitleSearch.h"

#include "model/text/PatternMatcher.h"

#include <QRegularExpression>

#include <algorithm>

SubtitleSearch::SubtitleSearch(const QString &text, Options options)
    : m_regularExpression(options.regularExpression)
    , m_empty(text.isEmpty())
{
    QString pattern = options.regularExpression ? text : QRegularExpression::escape(text);
    if (options.wholeWords && !text.isEmpty()) {
        // An expression is read on its own first: wrapped, "a)(b" would read as valid.
        if (options.regularExpression) {
            m_matcher = std::make_shared<PatternMatcher>(pattern, options.caseSensitive);
            if (!m_matcher->isValid())
                return;
        }
        // The group keeps an alternation whole: each alternative must be a whole word.
        pattern = QStringLiteral("\\b(?:%1)\\b").arg(pattern);
    }
    m_matcher = std::make_shared<PatternMatcher>(pattern, options.caseSensitive);
}

bool SubtitleSearch::isValid() const
{
    return !m_empty && m_matcher->isValid();
}

QString SubtitleSearch::errorString() const
{
    return m_matcher->errorString();
}

std::optional<SubtitleSearch::Match> SubtitleSearch::find(const SubtitleList &subtitles, int subtitle,
                                                          qsizetype offset, bool backwards, Progress &progress,
                                                          int budget) const
{
    const int count = int(subtitles.size());
    if (!isValid() || count == 0) {
        progress.done = true;
        return std::nullopt;
    }
    subtitle = std::clamp(subtitle, 0, count - 1);
    // One more turn than there are subtitles, so the start subtitle is searched on both
    // sides of `offset`.
    for (; progress.step <= count && budget > 0; ++progress.step, --budget) {
        const int step = progress.step;
        const int index = backwards ? (subtitle - step + count) % count : (subtitle + step) % count;
        const QString text = subtitles[index]->text();
        std::optional<Match> best;
        const bool complete = m_matcher->matchAll(text, [&] {
            if (m_matcher->capturedLength() == 0)
                return true;
            const Match candidate{index, m_matcher->capturedStart(), m_matcher->capturedLength()};
            if (step == 0 && (backwards ? candidate.offset >= offset : candidate.offset < offset))
                return true;
            if (step == count && (backwards ? candidate.offset < offset : candidate.offset >= offset))
                return true;
            best = candidate; // forwards the first one, backwards the last before the offset
            return backwards;
        });
        if (!complete) {
            progress.done = progress.tooComplex = true;
            return std::nullopt;
        }
        if (best) {
            progress.done = true;
            return best;
        }
    }
    progress.done = progress.step > count;
    return std::nullopt;
}

QString SubtitleSearch::substituted(QStringView text, const QString &replacement) const
{
    if (!m_regularExpression)
        return replacement;
    const auto captured = [&](int group) {
        const qsizetype start = m_matcher->capturedStart(group);
        return start < 0 ? QStringView() : text.sliced(start, m_matcher->capturedEnd(group) - start);
    };
    // \0 … \99 name captured groups; \\ is a backslash.
    QString result;
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement[i];
        if (c == u'\\' && i + 1 < replacement.size()) {
            const QChar next = replacement[i + 1];
            if (next.isDigit()) {
                int group = next.digitValue();
                ++i;
                if (i + 1 < replacement.size() && replacement[i + 1].isDigit()
                    && group * 10 + replacement[i + 1].digitValue() <= m_matcher->captureCount()) {
                    group = group * 10 + replacement[i + 1].digitValue();
                    ++i;
                }
                result += captured(group);
                continue;
            }
            if (next == u'n') {
                result += u'\n';
                ++i;
                continue;
            }
            if (next == u'\\') {
                result += u'\\';
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

std::optional<QString> SubtitleSearch::replacedAt(const QString &text, const Match &match,
                                                  const QString &replacement) const
{
    if (!isValid() || m_matcher->match(text, match.offset, true) != PatternMatcher::Result::Matched
        || m_matcher->capturedLength() != match.length)
        return std::nullopt;
    QString result = text;
    result.replace(match.offset, match.length, substituted(text, replacement));
    return result;
}

void SubtitleSearch::replaceAll(const SubtitleList &subtitles, const QString &replacement, Replacement &result,
                                Progress &progress, int budget) const
{
    const int count = int(subtitles.size());
    if (!isValid())
        progress.step = count;
    for (; progress.step < count && budget > 0; ++progress.step, --budget) {
        const QString text = subtitles[progress.step]->text();
        QString replaced;
        qsizetype copied = 0;
        int matches = 0;
        const bool complete = m_matcher->matchAll(text, [&] {
            replaced += QStringView(text).sliced(copied, m_matcher->capturedStart() - copied);
            replaced += substituted(text, replacement);
            copied = m_matcher->capturedEnd();
            ++matches;
            return true;
        });
        if (!complete) {
            result = {};
            progress.done = progress.tooComplex = true;
            return;
        }
        if (matches == 0)
            continue;
        replaced += QStringView(text).sliced(copied);
        result.count += matches;
        // A replacement that equals what it replaces changes nothing worth an undo step.
        if (replaced == text)
            continue;
        Subtitle::Values values;
        values.text = replaced;
        result.values.append(values);
        result.indexes.insert(progress.step);
    }
    progress.done = progress.step >= count;
}

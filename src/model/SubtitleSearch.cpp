#include "model/SubtitleSearch.h"

#include <algorithm>

SubtitleSearch::SubtitleSearch(const QString &text, Options options)
    : m_regularExpression(options.regularExpression)
{
    QString pattern = options.regularExpression ? text : QRegularExpression::escape(text);
    if (options.wholeWords && !text.isEmpty())
        pattern = QStringLiteral("\\b(?:%1)\\b").arg(pattern);
    QRegularExpression::PatternOptions patternOptions = QRegularExpression::UseUnicodePropertiesOption;
    if (!options.caseSensitive)
        patternOptions |= QRegularExpression::CaseInsensitiveOption;
    m_expression.setPatternOptions(patternOptions);
    m_expression.setPattern(pattern);
}

bool SubtitleSearch::isValid() const
{
    return !m_expression.pattern().isEmpty() && m_expression.isValid();
}

QString SubtitleSearch::errorString() const
{
    return m_expression.isValid() ? QString() : m_expression.errorString();
}

std::optional<SubtitleSearch::Match> SubtitleSearch::find(const SubtitleList &subtitles, int subtitle,
                                                          qsizetype offset, bool backwards) const
{
    const int count = int(subtitles.size());
    if (!isValid() || count == 0)
        return std::nullopt;
    subtitle = std::clamp(subtitle, 0, count - 1);
    // One more turn than there are subtitles, so the start subtitle is searched on both
    // sides of `offset`.
    for (int step = 0; step <= count; ++step) {
        const int index = backwards ? (subtitle - step + count) % count : (subtitle + step) % count;
        const QString text = subtitles[index]->text();
        std::optional<Match> best;
        auto it = m_expression.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            if (m.capturedLength() == 0)
                continue;
            const Match candidate{index, m.capturedStart(), m.capturedLength()};
            if (step == 0 && (backwards ? candidate.offset >= offset : candidate.offset < offset))
                continue;
            if (step == count && (backwards ? candidate.offset < offset : candidate.offset >= offset))
                continue;
            if (!backwards)
                return candidate;
            best = candidate; // the last one before the offset
        }
        if (best)
            return best;
    }
    return std::nullopt;
}

bool SubtitleSearch::matchesAt(const QString &text, qsizetype offset, qsizetype length) const
{
    if (!isValid())
        return false;
    const QRegularExpressionMatch m = m_expression.match(text, offset, QRegularExpression::NormalMatch,
                                                         QRegularExpression::AnchorAtOffsetMatchOption);
    return m.hasMatch() && m.capturedStart() == offset && m.capturedLength() == length;
}

QString SubtitleSearch::substituted(const QRegularExpressionMatch &match, const QString &replacement) const
{
    if (!m_regularExpression)
        return replacement;
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
                    && group * 10 + replacement[i + 1].digitValue() <= match.lastCapturedIndex()) {
                    group = group * 10 + replacement[i + 1].digitValue();
                    ++i;
                }
                result += match.captured(group);
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

QString SubtitleSearch::replacedAt(const QString &text, qsizetype offset, const QString &replacement) const
{
    const QRegularExpressionMatch m = m_expression.match(text, offset, QRegularExpression::NormalMatch,
                                                         QRegularExpression::AnchorAtOffsetMatchOption);
    if (!isValid() || !m.hasMatch())
        return text;
    QString result = text;
    result.replace(m.capturedStart(), m.capturedLength(), substituted(m, replacement));
    return result;
}

SubtitleSearch::Replacement SubtitleSearch::replaceAll(const SubtitleList &subtitles, const QString &replacement) const
{
    Replacement result;
    if (!isValid())
        return result;
    for (int index = 0; index < subtitles.size(); ++index) {
        const QString text = subtitles[index]->text();
        QString replaced;
        qsizetype copied = 0;
        int matches = 0;
        auto it = m_expression.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            replaced += QStringView(text).sliced(copied, m.capturedStart() - copied);
            replaced += substituted(m, replacement);
            copied = m.capturedEnd();
            ++matches;
        }
        if (matches == 0)
            continue;
        replaced += QStringView(text).sliced(copied);
        result.count += matches;
        if (replaced == text)
            continue;
        Subtitle::Values values;
        values.text = replaced;
        result.values.append(values);
        result.indexes.insert(index);
    }
    return result;
}

#pragma once

#include <QString>
#include <QStringView>

#include <functional>

struct pcre2_real_code_16;
struct pcre2_real_match_data_16;
struct pcre2_real_match_context_16;
struct pcre2_real_jit_stack_16;

// A regular expression (Unicode-aware, as QRegularExpression reads it) whose matching
// effort is bounded: where the engine gives up, the caller is told so instead of being
// handed "no match", so a search never passes over text it could not look at.
// Not for use from several threads at once: it keeps its last match.
class PatternMatcher
{
public:
    enum class Result { Matched, NoMatch, TooComplex };

    PatternMatcher(const QString &pattern, bool caseSensitive);
    ~PatternMatcher();
    PatternMatcher(const PatternMatcher &) = delete;
    PatternMatcher &operator=(const PatternMatcher &) = delete;

    bool isValid() const { return m_code != nullptr; }
    QString errorString() const { return m_error; }
    int captureCount() const { return m_captureCount; }

    // The first match at or after `offset`, or only one starting there when `anchored`.
    Result match(QStringView text, qsizetype offset, bool anchored = false);
    // Every match from left to right, empty ones included, as QRegularExpression's global
    // match finds them; `onMatch` returns false to stop early. False when the engine gave
    // up on the text.
    bool matchAll(QStringView text, const std::function<bool()> &onMatch);

    // Of the last match: where group `group` starts and ends, -1 when it took no part.
    qsizetype capturedStart(int group = 0) const;
    qsizetype capturedEnd(int group = 0) const;
    qsizetype capturedLength(int group = 0) const { return capturedEnd(group) - capturedStart(group); }

private:
    Result run(QStringView text, qsizetype offset, quint32 options);

    pcre2_real_code_16 *m_code = nullptr;
    pcre2_real_match_data_16 *m_matchData = nullptr;
    pcre2_real_match_context_16 *m_context = nullptr;
    pcre2_real_jit_stack_16 *m_jitStack = nullptr;
    QString m_error;
    int m_captureCount = 0;
};

#include "model/text/PatternMatcher.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace {
// Room for the recursion of patterns such as (a|b)* over a long text; the machine stack
// the engine uses by default is too small for them.
constexpr size_t jitStackStart = 32 * 1024;
constexpr size_t jitStackMax = 1024 * 1024;

const PCRE2_UCHAR16 *units(QStringView text)
{
    return reinterpret_cast<const PCRE2_UCHAR16 *>(text.utf16());
}
} // namespace

PatternMatcher::PatternMatcher(const QString &pattern, bool caseSensitive)
{
    // Texts with a lone surrogate are searched too: those units just never match.
    uint32_t options = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;
    if (!caseSensitive)
        options |= PCRE2_CASELESS;
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    m_code = pcre2_compile(units(pattern), PCRE2_SIZE(pattern.size()), options, &errorCode, &errorOffset, nullptr);
    if (!m_code) {
        PCRE2_UCHAR16 message[256];
        const int length = pcre2_get_error_message(errorCode, message, std::size(message));
        m_error = length > 0 ? QString::fromUtf16(reinterpret_cast<const char16_t *>(message), length) : QString();
        return;
    }
    pcre2_jit_compile(m_code, PCRE2_JIT_COMPLETE); // without it the interpreter matches the same, slower
    uint32_t captures = 0;
    pcre2_pattern_info(m_code, PCRE2_INFO_CAPTURECOUNT, &captures);
    m_captureCount = int(captures);
    m_matchData = pcre2_match_data_create_from_pattern(m_code, nullptr);
    m_context = pcre2_match_context_create(nullptr);
    m_jitStack = pcre2_jit_stack_create(jitStackStart, jitStackMax, nullptr);
    if (m_jitStack)
        pcre2_jit_stack_assign(m_context, nullptr, m_jitStack);
}

PatternMatcher::~PatternMatcher()
{
    pcre2_jit_stack_free(m_jitStack);
    pcre2_match_context_free(m_context);
    pcre2_match_data_free(m_matchData);
    pcre2_code_free(m_code);
}

PatternMatcher::Result PatternMatcher::run(QStringView text, qsizetype offset, quint32 options)
{
    if (!m_code)
        return Result::NoMatch;
    const int rc = pcre2_match(m_code, units(text), PCRE2_SIZE(text.size()), PCRE2_SIZE(offset), options,
                               m_matchData, m_context);
    if (rc >= 0)
        return Result::Matched;
    if (rc == PCRE2_ERROR_NOMATCH)
        return Result::NoMatch;
    // The match, depth or heap limit, the stack, memory: in every case the engine did
    // not finish, so whether the text matches is unknown.
    return Result::TooComplex;
}

PatternMatcher::Result PatternMatcher::match(QStringView text, qsizetype offset, bool anchored)
{
    return run(text, offset, anchored ? PCRE2_ANCHORED : 0);
}

bool PatternMatcher::matchAll(QStringView text, const std::function<bool()> &onMatch)
{
    qsizetype offset = 0;
    bool previousWasEmpty = false;
    while (offset <= text.size()) {
        Result result = Result::NoMatch;
        if (previousWasEmpty) {
            // After an empty match, first a non-empty one at the same place, then on
            // from the next character.
            result = run(text, offset, PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED);
            if (result == Result::NoMatch) {
                if (offset == text.size())
                    return true;
                offset += (text[offset].isHighSurrogate() && offset + 1 < text.size()
                           && text[offset + 1].isLowSurrogate()) ? 2 : 1;
                result = run(text, offset, 0);
            }
        } else {
            result = run(text, offset, 0);
        }
        if (result == Result::TooComplex)
            return false;
        if (result == Result::NoMatch)
            return true;
        if (!onMatch())
            return true;
        previousWasEmpty = capturedLength() == 0;
        offset = capturedEnd();
    }
    return true;
}

qsizetype PatternMatcher::capturedStart(int group) const
{
    if (!m_matchData || group < 0 || group > m_captureCount)
        return -1;
    const PCRE2_SIZE start = pcre2_get_ovector_pointer(m_matchData)[2 * group];
    return start == PCRE2_UNSET ? -1 : qsizetype(start);
}

qsizetype PatternMatcher::capturedEnd(int group) const
{
    if (!m_matchData || group < 0 || group > m_captureCount)
        return -1;
    const PCRE2_SIZE end = pcre2_get_ovector_pointer(m_matchData)[2 * group + 1];
    return end == PCRE2_UNSET ? -1 : qsizetype(end);
}

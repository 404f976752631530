#include "format/LineReader.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Where the run of characters from `position` on that cannot end a line may end. UTF-8
// text is tested eight bytes at a time for the bytes a line terminator begins with: one
// below 0x0E (line feed, carriage return; a tab too, which gets a closer look), or the
// first byte of U+0085 (C2) or of U+2028 and U+2029 (E2). Other non-ASCII bytes (é is
// C3 A9) do not stop the scan, so accented text is read as fast as ASCII.
qsizetype skipPlain(QStringView, qsizetype position)
{
    return position;
}

qsizetype skipPlain(QByteArrayView text, qsizetype position)
{
    constexpr quint64 ones = 0x0101010101010101ull;
    constexpr quint64 highBits = 0x8080808080808080ull;
    // The high bit of each byte below `bound`. A borrow can mark a byte above the first
    // one marked, never below it: the lowest mark is always a true one.
    const auto below = [](quint64 word, uchar bound) { return (word - ones * bound) & ~word & highBits; };
    const char *data = text.data();
#if defined(__SSE2__)
    // sixteen at a time where the processor can: bytes up to 0x0D, C2 and E2 at once
    while (position + 16 <= text.size()) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + position));
        const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(block, _mm_set1_epi8(0x0D)), block);
        const __m128i leads = _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(char(0xC2))),
                                           _mm_cmpeq_epi8(block, _mm_set1_epi8(char(0xE2))));
        if (const unsigned marks = unsigned(_mm_movemask_epi8(_mm_or_si128(low, leads))))
            return position + std::countr_zero(marks);
        position += 16;
    }
#endif
    while (position + 8 <= text.size()) {
        quint64 word;
        std::memcpy(&word, data + position, 8);
        // first the cheap test that plain ASCII passes, then the exact one
        if ((((word - ones * 0x0E) | word) & highBits) == 0) {
            position += 8;
            continue;
        }
        if (const quint64 marks = below(word, 0x0E) | below(word ^ (ones * 0xC2), 1) | below(word ^ (ones * 0xE2), 1)) {
            const int bit = std::endian::native == std::endian::little ? std::countr_zero(marks) : std::countl_zero(marks);
            return position + bit / 8;
        }
        position += 8;
    }
    return position;
}

} // namespace

template <typename View>
bool BasicLineReader<View>::next(View &line)
{
    const qsizetype size = m_text.size();
    if (m_position >= size)
        return false;
    qsizetype end = m_position;
    qsizetype terminator = 0;
    for (;;) {
        end = skipPlain(m_text, end);
        if (end >= size || (terminator = terminatorLength(m_text, end)) != 0)
            break;
        ++end;
    }
    line = m_text.sliced(m_position, end - m_position);
    m_position = end + terminator;
    return true;
}

template <typename View>
std::optional<View> BasicLineReader<View>::lineAt(View text, qsizetype index)
{
    BasicLineReader reader(text);
    View line;
    for (qsizetype i = 0; reader.next(line); ++i) {
        if (i == index)
            return line;
    }
    return std::nullopt;
}

template class BasicLineReader<QStringView>;
template class BasicLineReader<QByteArrayView>;

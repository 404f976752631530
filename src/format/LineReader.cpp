#include "format/LineReader.h"

#include <bit>
#include <cstring>

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

template class BasicLineReader<QStringView>;
template class BasicLineReader<QByteArrayView>;

#include "format/LineReader.h"

#include <cstring>

namespace {

// Where the run of plain characters from `position` on may end: UTF-8 text is tested
// eight bytes at a time, as a line of ASCII letters has no byte below 0x0E and none
// with the high bit set, so only the line's end and non-ASCII text need a closer look.
qsizetype skipPlain(QStringView, qsizetype position)
{
    return position;
}

qsizetype skipPlain(QByteArrayView text, qsizetype position)
{
    constexpr quint64 ones = 0x0101010101010101ull;
    constexpr quint64 highBits = 0x8080808080808080ull;
    const char *data = text.data();
    while (position + 8 <= text.size()) {
        quint64 word;
        std::memcpy(&word, data + position, 8);
        // a byte below 0x0E, or one with its high bit set
        if (((word - ones * 0x0E) | word) & highBits)
            break;
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
    qsizetype end = skipPlain(m_text, m_position);
    qsizetype terminator = 0;
    while (end < size && (terminator = terminatorLength(m_text, end)) == 0)
        ++end;
    line = m_text.sliced(m_position, end - m_position);
    m_position = end + terminator;
    return true;
}

template class BasicLineReader<QStringView>;
template class BasicLineReader<QByteArrayView>;

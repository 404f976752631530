#include "format/Utf8Validator.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr quint64 highBits = 0x8080808080808080ull;

bool isContinuation(uchar b)
{
    return (b & 0xC0) == 0x80;
}

// The length of the valid sequence that begins with the non-ASCII byte at `p`, or 0.
qsizetype sequenceLength(const uchar *p, const uchar *end)
{
    const uchar lead = *p;
    const qsizetype available = end - p;
    if (lead < 0xC2) // a continuation byte, or the lead of an overlong two-byte form
        return 0;
    if (lead < 0xE0)
        return available >= 2 && isContinuation(p[1]) ? 2 : 0;
    if (lead < 0xF0) {
        // E0 would be overlong below A0; ED from A0 on is a surrogate
        const uchar low = lead == 0xE0 ? 0xA0 : 0x80;
        const uchar high = lead == 0xED ? 0x9F : 0xBF;
        return available >= 3 && p[1] >= low && p[1] <= high && isContinuation(p[2]) ? 3 : 0;
    }
    if (lead < 0xF5) {
        // F0 would be overlong below 90; F4 from 90 on is past U+10FFFF
        const uchar low = lead == 0xF0 ? 0x90 : 0x80;
        const uchar high = lead == 0xF4 ? 0x8F : 0xBF;
        return available >= 4 && p[1] >= low && p[1] <= high && isContinuation(p[2]) && isContinuation(p[3]) ? 4 : 0;
    }
    return 0;
}

// Whether the sixteen bytes at `p` hold only ASCII and whole two-byte characters (Latin,
// Greek, Cyrillic letters): the text of most European subtitles, checked at once.
bool isAsciiOrTwoByteBlock(const uchar *p)
{
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    // as signed bytes: continuations 80..BF are below -64, leads C2..DF from -62 to -33
    const unsigned high = unsigned(_mm_movemask_epi8(block));
    if (high == 0)
        return true;
    const unsigned continuations = unsigned(_mm_movemask_epi8(_mm_cmplt_epi8(block, _mm_set1_epi8(-64))));
    const unsigned leads = unsigned(_mm_movemask_epi8(
        _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8(-63)), _mm_cmplt_epi8(block, _mm_set1_epi8(-32)))));
    // every lead followed by a continuation within the block, and every continuation led
    return high == (leads | continuations) && continuations == ((leads << 1) & 0xFFFF) && !(leads & 0x8000);
#else
    quint64 words[2];
    std::memcpy(words, p, 16);
    return ((words[0] | words[1]) & highBits) == 0;
#endif
}

} // namespace

bool Utf8Validator::isValid(QByteArrayView bytes)
{
    const uchar *p = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = p + bytes.size();
    while (p < end) {
        // sixteen bytes at a time while they plainly are valid, else ASCII eight bytes at
        // a time, up to the first byte with its high bit set, and that character alone
        if (end - p >= 16 && isAsciiOrTwoByteBlock(p)) {
            p += 16;
            continue;
        }
        if (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            const quint64 high = word & highBits;
            if (high == 0) {
                p += 8;
                continue;
            }
            p += (std::endian::native == std::endian::little ? std::countr_zero(high) : std::countl_zero(high)) / 8;
        } else if (*p < 0x80) {
            ++p;
            continue;
        }
        const qsizetype length = sequenceLength(p, end);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

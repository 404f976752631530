#include "format/Utf8Validator.h"

#include <bit>
#include <cstring>

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

} // namespace

bool Utf8Validator::isValid(QByteArrayView bytes)
{
    const uchar *p = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = p + bytes.size();
    while (p < end) {
        // ASCII sixteen bytes at a time, then eight, up to the first byte with its high
        // bit set
        if (end - p >= 16) {
            quint64 words[2];
            std::memcpy(words, p, 16);
            if (((words[0] | words[1]) & highBits) == 0) {
                p += 16;
                continue;
            }
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

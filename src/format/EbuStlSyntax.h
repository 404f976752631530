#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// What the EBU-STL reader and writer both know of the file's blocks: a general information
// block of 1024 bytes, then text blocks of 128, each holding a subtitle's numbers, times
// (hours, minutes, seconds, frames, one byte each), placement and 112 bytes of text.
namespace EbuStlSyntax {

constexpr qsizetype gsiSize = 1024;
constexpr qsizetype ttiSize = 128;
constexpr qsizetype textOffset = 16;
constexpr qsizetype textSize = ttiSize - textOffset;

// Places in the general information block: where each field starts, and its length.
struct Field
{
    qsizetype at;
    qsizetype size;
};
constexpr Field codePage{0, 3}, diskFormat{3, 8}, displayStandard{11, 1}, characterTable{12, 2}, language{14, 2},
    creationDate{224, 6}, revisionDate{230, 6}, revisionNumber{236, 2}, blockCount{238, 5}, subtitleCount{243, 5},
    groupCount{248, 3}, maxCharacters{251, 2}, maxRows{253, 2}, timecodeStatus{255, 1}, programmeStart{256, 8},
    firstCue{264, 8}, diskCount{272, 1}, diskNumber{273, 1};

// Places in a text block.
constexpr qsizetype groupAt = 0, numberAt = 1, extensionAt = 3, cumulativeAt = 4, inAt = 5, outAt = 9,
                    verticalAt = 13, justificationAt = 14, commentAt = 15;
constexpr uchar lastExtension = 0xFF, userData = 0xFE;

inline QByteArrayView field(QByteArrayView gsi, Field f)
{
    return gsi.sliced(f.at, f.size);
}

inline void setField(QByteArray &gsi, Field f, QByteArrayView value)
{
    QByteArray padded = value.first(std::min(value.size(), f.size)).toByteArray();
    padded.append(f.size - padded.size(), ' ');
    gsi.replace(f.at, f.size, padded);
}

// A number written in digits, right-aligned with zeros ("00042").
inline QByteArray digits(qint64 number, qsizetype size)
{
    return QByteArray::number(number).rightJustified(size, '0', true);
}

// The frame rate of a disk format code; none for a code the program does not read.
inline std::optional<int> frameRateOf(QByteArrayView diskFormatCode)
{
    if (diskFormatCode == "STL25.01")
        return 25;
    if (diskFormatCode == "STL30.01")
        return 30;
    return std::nullopt;
}

// Teletext (display standard '1' or '2') counts rows of 23 and 40 characters a row.
inline bool isTeletext(QByteArrayView gsi)
{
    const char code = gsi[displayStandard.at];
    return code == '1' || code == '2';
}

// The four time code bytes as a number of frames at `rate`.
inline qint64 framesAt(QByteArrayView block, qsizetype at, int rate)
{
    const auto byte = [&](int i) { return qint64(uchar(block[at + i])); };
    return ((byte(0) * 60 + byte(1)) * 60 + byte(2)) * rate + byte(3);
}

inline void setFrames(QByteArray &block, qsizetype at, qint64 frames, int rate)
{
    const qint64 seconds = frames / rate;
    block[at] = char(seconds / 3600);
    block[at + 1] = char(seconds / 60 % 60);
    block[at + 2] = char(seconds % 60);
    block[at + 3] = char(frames % rate);
}

// The latest frame a time code holds: 23:59:59 and the last frame.
inline qint64 lastFrame(int rate)
{
    return 24LL * 3600 * rate - 1;
}

// "HHMMSSFF" as frames; none when it is not eight digits.
inline std::optional<qint64> timecodeFrames(QByteArrayView text, int rate)
{
    if (text.size() != 8)
        return std::nullopt;
    qint64 parts[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        parts[i] = text.sliced(i * 2, 2).toByteArray().toLongLong(&ok);
        if (!ok || !std::isdigit(uchar(text[i * 2])) || !std::isdigit(uchar(text[i * 2 + 1])))
            return std::nullopt;
    }
    return ((parts[0] * 60 + parts[1]) * 60 + parts[2]) * rate + parts[3];
}

} // namespace EbuStlSyntax

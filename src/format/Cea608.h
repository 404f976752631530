#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

// The codes of line-21 captions (CEA-608) that do not depend on a decoder's state: the
// character sets, the odd parity of each byte, the preamble address and mid-row codes.
// Bytes are given without their parity bit unless a name says otherwise.
class Cea608
{
public:
    enum class Colour { White, Green, Blue, Cyan, Red, Yellow, Magenta };
    struct Style
    {
        Colour colour = Colour::White;
        bool italic = false;
        bool underline = false;
        friend bool operator==(const Style &, const Style &) = default;
    };

    static constexpr int rows = 15;
    static constexpr int columns = 32;

    static bool hasOddParity(quint8 byte);
    static quint8 withParity(quint8 byte);

    // The character a byte from 0x20 to 0x7F stands for; the special set's (second byte of
    // 0x11 0x30…0x3F); the extended sets' (first byte 0x12 or 0x13, second 0x20…0x3F).
    static QChar standard(quint8 byte);
    static QChar special(quint8 second);
    static QChar extended(quint8 first, quint8 second);

    // How a character is sent on channel 1: as a standard byte, or as a code pair (a special
    // or extended character, which follows a standard one it replaces: `fallback`).
    struct Encoding
    {
        quint8 standard = 0; // the byte, or the fallback's for an extended character
        quint8 first = 0; // the code pair; 0 for a standard character
        quint8 second = 0;
    };
    static std::optional<Encoding> encode(QChar c);

    // The row (1 to 15) a preamble address code places the cursor on, or nothing when the
    // pair is none (the channel bit cleared from `first`).
    static std::optional<int> pacRow(quint8 first, quint8 second);
    // The code pair's first byte and the base of its second for a row.
    static std::pair<quint8, quint8> pacBase(int row);

    // "#00ff00" for green; empty for white, which a text leaves unsaid.
    static QString colourValue(Colour colour);
    // The 608 colour a <font color> value is, and whether exactly; nothing for no colour.
    static std::optional<std::pair<Colour, bool>> colourOf(QStringView value);
};

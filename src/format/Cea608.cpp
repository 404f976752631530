#include "format/Cea608.h"

#include "format/WebVttWriter.h"

#include <algorithm>
#include <bit>

namespace {

// The standard set is ASCII but for these.
constexpr std::pair<quint8, char16_t> standardExceptions[] = {
    {0x2A, u'á'}, {0x5C, u'é'}, {0x5E, u'í'}, {0x5F, u'ó'}, {0x60, u'ú'},
    {0x7B, u'ç'}, {0x7C, u'÷'}, {0x7D, u'Ñ'}, {0x7E, u'ñ'}, {0x7F, u'█'},
};

// 0x39 is the transparent space: a space that never breaks.
constexpr char16_t specials[16] = {u'®', u'°', u'½', u'¿', u'™', u'¢', u'£', u'♪',
                                   u'à', u'\u00A0', u'è', u'â', u'ê', u'î', u'ô', u'û'};

constexpr char16_t extended12[32] = {u'Á', u'É', u'Ó', u'Ú', u'Ü', u'ü', u'‘', u'¡', u'*', u'’', u'—',
                                     u'©', u'℠', u'•', u'“', u'”', u'À', u'Â', u'Ç', u'È', u'Ê', u'Ë',
                                     u'ë', u'Î', u'Ï', u'ï', u'Ô', u'Ù', u'ù', u'Û', u'«', u'»'};
constexpr char16_t extended13[32] = {u'Ã', u'ã', u'Í', u'Ì', u'ì', u'Ò', u'ò', u'Õ', u'õ', u'{', u'}',
                                     u'\\', u'^', u'_', u'|', u'~', u'Ä', u'ä', u'Ö', u'ö', u'ß', u'¥',
                                     u'¤', u'¦', u'Å', u'å', u'Ø', u'ø', u'┌', u'┐', u'└', u'┘'};

// The first byte of each row's preamble codes, and whether the row takes the upper half
// of the second bytes (0x60…0x7F).
constexpr std::pair<quint8, bool> pacRows[Cea608::rows] = {
    {0x11, false}, {0x11, true}, {0x12, false}, {0x12, true}, {0x15, false}, {0x15, true}, {0x16, false},
    {0x16, true},  {0x17, false}, {0x17, true}, {0x10, false}, {0x13, false}, {0x13, true}, {0x14, false},
    {0x14, true},
};

// A standard byte that looks like the character, for a receiver without the extended sets.
quint8 fallbackOf(QChar c)
{
    const QString decomposed = c.decomposition();
    const QChar base = decomposed.isEmpty() ? c : decomposed.front();
    if (base.unicode() >= 0x20 && base.unicode() < 0x7F && Cea608::standard(quint8(base.unicode())) == base)
        return quint8(base.unicode());
    return c == u'«' || c == u'»' || c == u'“' || c == u'”' ? '"'
        : c == u'‘' || c == u'’'                             ? '\''
        : c == u'—'                                          ? '-'
        : c == u'¡'                                          ? '!'
                                                             : ' ';
}

} // namespace

bool Cea608::hasOddParity(quint8 byte)
{
    return std::popcount(byte) % 2 == 1;
}

quint8 Cea608::withParity(quint8 byte)
{
    byte &= 0x7F;
    return hasOddParity(byte) ? byte : quint8(byte | 0x80);
}

QChar Cea608::standard(quint8 byte)
{
    for (const auto &[code, c] : standardExceptions) {
        if (code == byte)
            return QChar(c);
    }
    return byte >= 0x20 && byte < 0x80 ? QChar(byte) : QChar();
}

QChar Cea608::special(quint8 second)
{
    return second >= 0x30 && second <= 0x3F ? QChar(specials[second - 0x30]) : QChar();
}

QChar Cea608::extended(quint8 first, quint8 second)
{
    if (second < 0x20 || second > 0x3F)
        return {};
    if (first == 0x12)
        return QChar(extended12[second - 0x20]);
    if (first == 0x13)
        return QChar(extended13[second - 0x20]);
    return {};
}

std::optional<Cea608::Encoding> Cea608::encode(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0x20 && u < 0x80 && standard(quint8(u)) == c)
        return Encoding{quint8(u)};
    for (const auto &[code, standardChar] : standardExceptions) {
        if (standardChar == u)
            return Encoding{code};
    }
    for (int i = 0; i < 16; ++i) {
        if (specials[i] == u)
            return Encoding{0, 0x11, quint8(0x30 + i)};
    }
    for (int i = 0; i < 32; ++i) {
        if (extended12[i] == u)
            return Encoding{fallbackOf(c), 0x12, quint8(0x20 + i)};
        if (extended13[i] == u)
            return Encoding{fallbackOf(c), 0x13, quint8(0x20 + i)};
    }
    return std::nullopt;
}

std::optional<int> Cea608::pacRow(quint8 first, quint8 second)
{
    if (second < 0x40 || second > 0x7F)
        return std::nullopt;
    const bool upper = second >= 0x60;
    for (int row = 0; row < rows; ++row) {
        if (pacRows[row].first == first && pacRows[row].second == upper)
            return row + 1;
    }
    return std::nullopt; // 0x10 with 0x60…0x7F
}

std::pair<quint8, quint8> Cea608::pacBase(int row)
{
    const auto &[first, upper] = pacRows[std::clamp(row, 1, rows) - 1];
    return {first, upper ? quint8(0x60) : quint8(0x40)};
}

QString Cea608::colourValue(Colour colour)
{
    switch (colour) {
    case Colour::White: return {};
    case Colour::Green: return QStringLiteral("#00ff00");
    case Colour::Blue: return QStringLiteral("#0000ff");
    case Colour::Cyan: return QStringLiteral("#00ffff");
    case Colour::Red: return QStringLiteral("#ff0000");
    case Colour::Yellow: return QStringLiteral("#ffff00");
    case Colour::Magenta: return QStringLiteral("#ff00ff");
    }
    return {};
}

std::optional<std::pair<Cea608::Colour, bool>> Cea608::colourOf(QStringView value)
{
    // WebVTT's eight colour classes are 608's seven and black, which 608 writes white.
    const auto nearest = WebVttWriter::colourClass(value);
    if (!nearest)
        return std::nullopt;
    constexpr std::pair<const char16_t *, Colour> names[] = {
        {u"white", Colour::White}, {u"lime", Colour::Green}, {u"blue", Colour::Blue}, {u"cyan", Colour::Cyan},
        {u"red", Colour::Red}, {u"yellow", Colour::Yellow}, {u"magenta", Colour::Magenta},
    };
    for (const auto &[name, colour] : names) {
        if (nearest->name == QStringView(name))
            return std::pair{colour, nearest->exact};
    }
    return std::pair{Colour::White, false};
}

#include "format/EbuStlText.h"

#include "format/MarkupTokenizer.h"
#include "format/WebVttWriter.h"

#include <array>

namespace {

constexpr uchar italicOn = 0x80, italicOff = 0x81, underlineOn = 0x82, underlineOff = 0x83;
constexpr uchar white = 0x07;
constexpr char doubleHeight = 0x0D;

// The eight Teletext colours, by their code; WebVTT's colour classes are the same eight.
constexpr std::array<const char16_t *, 8> colourNames = {u"#000000", u"#ff0000", u"#00ff00", u"#ffff00",
                                                         u"#0000ff", u"#ff00ff", u"#00ffff", u"#ffffff"};
constexpr std::array<const char16_t *, 8> classNames = {u"black", u"red", u"lime", u"yellow", u"blue", u"magenta", u"cyan", u"white"};

bool isColour(uchar byte)
{
    return byte <= white;
}

// A code the text shows as a tag; the others (and white where no colour is open) are a
// row's own, kept in its layout.
bool isShown(uchar byte)
{
    return isColour(byte) || (byte >= italicOn && byte <= underlineOff);
}

bool isControl(uchar byte)
{
    return !EbuStlCharacters::isCharacter(byte) && byte != uchar(EbuStlText::lineBreakCode);
}

QList<QByteArrayView> rowsOf(QByteArrayView field, QByteArray &lineBreak, QByteArray &before, QByteArray &after)
{
    const char breakCode = EbuStlText::lineBreakCode;
    qsizetype start = 0;
    while (start < field.size() && field[start] == breakCode)
        ++start;
    qsizetype end = field.size();
    while (end > start && field[end - 1] == breakCode)
        --end;
    before = field.first(start).toByteArray();
    after = field.sliced(end).toByteArray();
    QList<QByteArrayView> rows;
    bool breakTaken = false;
    qsizetype rowStart = start;
    for (qsizetype at = start; at <= end; ++at) {
        if (at < end && field[at] != breakCode)
            continue;
        rows.append(field.sliced(rowStart, at - rowStart));
        qsizetype next = at;
        while (next < end && field[next] == breakCode)
            ++next;
        if (!breakTaken && next > at) {
            lineBreak = field.sliced(at, next - at).toByteArray();
            breakTaken = true;
        }
        rowStart = next;
        at = next - 1;
        if (next == end)
            break;
    }
    return rows;
}

} // namespace

EbuStlText::Decoded EbuStlText::decode(QByteArrayView field, EbuStlCharacters::Table table)
{
    // What follows the text is padding.
    qsizetype length = field.size();
    while (length > 0 && field[length - 1] == unusedCode)
        --length;
    Decoded decoded;
    Layout &layout = decoded.layout;
    const QList<QByteArrayView> rows = rowsOf(field.first(length), layout.lineBreak, layout.before, layout.after);
    QString &text = decoded.text;
    bool italic = false;
    bool underline = false;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QByteArrayView row = rows[r];
        if (r > 0)
            text += u'\n';
        qsizetype first = 0;
        while (first < row.size() && isControl(uchar(row[first])))
            ++first;
        qsizetype last = row.size();
        while (last > first && isControl(uchar(row[last - 1])))
            --last;
        QByteArray start, end;
        for (qsizetype i = 0; i < first; ++i) {
            if (!isShown(uchar(row[i])) || uchar(row[i]) == white)
                start += row[i];
        }
        for (qsizetype i = last; i < row.size(); ++i) {
            if (!isShown(uchar(row[i])))
                end += row[i];
        }
        layout.rowStarts.append(start);
        layout.rowEnds.append(end);
        // A colour lasts to the end of its row; a tag opens only where text follows.
        int colour = white;
        bool fontOpen = false;
        int pendingColour = -1;
        for (qsizetype at = 0; at < row.size();) {
            const uchar byte = uchar(row[at]);
            if (EbuStlCharacters::isCharacter(byte)) {
                if (pendingColour >= 0 && pendingColour != colour) {
                    if (fontOpen)
                        text += QStringLiteral("</font>");
                    fontOpen = pendingColour != white;
                    if (fontOpen)
                        text += QStringLiteral("<font color=\"%1\">").arg(QStringView(colourNames[pendingColour]));
                    colour = pendingColour;
                }
                pendingColour = -1;
                text += EbuStlCharacters::decode(row, at, table);
                continue;
            }
            ++at;
            if (isColour(byte))
                pendingColour = byte;
            else if ((byte == italicOn) != italic && (byte == italicOn || byte == italicOff)) {
                italic = !italic;
                text += italic ? QStringLiteral("<i>") : QStringLiteral("</i>");
            } else if ((byte == underlineOn) != underline && (byte == underlineOn || byte == underlineOff)) {
                underline = !underline;
                text += underline ? QStringLiteral("<u>") : QStringLiteral("</u>");
            }
        }
        if (fontOpen)
            text += QStringLiteral("</font>");
    }
    // A row of double height takes two: a row added to it is two line breaks on.
    if (rows.size() == 1 && layout.rowStarts.constFirst().contains(doubleHeight))
        layout.lineBreak = QByteArray(2, lineBreakCode);
    if (underline)
        text += QStringLiteral("</u>");
    if (italic)
        text += QStringLiteral("</i>");
    return decoded;
}

int EbuStlText::colourCode(QStringView colour, bool *exact)
{
    const auto nearest = WebVttWriter::colourClass(colour);
    if (!nearest)
        return -1;
    if (exact)
        *exact = nearest->exact;
    for (std::size_t code = 0; code < classNames.size(); ++code) {
        if (nearest->name == QStringView(classNames[code]))
            return int(code);
    }
    return -1;
}

EbuStlText::Encoded EbuStlText::encode(QStringView text, EbuStlCharacters::Table table, const Layout &layout, int rowLimit)
{
    Encoded encoded;
    QByteArray &out = encoded.field;
    out += layout.before;
    int row = 0;
    QByteArray current;
    bool cut = false;
    QList<int> colours; // the colours open, innermost last
    int shownColour = white;
    const auto rowPart = [&](const QList<QByteArray> &parts) {
        return parts.isEmpty() ? QByteArray() : parts.value(std::min<qsizetype>(row, parts.size() - 1));
    };
    const auto add = [&](QByteArrayView bytes) {
        if (rowLimit > 0 && current.size() + bytes.size() + rowPart(layout.rowEnds).size() > rowLimit) {
            cut = true;
            return;
        }
        current += bytes;
    };
    const auto startRow = [&] {
        current = rowPart(layout.rowStarts);
        cut = false;
        shownColour = white;
    };
    const auto endRow = [&] {
        current += rowPart(layout.rowEnds);
        out += current;
        encoded.cutRows += cut;
    };
    // A colour is written where its text begins: a row starts in white.
    const auto showColour = [&] {
        const int wanted = colours.isEmpty() ? white : colours.last();
        if (wanted != shownColour && wanted >= 0) {
            add(QByteArray(1, char(wanted)));
            shownColour = wanted;
        }
    };
    const QString composed = text.toString().normalized(QString::NormalizationForm_C);
    startRow();
    for (const MarkupTokenizer::Token &token : MarkupTokenizer::tokenize(composed)) {
        using Kind = MarkupTokenizer::Kind;
        switch (token.kind) {
        case Kind::LineBreak:
            endRow();
            out += layout.lineBreak;
            ++row;
            startRow();
            break;
        case Kind::Text: {
            const QStringView part = token.raw;
            for (qsizetype at = 0; at < part.size();) {
                QByteArray bytes;
                const qsizetype taken = EbuStlCharacters::encode(part, at, table, bytes);
                if (taken == 0) {
                    encoded.unheld = EbuStlCharacters::firstUnheld(part.sliced(at), table);
                    encoded.field.clear();
                    return encoded;
                }
                if (!part[at].isSpace())
                    showColour();
                add(bytes);
                at += taken;
            }
            break;
        }
        case Kind::Italic:
            add(QByteArray(1, char(token.closing ? italicOff : italicOn)));
            break;
        case Kind::Underline:
            add(QByteArray(1, char(token.closing ? underlineOff : underlineOn)));
            break;
        case Kind::Color:
            if (token.closing) {
                if (!colours.isEmpty())
                    colours.removeLast();
            } else {
                colours.append(colourCode(token.value));
            }
            break;
        case Kind::Bold:
        case Kind::Position:
        case Kind::AssOverride:
        case Kind::WebVttTag:
            break;
        }
    }
    endRow();
    out += layout.after;
    return encoded;
}

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>

// What the ASS reader and writer both know of (Advanced) SubStation Alpha: the event
// fields each version names, and how the legacy alignment numbers of \a map onto the
// numpad ones of \an.
namespace AssSyntax {

// The fields of an event in the order the standard Format line gives, as the reader keeps
// names: lowercase, trimmed. SSA (v4.00) has "Marked" where ASS has "Layer".
inline QStringList eventFieldNames(bool ssa)
{
    return {ssa ? QStringLiteral("marked") : QStringLiteral("layer"),
            QStringLiteral("start"),
            QStringLiteral("end"),
            QStringLiteral("style"),
            QStringLiteral("name"),
            QStringLiteral("marginl"),
            QStringLiteral("marginr"),
            QStringLiteral("marginv"),
            QStringLiteral("effect"),
            QStringLiteral("text")};
}

// "h:mm:ss.cc", rounded to centiseconds: half a hundredth up, counted from whole
// milliseconds (72.585 s is 7258.4999… hundredths as a double, yet 72.59 s).
inline QString formatTime(double seconds)
{
    const qint64 centiseconds = std::max<qint64>(0, (qRound64(seconds * 1000) + 5) / 10);
    return QStringLiteral("%1:%2:%3.%4")
        .arg(centiseconds / 360000)
        .arg(centiseconds / 6000 % 60, 2, 10, QChar(u'0'))
        .arg(centiseconds / 100 % 60, 2, 10, QChar(u'0'))
        .arg(centiseconds % 100, 2, 10, QChar(u'0'));
}

inline QString eventFormatLine(bool ssa)
{
    return ssa ? QStringLiteral("Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text")
               : QStringLiteral("Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text");
}

// The values of an event line ("Dialogue: 0,0:00:01.00,…"): `count` of them, the last
// taking the rest of the line, commas and all; fewer when the line has too few commas.
// `valuesStart` is where the first begins, past the kind, its colon and the blanks after.
inline QList<QStringView> eventValues(QStringView line, qsizetype count, qsizetype &valuesStart)
{
    valuesStart = line.indexOf(u':') + 1;
    while (valuesStart < line.size() && (line[valuesStart] == u' ' || line[valuesStart] == u'\t'))
        ++valuesStart;
    QList<QStringView> values;
    values.reserve(count);
    qsizetype position = valuesStart;
    while (values.size() + 1 < count) {
        const qsizetype comma = line.indexOf(u',', position);
        if (comma < 0)
            return values;
        values.append(line.sliced(position, comma - position));
        position = comma + 1;
    }
    values.append(line.sliced(position));
    return values;
}

// \a counts 1–3 along the bottom, +4 for the top row and +8 for the middle one; \an is
// laid out as a numeric keypad. 0 when `legacy` is no alignment.
inline int numpadAlignment(int legacy)
{
    if (legacy >= 1 && legacy <= 3)
        return legacy;
    if (legacy >= 5 && legacy <= 7)
        return legacy + 2;
    if (legacy >= 9 && legacy <= 11)
        return legacy - 5;
    return 0;
}

inline int legacyAlignment(int numpad)
{
    if (numpad >= 1 && numpad <= 3)
        return numpad;
    if (numpad >= 7 && numpad <= 9)
        return numpad - 2;
    if (numpad >= 4 && numpad <= 6)
        return numpad + 5;
    return 0;
}

} // namespace AssSyntax

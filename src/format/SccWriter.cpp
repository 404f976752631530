#include "format/SccWriter.h"

#include "format/Cea608.h"
#include "format/MarkupTokenizer.h"
#include "format/SccReader.h"
#include "format/TimeDisplay.h"

#include <QMap>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

using Style = Cea608::Style;
using Colour = Cea608::Colour;

constexpr int maxRows = 4;

// What goes out in one frame, or in two when it is a control code sent twice.
struct Unit
{
    quint8 first;
    quint8 second;
    bool doubled = true;
};

Unit command(quint8 code)
{
    return {0x14, code};
}

struct Cell
{
    QChar c;
    Style style;
};
using Line = QList<Cell>;

struct Layout
{
    QList<Unit> units;
    bool wrapped = false;
    bool tooManyRows = false;
    bool bold = false;
    bool approximatedColour = false;
    bool empty = false;
    QSet<QChar> replaced;
};

QList<Line> wrapped(const QList<Line> &lines, bool &wrappedAny)
{
    QList<Line> out;
    for (Line line : lines) {
        while (line.size() > Cea608::columns) {
            qsizetype cut = Cea608::columns;
            while (cut > 0 && line[cut].c != u' ')
                --cut;
            if (cut == 0)
                cut = Cea608::columns;
            out.append(line.first(cut));
            line = line.sliced(cut);
            while (!line.isEmpty() && line.front().c == u' ')
                line.removeFirst();
            wrappedAny = true;
        }
        out.append(line);
    }
    return out;
}

// The mid-row codes that turn the style on; each shows as a space.
QList<Unit> midRow(const Style &style)
{
    const quint8 underline = style.underline ? 1 : 0;
    QList<Unit> units;
    if (!style.italic || style.colour != Colour::White)
        units.append({0x11, quint8(0x20 + int(style.colour) * 2 + underline)});
    if (style.italic)
        units.append({0x11, quint8(0x2E + underline)});
    return units;
}

class UnitBuilder
{
public:
    void standard(quint8 byte)
    {
        m_pending.append(byte);
        if (m_pending.size() == 2)
            flush();
    }
    void code(Unit unit)
    {
        flush();
        m_units.append(unit);
    }
    QList<Unit> take()
    {
        flush();
        return std::move(m_units);
    }

private:
    void flush()
    {
        if (m_pending.isEmpty())
            return;
        m_units.append({m_pending[0], m_pending.size() > 1 ? m_pending[1] : quint8(0), false});
        m_pending.clear();
    }
    QList<quint8> m_pending;
    QList<Unit> m_units;
};

Layout layoutOf(const Subtitle &subtitle, const FormatKeep::Cue *cue)
{
    Layout layout;
    QList<Line> lines{Line{}};
    Style style;
    QList<Colour> colours;
    int an = 2;
    const QString text = subtitle.text();
    for (const MarkupTokenizer::Token &token : MarkupTokenizer::tokenize(text)) {
        using Kind = MarkupTokenizer::Kind;
        switch (token.kind) {
        case Kind::Text:
            for (const QChar c : token.raw) {
                if (MarkupTokenizer::isLineBreak(c))
                    lines.append(Line{});
                else
                    lines.last().append({c.isSpace() ? QChar(u' ') : c, style});
            }
            break;
        case Kind::LineBreak: lines.append(Line{}); break;
        case Kind::Italic: style.italic = !token.closing; break;
        case Kind::Underline: style.underline = !token.closing; break;
        case Kind::Bold: layout.bold = layout.bold || !token.closing; break;
        case Kind::Color:
            if (token.closing) {
                if (!colours.isEmpty())
                    colours.removeLast();
            } else {
                const auto colour = Cea608::colourOf(token.value);
                layout.approximatedColour = layout.approximatedColour || !colour || !colour->second;
                colours.append(colour ? colour->first : Colour::White);
            }
            style.colour = colours.isEmpty() ? Colour::White : colours.last();
            break;
        case Kind::Position: an = token.value.toInt(); break;
        case Kind::AssOverride:
        case Kind::WebVttTag: break;
        }
    }
    for (Line &line : lines) {
        while (!line.isEmpty() && line.front().c == u' ')
            line.removeFirst();
        while (!line.isEmpty() && line.back().c == u' ')
            line.removeLast();
    }
    lines.removeIf([](const Line &line) { return line.isEmpty(); });
    lines = wrapped(lines, layout.wrapped);
    if (lines.size() > maxRows) {
        layout.tooManyRows = true;
        lines.resize(maxRows);
    }

    layout.empty = lines.isEmpty();
    UnitBuilder units;
    units.code(command(0x20)); // resume caption loading
    units.code(command(0x2E)); // erase what the last caption left in the hidden memory
    const int count = int(lines.size());
    const int firstRow = an >= 7 ? 1 : an >= 4 ? 8 - count / 2 : Cea608::rows - count + 1;
    for (int i = 0; i < count; ++i) {
        const Line &line = lines[i];
        int row = firstRow + i;
        int column = an % 3 == 1 ? 0 : an % 3 == 0 ? Cea608::columns - int(line.size()) : (Cea608::columns - int(line.size())) / 2;
        // A caption read from a file goes back where it was.
        if (cue && cue->fields.size() == count) {
            const QStringList place = cue->fields[i].split(u':');
            if (place.size() == 2) {
                row = std::clamp(place[0].toInt(), 1, Cea608::rows);
                column = std::clamp(place[1].toInt(), 0, Cea608::columns - 1);
            }
        }
        // A style the row begins with takes a mid-row code in the column before it.
        const bool styled = line.front().style != Style{};
        const int styleCodes = styled ? int(midRow(line.front().style).size()) : 0;
        column = std::max(column, styleCodes);
        const int codeColumn = column - styleCodes;
        const auto [pacFirst, pacSecond] = Cea608::pacBase(row);
        units.code({pacFirst, quint8(pacSecond + 0x10 + (codeColumn / 4) * 2)});
        if (codeColumn % 4 > 0)
            units.code({0x17, quint8(0x20 + codeColumn % 4)});
        Style current;
        for (qsizetype at = 0; at < line.size(); ++at) {
            const Cell &cell = line[at];
            if (cell.c == u' ' && at + 1 < line.size() && line[at + 1].c != u' ' && line[at + 1].style != current) {
                current = line[at + 1].style;
                for (const Unit &unit : midRow(current))
                    units.code(unit);
                continue;
            }
            if (cell.c != u' ' && cell.style != current) {
                current = cell.style;
                for (const Unit &unit : midRow(current))
                    units.code(unit);
            }
            auto encoding = Cea608::encode(cell.c);
            if (!encoding) {
                layout.replaced.insert(cell.c);
                const QString base = cell.c.decomposition();
                encoding = base.isEmpty() ? std::nullopt : Cea608::encode(base.front());
                if (!encoding || encoding->first != 0)
                    encoding = Cea608::Encoding{'?'};
            }
            if (encoding->standard != 0)
                units.standard(encoding->standard);
            if (encoding->first != 0)
                units.code({encoding->first, encoding->second});
        }
    }
    layout.units = units.take();
    return layout;
}

struct Plan
{
    QMap<qint64, quint16> pairs; // by frame, with parity
    QStringList problems;
    qsizetype wrapped = 0;
    qsizetype bold = 0;
    qsizetype approximatedColours = 0;
    qsizetype cutShort = 0;
    qsizetype offFrame = 0;
    qsizetype empty = 0;
    QSet<QChar> replaced;
    qsizetype withReplaced = 0;
};

Plan planOf(const SubtitleList &subtitles, const FormatKeep *keep)
{
    Plan plan;
    SubtitleList ordered = subtitles;
    std::stable_sort(ordered.begin(), ordered.end(), [](const SubtitlePtr &a, const SubtitlePtr &b) { return a->start < b->start; });
    const auto put = [&plan](qint64 frame, Unit unit) {
        const auto pair = quint16(Cea608::withParity(unit.first) << 8 | Cea608::withParity(unit.second));
        plan.pairs.insert(frame, pair);
        if (unit.doubled)
            plan.pairs.insert(frame + 1, pair);
    };
    const Unit erase = command(0x2C);
    qint64 earliest = 0;
    std::optional<qint64> previousEnd;
    for (qsizetype i = 0; i < ordered.size(); ++i) {
        const Subtitle &subtitle = *ordered[i];
        const Layout layout = layoutOf(subtitle, keep ? keep->cue(subtitle) : nullptr);
        const QString number = QString::number(i + 1);
        if (layout.empty) {
            ++plan.empty;
            continue;
        }
        if (layout.tooManyRows)
            plan.problems.append(SccWriter::tr("subtitle %1 has more than 4 rows: the rows past the fourth are left out").arg(number));
        plan.wrapped += layout.wrapped;
        plan.bold += layout.bold;
        plan.approximatedColours += layout.approximatedColour;
        plan.withReplaced += !layout.replaced.isEmpty();
        plan.replaced.unite(layout.replaced);

        const qint64 start = std::max<qint64>(0, TimeDisplay::frameAt(subtitle.start, SccReader::frameRate));
        const auto onFrame = [](double time) {
            // A frame's start as a file in milliseconds keeps it: rounded, or cut.
            const double frameStart = SccReader::timeOfFrame(TimeDisplay::frameAt(time, SccReader::frameRate));
            return std::abs(frameStart - time) < 0.0005 || std::abs(std::floor(frameStart * 1000 + 1e-6) / 1000 - time) < 1e-9;
        };
        plan.offFrame += !onFrame(subtitle.start) || !onFrame(subtitle.end);
        qint64 end = std::max(start + 1, TimeDisplay::frameAt(subtitle.end, SccReader::frameRate));
        // The erase that ends the one before, where it falls before this one shows: its frames
        // are kept free of this one's codes.
        qint64 reservedFirst = -1;
        qint64 reservedLast = -2;
        if (previousEnd && *previousEnd < start) {
            reservedFirst = *previousEnd;
            reservedLast = *previousEnd + 1 < start ? *previousEnd + 1 : *previousEnd;
        }
        const auto clashes = [&](qint64 from, qint64 count) { return from <= reservedLast && from + count > reservedFirst; };
        QList<qint64> frames(layout.units.size());
        qint64 eoc = start;
        bool inTime = true;
        qint64 at = start;
        for (qsizetype u = layout.units.size() - 1; u >= 0 && inTime; --u) {
            const int length = layout.units[u].doubled ? 2 : 1;
            at -= length;
            if (clashes(at, length))
                at = reservedFirst - length;
            inTime = at >= earliest;
            frames[u] = at;
        }
        if (!inTime) {
            // Sent as soon as it can be; the one before is still erased at its end.
            if (previousEnd && reservedFirst < 0)
                reservedFirst = reservedLast = *previousEnd;
            at = earliest;
            for (qsizetype u = 0; u < layout.units.size(); ++u) {
                const int length = layout.units[u].doubled ? 2 : 1;
                if (clashes(at, length))
                    at = reservedLast + 1;
                frames[u] = at;
                at += length;
            }
            eoc = clashes(at, 2) ? reservedLast + 1 : at;
            const qint64 late = eoc - start;
            const QString seconds = QString::number(SccReader::timeOfFrame(late), 'f', 3);
            if (late > 0 && i == 0)
                plan.problems.append(SccWriter::tr("subtitle %1 shows %2 s (%n frame(s)) late: too little time from the start to send it", nullptr, int(late))
                                         .arg(number, seconds));
            else if (late > 0)
                plan.problems.append(SccWriter::tr("subtitle %1 shows %2 s (%n frame(s)) late: too little time after the one before to send it", nullptr, int(late))
                                         .arg(number, seconds));
        }
        for (qsizetype u = 0; u < layout.units.size(); ++u)
            put(frames[u], layout.units[u]);
        if (reservedFirst >= 0 && reservedFirst < eoc)
            put(reservedFirst, Unit{erase.first, erase.second, reservedLast > reservedFirst && reservedLast < eoc});
        if (previousEnd && *previousEnd > eoc)
            ++plan.cutShort;
        put(eoc, command(0x2F));
        earliest = eoc + 2;
        // Its erase after its own end of caption, sent twice.
        previousEnd = std::max(end, eoc + 2);
    }
    if (previousEnd)
        put(*previousEnd, erase);
    return plan;
}

bool isUnchangedFile(const SubtitleList &subtitles, const FormatKeep *keep)
{
    if (!keep || keep->format() != SubtitleFormat::Scc || keep->cueCount() != subtitles.size())
        return false;
    return std::all_of(subtitles.cbegin(), subtitles.cend(), [keep](const SubtitlePtr &subtitle) {
        const FormatKeep::Cue *cue = keep->cue(*subtitle);
        return cue && cue->isUnchanged(*subtitle);
    });
}

} // namespace

QString SccWriter::write(const SubtitleList &subtitles, const FormatKeep *keep)
{
    if (isUnchangedFile(subtitles, keep))
        return keep->header;
    const Plan plan = planOf(subtitles, keep);
    const TimeDisplay timecode(TimeForm::Timecode, SccReader::frameRate);
    QString out = SccReader::signature.toString() + QLatin1String("\n\n");
    qint64 next = -1;
    for (auto pair = plan.pairs.cbegin(); pair != plan.pairs.cend(); ++pair) {
        if (pair.key() != next) {
            if (next >= 0)
                out += QLatin1String("\n\n");
            out += timecode.format(SccReader::timeOfFrame(pair.key())) + u'\t';
        } else {
            out += u' ';
        }
        out += QStringLiteral("%1").arg(pair.value(), 4, 16, QLatin1Char('0'));
        next = pair.key() + 1;
    }
    if (next >= 0)
        out += u'\n';
    return out;
}

QStringList SccWriter::losses(const SubtitleList &subtitles, const FormatKeep *keep)
{
    if (isUnchangedFile(subtitles, keep))
        return {};
    const Plan plan = planOf(subtitles, keep);
    QStringList lost = plan.problems;
    if (plan.empty > 0)
        lost.append(tr("%n subtitle(s) with no text, which show nothing as captions", nullptr, int(plan.empty)));
    if (plan.offFrame > 0)
        lost.append(tr("the times of %n subtitle(s), moved to the start of their frame at 29.97 frames per second", nullptr, int(plan.offFrame)));
    if (plan.wrapped > 0)
        lost.append(tr("the line breaks of %n subtitle(s), wrapped to 32 columns", nullptr, int(plan.wrapped)));
    if (plan.withReplaced > 0) {
        QList<QChar> characters(plan.replaced.cbegin(), plan.replaced.cend());
        std::sort(characters.begin(), characters.end());
        lost.append(tr("characters captions do not have (%1) in %n subtitle(s), written as the nearest they have", nullptr, int(plan.withReplaced))
                        .arg(QString(characters.constData(), characters.size())));
    }
    if (plan.bold > 0)
        lost.append(tr("bold in %n subtitle(s)", nullptr, int(plan.bold)));
    if (plan.approximatedColours > 0)
        lost.append(tr("the colours of %n subtitle(s), written as the nearest of the seven captions have", nullptr, int(plan.approximatedColours)));
    if (plan.cutShort > 0)
        lost.append(tr("the ends of %n subtitle(s) that overlap the next, which replaces them when it shows", nullptr, int(plan.cutShort)));
    return lost;
}

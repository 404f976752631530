#include "format/AssReader.h"

#include "format/AssSyntax.h"
#include "format/FormatRepairs.h"
#include "format/LineReader.h"
#include "format/ParseError.h"

#include <QRegularExpression>

namespace {

using Part = FormatKeep::Part;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A time "h:mm:ss.cc" as the file has it, in seconds (negative when the file says so);
// "h:mm:ss:cc" too, as players read it. `mended` tells that only a repairing read takes
// it: a sign, minutes or seconds past 59, or one or three fraction digits (one counts
// centiseconds, as players read it; three, milliseconds).
std::optional<double> readTime(QStringView field, bool &mended)
{
    QStringView s = field.trimmed();
    mended = false;
    bool negative = false;
    if (s.startsWith(u'-')) {
        negative = mended = true;
        s = s.sliced(1);
    }
    qsizetype i = 0;
    const auto number = [&](qsizetype most, qint64 &value) {
        const qsizetype first = i;
        value = 0;
        while (i < s.size() && i - first < most && isAsciiDigit(s[i]))
            value = value * 10 + (s[i++].unicode() - u'0');
        return i - first;
    };
    const auto separator = [&](QChar c) { return i < s.size() && s[i++] == c; };
    const auto fractionSeparator = [&] { return i < s.size() && (s[i] == u'.' || s[i] == u':') && ++i; };
    qint64 hours = 0, minutes = 0, seconds = 0, fraction = 0;
    if (number(6, hours) == 0 || !separator(u':') || number(2, minutes) == 0 || !separator(u':')
        || number(2, seconds) == 0 || !fractionSeparator())
        return std::nullopt;
    const qsizetype fractionDigits = number(3, fraction);
    if (fractionDigits == 0 || i != s.size())
        return std::nullopt;
    mended = mended || minutes > 59 || seconds > 59 || fractionDigits != 2;
    const qint64 milliseconds = ((hours * 60 + minutes) * 60 + seconds) * 1000 + (fractionDigits == 3 ? fraction : fraction * 10);
    return (negative ? -milliseconds : milliseconds) / 1000.0;
}

// One override tag (without its backslash) in the program's own tags, or nothing when
// only ASS can say it.
std::optional<QString> commonTag(QStringView tag)
{
    static const QRegularExpression toggle(QStringLiteral(R"(^([ibu])([01]?)$)"));
    static const QRegularExpression colour(QStringLiteral(R"(^1?c(?:&[Hh]([0-9A-Fa-f]{1,8})&?)?$)"));
    static const QRegularExpression numpad(QStringLiteral(R"(^an([1-9])$)"));
    static const QRegularExpression legacy(QStringLiteral(R"(^a(\d{1,2})$)"));
    tag = tag.trimmed();
    if (tag.isEmpty())
        return std::nullopt;
    if (const auto match = toggle.match(tag); match.hasMatch())
        return (match.capturedView(2) == u"1" ? QStringLiteral("<%1>") : QStringLiteral("</%1>")).arg(match.capturedView(1));
    if (const auto match = colour.match(tag); match.hasMatch()) {
        if (!match.hasCaptured(1))
            return QStringLiteral("</font>");
        // &HBBGGRR&, perhaps with alpha before it or leading zeros left out.
        const QString bgr = match.captured(1).rightJustified(6, u'0').right(6).toLower();
        return QStringLiteral("<font color=\"#%1%2%3\">").arg(bgr.sliced(4, 2), bgr.sliced(2, 2), bgr.sliced(0, 2));
    }
    if (const auto match = numpad.match(tag); match.hasMatch())
        return QStringLiteral("{\\an%1}").arg(match.capturedView(1));
    if (const auto match = legacy.match(tag); match.hasMatch()) {
        if (const int numpadValue = AssSyntax::numpadAlignment(match.capturedView(1).toInt()))
            return QStringLiteral("{\\an%1}").arg(numpadValue);
    }
    return std::nullopt;
}

// An override block's content: the tags the program has its own way to say become those,
// the rest stay together in {…} blocks in their order.
void appendBlock(QStringView block, QString &out)
{
    if (block.isEmpty()) // shows nothing; writers put one after a backslash meant as one
        return;
    if (!block.startsWith(u'\\')) {
        (out += u'{') += block;
        out += u'}';
        return;
    }
    qsizetype assOnlyFrom = -1;
    const auto flushAssOnly = [&](qsizetype upTo) {
        if (assOnlyFrom >= 0) {
            (out += u'{') += block.sliced(assOnlyFrom, upTo - assOnlyFrom);
            out += u'}';
        }
        assOnlyFrom = -1;
    };
    // A tag runs to the next backslash outside parentheses: \t(…\i1…) is one tag.
    qsizetype tagStart = 0;
    int depth = 0;
    for (qsizetype i = 1; i <= block.size(); ++i) {
        if (i < block.size()) {
            const QChar c = block[i];
            if (c == u'(')
                ++depth;
            else if (c == u')')
                depth = std::max(0, depth - 1);
            if (c != u'\\' || depth > 0)
                continue;
        }
        if (const auto common = commonTag(block.sliced(tagStart + 1, i - tagStart - 1))) {
            flushAssOnly(tagStart);
            out += *common;
        } else if (assOnlyFrom < 0) {
            assOnlyFrom = tagStart;
        }
        tagStart = i;
    }
    flushAssOnly(block.size());
}

struct EventFields
{
    QStringList names;
    qsizetype start = -1;
    qsizetype end = -1;
    qsizetype style = -1;
    qsizetype name = -1;
    qsizetype layer = -1;
    qsizetype effect = -1;
    QList<qsizetype> margins;

    bool isUsable() const { return start >= 0 && end >= 0 && !names.isEmpty() && names.last() == u"text"; }

    static EventFields from(const QStringList &names)
    {
        EventFields fields;
        fields.names = names;
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString &name = names[i];
            if (name == u"start")
                fields.start = i;
            else if (name == u"end")
                fields.end = i;
            else if (name == u"style")
                fields.style = i;
            else if (name == u"name" || name == u"actor")
                fields.name = i;
            else if (name == u"layer")
                fields.layer = i;
            else if (name == u"effect")
                fields.effect = i;
            else if (name.startsWith(u"margin"))
                fields.margins.append(i);
        }
        return fields;
    }
};

class Reading
{
public:
    Reading(SubtitleFormat::Id format, QStringView text, bool repairing)
        : m_format(format)
        , m_text(text)
        , m_repairing(repairing)
        , m_keep(std::make_shared<FormatKeep>(format))
    {
    }

    Expected<FormatReading, QString> run();

private:
    enum class Section { None, ScriptInfo, Styles, Events, Other };

    // Each fails with the message that ends a strict read.
    Expected<void, QString> readSectionLine(QStringView line, QStringView trimmed);
    Expected<void, QString> readEventsLine(QStringView line, QStringView trimmed);
    Expected<void, QString> readDialogue(QStringView line);
    Expected<void, QString> readTimes(QStringView line, const QList<QStringView> &fields, double &start, double &end,
                                     double &readStart, double &readEnd);

    QString fault(QStringView line, const QString &why) const { return FormatRepairs::fault(m_lineNumber, line, why); }
    void note(QStringView line, const QString &description) { m_repairs.note(m_lineNumber, line, description); }

    SubtitleFormat::Id m_format;
    QStringView m_text;
    bool m_repairing;
    std::shared_ptr<FormatKeep> m_keep;
    SubtitleList m_subtitles;
    FormatRepairs m_repairs;

    Section m_section = Section::None;
    qsizetype m_lineNumber = 0; // counted from 1
    qsizetype m_lineOffset = 0;
    EventFields m_fields;
    // Where the text after the last event (or, before the first, the Format line) ends.
    qsizetype m_lastEnd = -1;
    bool m_scriptInfoSaid = false;
    bool m_softBreaksBreak = false; // WrapStyle 2: \n breaks the line like \N
};

Expected<FormatReading, QString> Reading::run()
{
    LineReader lines(m_text);
    QStringView line;
    while (lines.next(line)) {
        ++m_lineNumber;
        m_lineOffset = line.data() - m_text.data();
        QStringView trimmed = line.trimmed();
        if (m_lineNumber == 1 && trimmed.startsWith(QChar(0xFEFF)))
            trimmed = trimmed.sliced(1).trimmed();
        if (trimmed.isEmpty())
            continue;
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            const QStringView name = trimmed.sliced(1, trimmed.size() - 2).trimmed();
            if (name.compare(u"Script Info", Qt::CaseInsensitive) == 0) {
                m_section = Section::ScriptInfo;
            } else if (name.compare(u"V4+ Styles", Qt::CaseInsensitive) == 0 || name.compare(u"V4 Styles", Qt::CaseInsensitive) == 0
                       || name.compare(u"V4 Styles+", Qt::CaseInsensitive) == 0) {
                m_section = Section::Styles;
            } else if (name.compare(u"Events", Qt::CaseInsensitive) == 0) {
                m_section = Section::Events;
            } else {
                // [Fonts], [Graphics], a program's own section: kept as they are.
                m_section = Section::Other;
                m_keep->count(Part::Notes);
            }
            continue;
        }
        if (auto read = readSectionLine(line, trimmed); !read)
            return read.error();
    }

    if (m_keep->cueCount() == 0) {
        const qsizetype split = m_lastEnd >= 0 ? m_lastEnd : m_text.size();
        m_keep->header = m_text.first(split).toString();
        m_keep->trailer = m_text.sliced(split).toString();
    } else {
        m_keep->trailer = m_text.sliced(m_lastEnd).toString();
    }
    m_keep->fileFields = m_fields.names;
    if (m_scriptInfoSaid)
        m_keep->count(Part::Header);
    return m_repairs.finish(std::move(m_subtitles), std::move(m_keep));
}

Expected<void, QString> Reading::readSectionLine(QStringView line, QStringView trimmed)
{
    const bool comment = trimmed.startsWith(u';') || trimmed.startsWith(u"!:");
    switch (m_section) {
    case Section::None:
        if (comment)
            return {};
        if (m_repairing) {
            note(line, AssReader::tr("Left out a line that comes before the first section."));
            return {};
        }
        return fault(line, AssReader::tr("A script begins with a section such as [Script Info]."));
    case Section::ScriptInfo:
        if (!comment && !trimmed.startsWith(u"ScriptType", Qt::CaseInsensitive))
            m_scriptInfoSaid = true;
        if (trimmed.startsWith(u"WrapStyle:", Qt::CaseInsensitive))
            m_softBreaksBreak = trimmed.sliced(10).trimmed() == u"2";
        return {};
    case Section::Styles:
        if (trimmed.startsWith(u"Style:", Qt::CaseInsensitive))
            m_keep->count(Part::StyleDefinitions);
        return {};
    case Section::Events:
        return comment ? Expected<void, QString>() : readEventsLine(line, trimmed);
    case Section::Other:
        return {};
    }
    return {};
}

Expected<void, QString> Reading::readEventsLine(QStringView line, QStringView trimmed)
{
    const qsizetype colon = trimmed.indexOf(u':');
    const QStringView key = colon > 0 ? trimmed.first(colon).trimmed() : QStringView();
    if (key.compare(u"Format", Qt::CaseInsensitive) == 0) {
        QStringList names;
        for (const QStringView name : trimmed.sliced(colon + 1).split(u','))
            names.append(name.trimmed().toString().toLower());
        const EventFields fields = EventFields::from(names);
        if (!fields.isUsable()) {
            if (!m_repairing)
                return fault(line, AssReader::tr("The Format line must name Start and End, and Text last."));
            note(line, AssReader::tr("The Format line names no Start, End or Text last: read the events in the standard order."));
            m_fields = EventFields::from(AssSyntax::eventFieldNames(m_format == SubtitleFormat::Ssa));
        } else {
            m_fields = fields;
        }
        if (m_keep->cueCount() == 0)
            m_lastEnd = m_lineOffset + line.size();
        return {};
    }
    if (key.compare(u"Dialogue", Qt::CaseInsensitive) == 0)
        return readDialogue(line);
    // Comment events, Picture, Sound, Movie and Command ones nobody plays, and the notes
    // real scripts carry among their events, which players pass over: kept as they are.
    m_keep->count(Part::Notes);
    return {};
}

Expected<void, QString> Reading::readDialogue(QStringView line)
{
    if (m_fields.names.isEmpty()) {
        if (!m_repairing)
            return fault(line, AssReader::tr("An event comes before the Format line of [Events]."));
        note(line, AssReader::tr("No Format line before the events: read them in the standard order."));
        m_fields = EventFields::from(AssSyntax::eventFieldNames(m_format == SubtitleFormat::Ssa));
    }
    // The last field, the text, takes the rest of the line, commas and all.
    qsizetype valuesStart = 0;
    QList<QStringView> fields = AssSyntax::eventValues(line, m_fields.names.size(), valuesStart);
    if (fields.size() < m_fields.names.size()) {
        // The value after the last comma, which fell out, is the last field.
        fields = AssSyntax::eventValues(line, fields.size() + 1, valuesStart);
        const QString why = AssReader::tr("The event has %1 fields where the Format line names %2.")
                                .arg(fields.size())
                                .arg(m_fields.names.size());
        if (!m_repairing)
            return fault(line, why);
        // Its times in their places and a field after them: the last is the text.
        if (std::max(m_fields.start, m_fields.end) + 1 >= fields.size()) {
            note(line, why + u' ' + AssReader::tr("Left it out; it is kept as it stands."));
            return {};
        }
        note(line, why + u' ' + AssReader::tr("Took its last field for the text."));
    }

    double start = 0, end = 0, readStart = 0, readEnd = 0;
    if (auto read = readTimes(line, fields, start, end, readStart, readEnd); !read)
        return read;
    if (start < 0) // an event left out by a repairing read
        return {};

    const QString text = AssReader::textOf(fields.last(), m_softBreaksBreak);
    const SubtitlePtr subtitle = Subtitle::create(text, start, end);
    FormatKeep::Cue cue;
    if (m_keep->cueCount() == 0) {
        m_keep->header = m_text.first(m_lineOffset).toString();
    } else {
        cue.before = m_text.sliced(m_lastEnd, m_lineOffset - m_lastEnd).toString();
    }
    cue.source = line.toString();
    cue.start = readStart;
    cue.end = readEnd;
    cue.text = text;
    // The writer splits `source` again when it needs the values: a million events would
    // otherwise keep ten million small strings. It gets the names they were read under.
    cue.order = m_keep->cueCount();
    cue.fields = m_fields.names; // shared by every event read under the same Format line
    m_lastEnd = m_lineOffset + line.size();

    const auto value = [&](qsizetype index) { return index >= 0 && index < fields.size() - 1 ? fields[index].trimmed() : QStringView(); };
    QStringView style = value(m_fields.style);
    while (style.startsWith(u'*'))
        style = style.sliced(1);
    if (!style.isEmpty() && style.compare(u"Default", Qt::CaseInsensitive) != 0)
        m_keep->count(Part::Styles);
    if (value(m_fields.layer).toInt() != 0)
        m_keep->count(Part::Layers);
    if (std::any_of(m_fields.margins.cbegin(), m_fields.margins.cend(), [&](qsizetype index) { return value(index).toInt() != 0; }))
        m_keep->count(Part::Margins);
    if (!value(m_fields.effect).isEmpty())
        m_keep->count(Part::Effects);
    if (!value(m_fields.name).isEmpty())
        m_keep->count(Part::Speakers);

    m_keep->keep(subtitle, std::move(cue));
    m_subtitles.append(subtitle);
    return {};
}

// The event's times: as read (kept, so that an unedited time is written as it was) and
// as the subtitle gets them. A repairing read that cannot use them sets `start` below 0.
Expected<void, QString> Reading::readTimes(QStringView line, const QList<QStringView> &fields, double &start, double &end,
                                          double &readStart, double &readEnd)
{
    const auto readOne = [&](QStringView field, bool isStart, double &time, double &read) -> Expected<void, QString> {
        bool mended = false;
        const auto seconds = readTime(field, mended);
        const QString quoted = ParseError::quotedLine(field.trimmed());
        if (!seconds || (mended && !m_repairing)) {
            const QString why = isStart ? AssReader::tr("The start “%1” is not a time h:mm:ss.cc.").arg(quoted)
                                        : AssReader::tr("The end “%1” is not a time h:mm:ss.cc.").arg(quoted);
            if (!m_repairing)
                return fault(line, why);
            note(line, why + u' ' + AssReader::tr("Left the event out; it is kept as it stands."));
            time = -1;
            return {};
        }
        read = *seconds;
        time = std::max(0.0, *seconds);
        if (mended)
            note(line, AssReader::tr("Read the time “%1” as %2.").arg(quoted, AssSyntax::formatTime(time)));
        return {};
    };
    if (auto read = readOne(fields[m_fields.start], true, start, readStart); !read || start < 0)
        return read;
    if (auto read = readOne(fields[m_fields.end], false, end, readEnd); !read || end < 0) {
        start = -1;
        return read;
    }
    if (end < start) {
        const QString why = AssReader::tr("The event ends at %1, before it starts at %2.").arg(AssSyntax::formatTime(end), AssSyntax::formatTime(start));
        if (!m_repairing)
            return fault(line, why);
        note(line, why + u' ' + AssReader::tr("Set the end to the start."));
        end = start;
    }
    return {};
}

} // namespace

Expected<FormatReading, QString> AssReader::read(SubtitleFormat::Id format, QStringView text, const FormatReadOptions &options)
{
    return Reading(format, text, options.repairing).run();
}

QString AssReader::textOf(QStringView field, bool softBreaksBreak)
{
    QString out;
    out.reserve(field.size());
    qsizetype i = 0;
    while (i < field.size()) {
        const QChar c = field[i];
        if (c == u'{') {
            const qsizetype close = field.indexOf(u'}', i + 1);
            if (close < 0) { // an unclosed brace is text
                out += field.sliced(i);
                break;
            }
            appendBlock(field.sliced(i + 1, close - i - 1), out);
            i = close + 1;
        } else if (c == u'\\' && i + 1 < field.size() && (field[i + 1] == u'N' || field[i + 1] == u'n')) {
            // \n is a break only where the script wraps no line itself; elsewhere players show a space.
            out += field[i + 1] == u'N' || softBreaksBreak ? u'\n' : u' ';
            i += 2;
        } else if (c == u'\\' && i + 1 < field.size() && field[i + 1] == u'h') {
            out += QChar(0x00A0);
            i += 2;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

#include "format/WebVttReader.h"

#include "format/FormatRepairs.h"
#include "format/WebVttWriter.h"

#include <QStringList>

#include <optional>

namespace {

using Part = FormatKeep::Part;

// One line of the file: where its text is, where the next line begins, its number from 1.
struct Line
{
    QStringView text;
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;
    qsizetype number = 0;
};

// WebVTT ends lines at CR, LF or CR LF only (not at U+2028 and its kind, unlike SRT).
class Lines
{
public:
    explicit Lines(QStringView text, qsizetype start)
        : m_text(text)
    {
        load(start, 1);
    }
    bool atEnd() const { return m_line.start >= m_text.size(); }
    const Line &current() const { return m_line; }
    void advance() { load(m_line.next, m_line.number + 1); }

private:
    void load(qsizetype start, qsizetype number)
    {
        qsizetype end = start;
        while (end < m_text.size() && m_text[end] != u'\n' && m_text[end] != u'\r')
            ++end;
        qsizetype next = end;
        if (next < m_text.size())
            next += m_text[next] == u'\r' && next + 1 < m_text.size() && m_text[next + 1] == u'\n' ? 2 : 1;
        m_line = {m_text.sliced(start, end - start), start, end, next, number};
    }

    QStringView m_text;
    Line m_line;
};

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\f';
}

// The line starts with `word` followed by a space, a tab or nothing.
bool startsWithWord(QStringView line, QStringView word)
{
    return line.startsWith(word) && (line.size() == word.size() || isSpace(line[word.size()]));
}

qsizetype skipSpaces(QStringView text, qsizetype i)
{
    while (i < text.size() && isSpace(text[i]))
        ++i;
    return i;
}

struct Timing
{
    double start = 0;
    double end = 0;
    QStringView settings; // the rest of the line after the end time, as written
    bool mended = false; // read with commas for dots, or with fewer fraction digits
};

// WebVTT's timestamp rules: the first number is the hours when it does not have exactly
// two digits or is over 59; minutes and seconds have two digits, milliseconds three.
// Mending, a comma may stand for the dot and the fraction have one or two digits (tenths,
// hundredths). Returns the length read.
qsizetype readTimestampAt(QStringView text, qsizetype i, double &seconds, bool mending = false)
{
    const auto digits = [&](qsizetype &at, qint64 &value) {
        const qsizetype from = at;
        value = 0;
        while (at < text.size() && text[at].isDigit() && text[at].unicode() < 128) {
            if (at - from >= 6)
                return qsizetype(-1); // more than 999999 hours: refused, not overflowed
            value = value * 10 + (text[at].unicode() - u'0');
            ++at;
        }
        return at - from;
    };
    qsizetype at = i;
    qint64 first = 0, second = 0, third = 0, fraction = 0;
    const qsizetype firstDigits = digits(at, first);
    if (firstDigits <= 0)
        return 0;
    const bool hours = firstDigits != 2 || first > 59;
    if (at >= text.size() || text[at] != u':')
        return 0;
    ++at;
    if (digits(at, second) != 2)
        return 0;
    if (hours || (at < text.size() && text[at] == u':')) {
        if (at >= text.size() || text[at] != u':')
            return 0;
        ++at;
        if (digits(at, third) != 2)
            return 0;
    } else {
        third = second;
        second = first;
        first = 0;
    }
    if (at >= text.size() || !(text[at] == u'.' || (mending && text[at] == u',')))
        return 0;
    ++at;
    const qsizetype fractionDigits = digits(at, fraction);
    if (!(fractionDigits == 3 || (mending && (fractionDigits == 1 || fractionDigits == 2))) || second > 59 || third > 59)
        return 0;
    for (qsizetype scale = fractionDigits; scale < 3; ++scale)
        fraction *= 10;
    seconds = double(first) * 3600 + double(second) * 60 + double(third) + double(fraction) / 1000;
    return at - i;
}

std::optional<Timing> readTiming(QStringView line, bool mending)
{
    Timing timing;
    timing.mended = mending;
    const qsizetype from = skipSpaces(line, 0);
    const qsizetype startLength = readTimestampAt(line, from, timing.start, mending);
    if (startLength == 0)
        return std::nullopt;
    qsizetype at = from + startLength;
    at = skipSpaces(line, at);
    if (!line.sliced(at).startsWith(u"-->"))
        return std::nullopt;
    at = skipSpaces(line, at + 3);
    const qsizetype endLength = readTimestampAt(line, at, timing.end, mending);
    if (endLength == 0)
        return std::nullopt;
    timing.settings = line.sliced(at + endLength);
    // A mended time must end where a time ends: "01.0x0" is no tenth of a second.
    if (mending && !timing.settings.isEmpty() && !isSpace(timing.settings.front()))
        return std::nullopt;
    return timing;
}

// A top or middle placement (or a bottom one to the left or right) as {\anN}; 0 for none.
int placementOf(QStringView settings)
{
    int row = 1; // 1 bottom, 2 middle, 3 top, counted as {\anN} rows
    int column = 2;
    bool aligned = false;
    int positionColumn = 0;
    const QString spaced = settings.toString().replace(u'\t', u' ').replace(u'\f', u' ');
    for (const QStringView setting : QStringView(spaced).split(u' ', Qt::SkipEmptyParts)) {
        const QStringView value = setting.sliced(setting.indexOf(u':') + 1).trimmed();
        if (setting.startsWith(u"vertical:"))
            return 0;
        if (setting.startsWith(u"line:")) {
            const QStringView line = value.first(value.indexOf(u',') < 0 ? value.size() : value.indexOf(u','));
            bool ok = false;
            if (line.endsWith(u'%')) {
                // A percentage has no sign ("-0%" is no placement at all).
                const double percent = line.first(1) != u"-" && line.first(1) != u"+" ? line.chopped(1).toDouble(&ok) : 0;
                if (ok)
                    row = percent <= 20 ? 3 : percent >= 40 && percent <= 60 ? 2 : 1;
            } else {
                const int number = line.toInt(&ok);
                if (ok)
                    row = number >= 0 && number <= 3 ? 3 : 1;
            }
        } else if (setting.startsWith(u"align:")) {
            column = value == u"left" || value == u"start" ? 1 : value == u"right" || value == u"end" ? 3 : 2;
            aligned = true;
        } else if (setting.startsWith(u"position:") && value.contains(u'%')) {
            // A box centred near an edge, when no alignment says otherwise, reads as that side.
            bool ok = false;
            const double percent = value.first(value.indexOf(u'%')).toDouble(&ok);
            if (ok)
                positionColumn = percent <= 25 ? 1 : percent >= 75 ? 3 : 2;
        }
    }
    if (!aligned && positionColumn != 0)
        column = positionColumn;
    const int an = (row - 1) * 3 + column;
    return an == 2 ? 0 : an;
}

// Whether {\anN} says all the settings say: only a line at the top, middle or default, and
// an alignment. Any other setting is the cue's own, which other formats leave out.
bool placementSaysAll(QStringView settings)
{
    const QString spaced = settings.toString().replace(u'\t', u' ').replace(u'\f', u' ');
    for (const QStringView setting : QStringView(spaced).split(u' ', Qt::SkipEmptyParts)) {
        if (setting != u"line:0" && setting != u"line:50%" && setting != u"line:auto" && !setting.startsWith(u"align:")
            && setting != u"position:auto")
            return false;
    }
    return true;
}

int entityValue(QStringView name)
{
    static const struct
    {
        const char16_t *name;
        char16_t value;
    } named[] = {{u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"nbsp", 0x00A0}, {u"lrm", 0x200E},
                 {u"rlm", 0x200F}, {u"quot", u'"'}, {u"apos", u'\''}};
    for (const auto &entity : named) {
        if (name == QStringView(entity.name))
            return entity.value;
    }
    if (name.size() < 2 || name.size() > 8 || name[0] != u'#')
        return -1;
    bool ok = false;
    const uint code = name[1] == u'x' || name[1] == u'X' ? name.sliced(2).toUInt(&ok, 16) : name.sliced(1).toUInt(&ok, 10);
    return ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF) ? int(code) : -1;
}

// Cue text as the program keeps it: lines joined by line feeds, entities decoded, and
// classes on <i>, <b>, <u> left out (the program's tags have none).
QString decodedText(QStringView raw)
{
    QString text;
    text.reserve(raw.size());
    qsizetype nextClose = -1;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == u'\r') {
            text += u'\n';
            if (i + 1 < raw.size() && raw[i + 1] == u'\n')
                ++i;
        } else if (c == u'&') {
            // Only as far as the longest reference: a text of ampersands stays linear.
            const qsizetype found = raw.sliced(i + 1, std::min<qsizetype>(raw.size() - i - 1, 9)).indexOf(u';');
            const qsizetype semicolon = found < 0 ? -1 : i + 1 + found;
            const int value = semicolon > i ? entityValue(raw.sliced(i + 1, semicolon - i - 1)) : -1;
            if (value < 0) {
                text += c;
                continue;
            }
            const char32_t code = char32_t(value);
            text += QStringView(QChar::fromUcs4(code));
            i = semicolon;
        } else if (c == u'<' && i + 2 < raw.size() && raw[i + 2] == u'.' && QStringView(u"ibu").contains(raw[i + 1])) {
            // Searched once per tag end, not once per '<': a text of "<i." stays linear.
            if (nextClose < i) {
                nextClose = raw.indexOf(u'>', i);
                if (nextClose < 0)
                    nextClose = raw.size();
            }
            const qsizetype close = nextClose < raw.size() ? nextClose : -1;
            if (close < 0) {
                text += c;
                continue;
            }
            text += u'<';
            text += raw[i + 1];
            text += u'>';
            i = close;
        } else {
            text += c;
        }
    }
    return text;
}

bool hasVoice(QStringView raw)
{
    for (qsizetype at = raw.indexOf(u"<v"); at >= 0; at = raw.indexOf(u"<v", at + 2)) {
        if (at + 2 < raw.size() && (isSpace(raw[at + 2]) || raw[at + 2] == u'.' || raw[at + 2] == u'>'))
            return true;
    }
    return false;
}

class Reader
{
public:
    Reader(QStringView text, const FormatReadOptions &options)
        : m_text(text)
        , m_options(options)
        , m_keep(std::make_shared<FormatKeep>(SubtitleFormat::WebVtt))
        , m_lines(text, text.startsWith(QChar(0xFEFF)) ? 1 : 0)
    {
    }

    Expected<FormatReading, QString> read();

private:
    struct Block
    {
        QList<Line> lines; // only the first few: a cue's text is read from the file
        qsizetype lineCount = 0;
        qsizetype timingIndex = -1;
        qsizetype start = 0;
        qsizetype end = 0;
        qsizetype textStart = 0;
    };

    Block collectBlock();
    // False (with the message set) when strict reading must stop at the block.
    bool readBlock(const Block &block);
    bool refuse(const Line &line, const QString &why);
    void repair(const Line &line, const QString &what);

    QStringView m_text;
    FormatReadOptions m_options;
    std::shared_ptr<FormatKeep> m_keep;
    Lines m_lines;
    SubtitleList m_subtitles;
    FormatRepairs m_repairs;
    QString m_error;
    QString m_pending; // text to write before the file's own (a signature it lacked)
    qsizetype m_gapStart = 0;
    qsizetype m_cues = 0;
    QString m_firstDropped; // why the first cue players drop was dropped, as a strict read says it
};

bool Reader::refuse(const Line &line, const QString &why)
{
    m_error = FormatRepairs::fault(line.number, line.text, why);
    return false;
}

void Reader::repair(const Line &line, const QString &what)
{
    m_repairs.note(line.number, line.text, what);
}

Reader::Block Reader::collectBlock()
{
    Block block;
    while (!m_lines.atEnd()) {
        const Line &line = m_lines.current();
        if (line.text.isEmpty())
            break;
        if (line.text.contains(u"-->")) {
            // A timing line begins a cue; one later in a block begins the next cue.
            if (block.lineCount == 0 || (block.lineCount == 1 && block.timingIndex < 0))
                block.timingIndex = block.lineCount;
            else
                break;
        }
        if (block.lineCount == 0)
            block.start = line.start;
        if (block.lineCount == block.timingIndex + 1 && block.timingIndex >= 0)
            block.textStart = line.start;
        if (block.lines.size() < 2)
            block.lines.append(line);
        ++block.lineCount;
        block.end = line.end;
        m_lines.advance();
    }
    if (block.timingIndex >= 0 && block.lineCount == block.timingIndex + 1)
        block.textStart = block.end;
    return block;
}

bool Reader::readBlock(const Block &block)
{
    // What players skip (a block without a timing line, a STYLE or REGION block after the
    // first cue, a cue whose timing line they cannot read) stays in the file as it stands,
    // between the cues around it.
    const Line &first = block.lines.first();
    if (block.timingIndex < 0) {
        const bool isStyle = startsWithWord(first.text, u"STYLE");
        const bool isRegion = startsWithWord(first.text, u"REGION");
        if ((isStyle || isRegion) && m_cues == 0)
            m_keep->count(isStyle ? Part::StyleDefinitions : Part::Regions);
        else
            m_keep->count(Part::Notes);
        return true;
    }

    const Line &timingLine = block.lines[block.timingIndex];
    std::optional<Timing> timing = readTiming(timingLine.text, false);
    if (!timing && m_options.repairing)
        timing = readTiming(timingLine.text, true);
    // Players skip a cue whose times are loosely written; a strict read does not leave out
    // without a word what a repairing one reads.
    if (!timing && readTiming(timingLine.text, true))
        return refuse(timingLine, WebVttReader::tr("The times are not written as WebVTT writes them (“[hh:]mm:ss.ttt”); a repairing read takes them."));
    if (!timing) {
        const QString why = WebVttReader::tr("This is not a WebVTT timing line (“[hh:]mm:ss.ttt --> [hh:]mm:ss.ttt”), or a time in it is too large.");
        m_keep->count(Part::Notes);
        if (m_options.repairing)
            repair(timingLine, WebVttReader::tr("Left out the cue, as players do; it stays in the file as it is: %1").arg(why));
        else if (m_firstDropped.isEmpty())
            m_firstDropped = FormatRepairs::fault(timingLine.number, timingLine.text, why);
        return true;
    }
    bool rewritten = timing->mended;
    if (timing->end < timing->start) {
        const QString why = WebVttReader::tr("The cue ends at %1, before it starts at %2.")
                                .arg(WebVttWriter::timestamp(timing->end), WebVttWriter::timestamp(timing->start));
        if (!m_options.repairing)
            return refuse(timingLine, why);
        repair(timingLine, why + u' ' + WebVttReader::tr("Set the end to the start."));
        timing->end = timing->start;
        rewritten = true;
    }

    const QStringView rawText = m_text.sliced(block.textStart, block.end - block.textStart);
    const QStringView identifier = block.timingIndex == 1 ? first.text : QStringView();
    const int an = placementOf(timing->settings);
    QString text = decodedText(rawText);
    if (an != 0)
        text.prepend(QStringLiteral("{\\an%1}").arg(an));

    QString source = m_text.sliced(block.start, block.end - block.start).toString();
    if (rewritten) {
        const QString timingText = WebVttWriter::timestamp(timing->start) + QStringLiteral(" --> ") + WebVttWriter::timestamp(timing->end)
            + timing->settings.toString();
        source = (identifier.isEmpty() ? QString() : identifier.toString() + u'\n') + timingText
            + (block.lineCount > block.timingIndex + 1 ? u'\n' + rawText.toString() : QString());
        if (timing->mended)
            repair(timingLine, WebVttReader::tr("Read the times as %1 --> %2, as WebVTT writes them.")
                                   .arg(WebVttWriter::timestamp(timing->start), WebVttWriter::timestamp(timing->end)));
    }

    if (!identifier.isEmpty())
        m_keep->count(Part::Identifiers);
    if (!placementSaysAll(timing->settings))
        m_keep->count(Part::CueSettings);
    if (hasVoice(rawText))
        m_keep->count(Part::Speakers);

    QString before = m_pending + m_text.sliced(m_gapStart, block.start - m_gapStart).toString();
    m_pending.clear();
    m_gapStart = block.end;
    if (m_cues == 0) {
        m_keep->header += before;
        before.clear();
    }
    SubtitlePtr subtitle = Subtitle::create(text, timing->start, timing->end);
    m_keep->keep(subtitle, FormatKeep::Cue{std::move(before), std::move(source), timing->start, timing->end, std::move(text),
                                           {identifier.toString(), timing->settings.toString()},
                                           m_cues});
    m_subtitles.append(std::move(subtitle));
    ++m_cues;
    return true;
}

Expected<FormatReading, QString> Reader::read()
{
    const qsizetype bom = m_lines.current().start;
    const Line signature = m_lines.current();
    if (startsWithWord(signature.text, u"WEBVTT")) {
        // The header runs to the first blank line, or to a timing line.
        qsizetype headerLines = 0;
        m_lines.advance();
        while (!m_lines.atEnd() && !m_lines.current().text.isEmpty() && !m_lines.current().text.contains(u"-->")) {
            ++headerLines;
            m_lines.advance();
        }
        if (headerLines > 0 || signature.text.size() > 6)
            m_keep->count(Part::Header);
        m_gapStart = bom;
    } else {
        const QString why = WebVttReader::tr("A WebVTT file begins with the line “WEBVTT”.");
        if (!m_options.repairing) {
            refuse(signature, why);
            return m_error;
        }
        repair(signature, WebVttReader::tr("Added the line “WEBVTT” that a WebVTT file begins with."));
        m_pending = QStringLiteral("WEBVTT\n\n");
        m_gapStart = bom;
    }

    while (true) {
        while (!m_lines.atEnd() && m_lines.current().text.isEmpty())
            m_lines.advance();
        if (m_lines.atEnd())
            break;
        const Block block = collectBlock();
        if (!readBlock(block))
            return m_error;
    }

    // Players would show nothing: the file is not read, as a file that is not WebVTT.
    if (m_cues == 0 && !m_firstDropped.isEmpty())
        return m_firstDropped;

    const QString rest = m_pending + m_text.sliced(m_gapStart).toString();
    if (m_cues == 0)
        m_keep->header = rest;
    else
        m_keep->trailer = rest;
    return m_repairs.finish(std::move(m_subtitles), std::move(m_keep));
}

} // namespace

Expected<FormatReading, QString> WebVttReader::read(QStringView text, const FormatReadOptions &options)
{
    return Reader(text, options).read();
}

#include "format/WebVttReader.h"

#include "format/ParseError.h"
#include "format/WebVttWriter.h"

#include <QStringList>

namespace {

using Part = FormatKeep::Part;
using Repair = TolerantSubtitleReader::Repair;

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
    bool mended = false; // read with commas for dots
};

// WebVTT's timestamp rules: the first number is the hours when it does not have exactly
// two digits or is over 59; minutes and seconds have two digits, milliseconds three.
// Returns the length read.
qsizetype readTimestampAt(QStringView text, qsizetype i, double &seconds, QChar fractionMark = u'.')
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
    if (at >= text.size() || text[at] != fractionMark)
        return 0;
    ++at;
    if (digits(at, fraction) != 3 || second > 59 || third > 59)
        return 0;
    seconds = double(first) * 3600 + double(second) * 60 + double(third) + double(fraction) / 1000;
    return at - i;
}

std::optional<Timing> readTiming(QStringView line, QChar fractionMark)
{
    Timing timing;
    const qsizetype from = skipSpaces(line, 0);
    const qsizetype startLength = readTimestampAt(line, from, timing.start, fractionMark);
    if (startLength == 0)
        return std::nullopt;
    qsizetype at = from + startLength;
    at = skipSpaces(line, at);
    if (!line.sliced(at).startsWith(u"-->"))
        return std::nullopt;
    at = skipSpaces(line, at + 3);
    const qsizetype endLength = readTimestampAt(line, at, timing.end, fractionMark);
    if (endLength == 0)
        return std::nullopt;
    timing.settings = line.sliced(at + endLength);
    return timing;
}

// A top or middle placement (or a bottom one to the left or right) as {\anN}; 0 for none.
int placementOf(QStringView settings)
{
    int row = 1; // 1 bottom, 2 middle, 3 top, counted as {\anN} rows
    int column = 2;
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
        }
    }
    const int an = (row - 1) * 3 + column;
    return an == 2 ? 0 : an;
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
    // What came since the last cue, and the block itself, is left out of the file.
    void skip(const Block &block);

    QStringView m_text;
    FormatReadOptions m_options;
    std::shared_ptr<FormatKeep> m_keep;
    Lines m_lines;
    FormatReading m_reading;
    QString m_error;
    QString m_pending; // text kept from before the current gap (when something was skipped)
    qsizetype m_gapStart = 0;
    qsizetype m_cues = 0;
};

bool Reader::refuse(const Line &line, const QString &why)
{
    m_error = ParseError::lineReads(line.number, line.text) + u' ' + why;
    return false;
}

void Reader::repair(const Line &line, const QString &what)
{
    if (m_reading.repairs.size() < TolerantSubtitleReader::listedRepairLimit)
        m_reading.repairs.append(Repair{line.number, what, ParseError::quotedLine(line.text)});
    else
        ++m_reading.unlistedRepairs;
}

void Reader::skip(const Block &block)
{
    m_pending += m_text.sliced(m_gapStart, block.start - m_gapStart);
    // The blank lines after the block go too, so that the gap is not doubled.
    while (!m_lines.atEnd() && m_lines.current().text.isEmpty())
        m_lines.advance();
    m_gapStart = m_lines.atEnd() ? m_text.size() : m_lines.current().start;
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
    const Line &first = block.lines.first();
    if (block.timingIndex < 0) {
        const bool isStyle = startsWithWord(first.text, u"STYLE");
        const bool isRegion = startsWithWord(first.text, u"REGION");
        if (startsWithWord(first.text, u"NOTE")) {
            m_keep->count(Part::Notes);
            return true;
        }
        if ((isStyle || isRegion) && m_cues == 0) {
            m_keep->count(isStyle ? Part::StyleDefinitions : Part::Regions);
            return true;
        }
        const QString why = isStyle || isRegion
            ? WebVttReader::tr("A STYLE or REGION block after the first cue is ignored by players.")
            : WebVttReader::tr("This block has no timing line (“00:00:01.000 --> 00:00:02.000”): it is neither a cue nor a note.");
        if (!m_options.repairing)
            return refuse(first, why);
        repair(first, WebVttReader::tr("Left out a block that players ignore: %1").arg(why));
        skip(block);
        return true;
    }

    const Line &timingLine = block.lines[block.timingIndex];
    std::optional<Timing> timing = readTiming(timingLine.text, u'.');
    if (!timing && m_options.repairing && (timing = readTiming(timingLine.text, u',')))
        timing->mended = true;
    if (!timing) {
        const QString why = WebVttReader::tr("This is not a WebVTT timing line (“[hh:]mm:ss.ttt --> [hh:]mm:ss.ttt”), or a time in it is too large.");
        if (!m_options.repairing)
            return refuse(timingLine, why);
        repair(timingLine, WebVttReader::tr("Left out the cue: %1").arg(why));
        skip(block);
        return true;
    }

    const QStringView rawText = m_text.sliced(block.textStart, block.end - block.textStart);
    const QStringView identifier = block.timingIndex == 1 ? first.text : QStringView();
    const int an = placementOf(timing->settings);
    QString text = decodedText(rawText);
    if (an != 0)
        text.prepend(QStringLiteral("{\\an%1}").arg(an));

    QString source = m_text.sliced(block.start, block.end - block.start).toString();
    if (timing->mended) {
        const QString timingText = WebVttWriter::timestamp(timing->start) + QStringLiteral(" --> ") + WebVttWriter::timestamp(timing->end)
            + timing->settings.toString();
        source = (identifier.isEmpty() ? QString() : identifier.toString() + u'\n') + timingText
            + (block.lineCount > block.timingIndex + 1 ? u'\n' + rawText.toString() : QString());
        repair(timingLine, WebVttReader::tr("Read the commas in the times as the dots WebVTT writes."));
    }

    if (!identifier.isEmpty())
        m_keep->count(Part::Identifiers);
    if (!timing->settings.trimmed().isEmpty())
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
    m_reading.subtitles.append(std::move(subtitle));
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

    const QString rest = m_pending + m_text.sliced(m_gapStart).toString();
    if (m_cues == 0)
        m_keep->header = rest;
    else
        m_keep->trailer = rest;
    sortSubtitles(m_reading.subtitles);
    m_reading.keep = m_keep;
    return std::move(m_reading);
}

} // namespace

std::optional<double> WebVttReader::readTimestamp(QStringView text)
{
    double seconds = 0;
    if (readTimestampAt(text, 0, seconds) != text.size() || text.isEmpty())
        return std::nullopt;
    return seconds;
}

Expected<FormatReading, QString> WebVttReader::read(QStringView text, const FormatReadOptions &options)
{
    return Reader(text, options).read();
}

#include "format/SubtitleWriter.h"

#include "format/LineReader.h"
#include "format/SrtSyntax.h"
#include "system/HugePages.h"
#include "system/ParallelHalves.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace {

using namespace SrtSyntax;

// Whether the only line ends of the text are line feeds. Every unit is looked at, without
// stopping early, which the compiler turns into many units at a time.
bool onlyLineFeeds(QStringView text)
{
    bool other = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        other |= (u == u'\r') | (u == 0x0085) | ((u & 0xFFFE) == 0x2028);
    }
    return !other;
}
bool onlyLineFeeds(QByteArrayView text)
{
    // A carriage return, or the first byte of U+0085 (C2 85) or of U+2028 and U+2029
    // (E2 80 A8, E2 80 A9); other characters that begin so get a closer look. Eight
    // bytes at a time: a byte equal to `b` is a zero byte of the word XOR b in every byte.
    constexpr quint64 lanes = 0x0101010101010101ull;
    const auto holds = [](quint64 word, uchar b) {
        const quint64 x = word ^ (lanes * b);
        return ((x - lanes) & ~x & (lanes * 0x80)) != 0;
    };
    bool other = false;
    qsizetype i = 0;
    for (; i + 8 <= text.size() && !other; i += 8) {
        quint64 word;
        std::memcpy(&word, text.data() + i, 8);
        other = holds(word, '\r') || holds(word, 0xC2) || holds(word, 0xE2);
    }
    for (; i < text.size() && !other; ++i) {
        const uchar b = uchar(text[i]);
        other = b == '\r' || b == 0xC2 || b == 0xE2;
    }
    if (!other)
        return true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && Utf8LineReader::terminatorLength(text, i) != 0)
            return false;
    }
    return true;
}

// Whether the text reads back as it stands, with this reader and with others: no empty
// or spaces-only line among several (other readers end the cue there; this one may take
// what follows for the next cue), no line that reads as the start of the next subtitle,
// no line break at the end, and single line feeds only. UTF-16 or UTF-8 alike.
template <typename View>
bool readsBackAsWritten(View text)
{
    using Unit = std::remove_cvref_t<decltype(text.front())>;
    if ((!text.isEmpty() && text.back() == u'\n') || !onlyLineFeeds(text))
        return false;
    const qsizetype size = text.size();
    for (qsizetype lineStart = 0; lineStart <= size;) {
        qsizetype lineEnd = text.indexOf(Unit(u'\n'), lineStart);
        if (lineEnd < 0)
            lineEnd = size;
        const View line = text.sliced(lineStart, lineEnd - lineStart);
        if ((isBlankLine(line) && size > line.size())
            || beginsSubtitle(line, BasicLineReader<View>(text.sliced(std::min(lineEnd + 1, size)))))
            return false;
        lineStart = lineEnd + 1;
    }
    return true;
}

// Where serialize writes: UTF-16 into a QString, or UTF-8 into bytes (with the line
// breaks of the file) so that the common file is written without a second conversion.
// Both are given room for the whole text first and write without checking. A text is
// written as it reads back, which can take a space more on each line.
class Utf16Output
{
public:
    qsizetype bound(const Subtitle &subtitle, qsizetype lineBreaks) const { return 2 * subtitle.storedSize() + 1 + lineBreaks; }

    void reserve(qsizetype size)
    {
        m_result = QString(size, Qt::Uninitialized);
        m_out = reinterpret_cast<char16_t *>(m_result.data());
    }
    void ascii(char c) { *m_out++ = char16_t(c); }
    void ascii(const char *begin, const char *end) { m_out = std::copy(begin, end, m_out); }
    void lineBreak() { *m_out++ = u'\n'; }
    // A UTF-8 text that reads back as it stands is decoded straight into the result.
    bool text(const Subtitle &subtitle)
    {
        if (const auto bytes = subtitle.utf8(); bytes && readsBackAsWritten(*bytes)) {
            m_out = reinterpret_cast<char16_t *>(m_decoder.appendToBuffer(reinterpret_cast<QChar *>(m_out), *bytes));
            return true;
        }
        const QString text = SubtitleWriter::textAsWritten(subtitle.text());
        m_out = std::copy(text.utf16(), text.utf16() + text.size(), m_out);
        return true;
    }
    QString take()
    {
        m_result.truncate(m_out - reinterpret_cast<char16_t *>(m_result.data()));
        return std::move(m_result);
    }

private:
    QString m_result;
    char16_t *m_out = nullptr;
    QStringDecoder m_decoder{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
};

class Utf8Output
{
public:
    Utf8Output(bool crlf, bool byteOrderMark)
        : m_crlf(crlf)
        , m_byteOrderMark(byteOrderMark)
    {
    }
    // A UTF-16 unit takes at most three bytes, a line feed two with CR LF.
    qsizetype bound(const Subtitle &subtitle, qsizetype lineBreaks) const
    {
        return 3 * subtitle.storedSize() + 2 + (m_crlf ? 2 : 1) * lineBreaks;
    }

    // Makes room, reusing the buffer when it is large enough; the mark goes first.
    void reserve(qsizetype size)
    {
        static constexpr char mark[] = "\xEF\xBB\xBF";
        if (m_buffer.size() < size + qsizetype(sizeof mark)) {
            // with room to spare, as the next part is likely a little larger
            m_buffer = QByteArray(size + size / 4 + sizeof mark, Qt::Uninitialized);
            HugePages::advise(m_buffer.data(), m_buffer.size());
        }
        m_out = m_buffer.data();
        if (std::exchange(m_byteOrderMark, false))
            ascii(mark, mark + 3);
    }
    void ascii(char c) { *m_out++ = c; }
    void ascii(const char *begin, const char *end) { m_out = std::copy(begin, end, m_out); }
    void lineBreak()
    {
        if (m_crlf)
            *m_out++ = '\r';
        *m_out++ = '\n';
    }
    // False for a lone surrogate, which UTF-8 cannot carry. A text that reads back as
    // it stands is copied as it is kept; the rare one that must be cleaned first is
    // cleaned in UTF-16 and encoded again.
    bool text(const Subtitle &subtitle)
    {
        const auto bytes = subtitle.utf8();
        if (!bytes)
            return false;
        if (readsBackAsWritten(*bytes))
            lines(*bytes);
        else
            lines(SubtitleWriter::textAsWritten(subtitle.text()).toUtf8());
        return true;
    }
    QByteArrayView written() const { return QByteArrayView(m_buffer.constData(), m_out - m_buffer.constData()); }

private:
    // Line feeds become the file's line breaks.
    void lines(QByteArrayView text)
    {
        if (!m_crlf) {
            m_out = std::copy(text.begin(), text.end(), m_out);
            return;
        }
        const char *p = text.data();
        const char *const end = p + text.size();
        while (const char *lineFeed = static_cast<const char *>(std::memchr(p, '\n', end - p))) {
            m_out = std::copy(p, lineFeed, m_out);
            lineBreak();
            p = lineFeed + 1;
        }
        m_out = std::copy(p, end, m_out);
    }

    QByteArray m_buffer;
    char *m_out = nullptr;
    bool m_crlf;
    bool m_byteOrderMark;
};

template <typename Output>
void writeNumber(Output &out, qint64 number)
{
    char buffer[24];
    char *end = buffer + 24;
    char *p = end;
    do {
        *--p = char('0' + number % 10);
        number /= 10;
    } while (number > 0);
    out.ascii(p, end);
}

} // namespace

QString SubtitleWriter::formatTime(double seconds)
{
    char buffer[maximumTimeLength];
    return QString::fromLatin1(buffer, writeTime(buffer, seconds) - buffer);
}

// Writes the time at `out` and returns the end of what it wrote (12 characters, more
// past 99 hours).
char *SubtitleWriter::writeTime(char *out, double seconds)
{
    if (!(seconds > 0)) // negative, zero or not a number
        seconds = 0;
    // A nudge of a nanosecond before truncating, so that a time read from text writes as
    // the same text (1.001 is stored just below 1.001). The nudge grows with the time:
    // past a few thousand hours the rounding error of a time read from text is larger
    // than a nanosecond.
    constexpr qint64 maxMilliseconds = qint64(999999) * 3600 * 1000 + 3599999;
    const double scaled = seconds * 1000.0;
    const double totalMilliseconds = std::floor(scaled + 1e-6 + scaled * 1e-15);
    const qint64 ms = totalMilliseconds < double(maxMilliseconds) ? qint64(totalMilliseconds) : maxMilliseconds;

    char buffer[maximumTimeLength];
    char *end = buffer + maximumTimeLength;
    char *p = end;
    auto put = [&p](qint64 value, int width) {
        for (int i = 0; i < width || (width == 0 && value > 0); ++i) {
            *--p = char('0' + value % 10);
            value /= 10;
        }
    };
    put(ms % 1000, 3);
    *--p = ',';
    put(ms / 1000 % 60, 2);
    *--p = ':';
    put(ms / 60000 % 60, 2);
    *--p = ':';
    const qint64 hours = ms / 3600000;
    put(hours % 100, 2);
    if (hours >= 100)
        put(hours / 100, 0);
    return std::copy(p, end, out);
}

QString SubtitleWriter::textAsWritten(const QString &text)
{
    if (readsBackAsWritten(QStringView(text)))
        return text;

    // Blank lines would end the subtitle: leave them out, leading ones included.
    QStringList lines;
    LineReader reader(text);
    QStringView line;
    while (reader.next(line)) {
        if (!isBlankLine(line))
            lines.append(line.toString());
    }
    // A line that reads as a timing line, or a number over one, would start a subtitle of
    // its own: a space in front keeps it text.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString rest = i + 1 < lines.size() ? lines[i + 1] : QString();
        if (beginsSubtitle(QStringView(lines[i]), LineReader(rest)))
            lines[i].prepend(u' ');
    }
    return lines.join(u'\n');
}

template <typename Output>
bool SubtitleWriter::write(const SubtitleList &subtitles, qsizetype from, qsizetype to, Output &out)
{
    // Written straight into a buffer of the largest size the blocks can take, then cut
    // to what was written: one allocation and no per-piece bookkeeping.
    constexpr qsizetype fixedPerBlock = 20 + 2 * maximumTimeLength + timeSeparatorLength;
    constexpr qsizetype lineBreaksPerBlock = 4;
    qsizetype bound = 0;
    for (qsizetype i = from; i < to; ++i)
        bound += out.bound(*subtitles[i], lineBreaksPerBlock) + fixedPerBlock;
    out.reserve(bound);

    static constexpr char separator[] = " --> ";
    char time[maximumTimeLength];
    for (qsizetype i = from; i < to; ++i) {
        const Subtitle &subtitle = *subtitles[i];
        writeNumber(out, i + 1);
        out.lineBreak();
        out.ascii(time, writeTime(time, subtitle.start));
        out.ascii(separator, separator + timeSeparatorLength);
        // an end before the start would not read back
        out.ascii(time, writeTime(time, std::max(subtitle.start, subtitle.end)));
        out.lineBreak();
        if (!out.text(subtitle))
            return false;
        out.lineBreak();
        out.lineBreak();
    }
    return true;
}

QString SubtitleWriter::serialize(const SubtitleList &subtitles)
{
    Utf16Output out;
    write(subtitles, 0, subtitles.size(), out);
    return out.take();
}

std::optional<QByteArray> SubtitleWriter::serializeUtf8(const SubtitleList &subtitles, bool crlf, bool byteOrderMark)
{
    QByteArray bytes;
    if (!writeUtf8(subtitles, crlf, byteOrderMark, [&bytes](QByteArrayView part) {
            bytes.append(part);
            return true;
        }))
        return std::nullopt;
    return bytes;
}

bool SubtitleWriter::writeUtf8(const SubtitleList &subtitles, bool crlf, bool byteOrderMark,
                               const std::function<bool(QByteArrayView)> &sink)
{
    // Parts of a few megabytes, two at a time: one written on a second thread while this
    // one writes the other and then hands it on. The two buffers are used again and
    // again, so a large file needs no fresh memory the size of the file.
    constexpr qsizetype partSize = 32768;
    const qsizetype count = subtitles.size();
    Utf8Output even(crlf, byteOrderMark);
    Utf8Output odd(crlf, false);
    const auto end = [count](qsizetype from) { return std::min(count, from + partSize); };
    for (qsizetype from = 0; from < count || (from == 0 && byteOrderMark); from += 2 * partSize) {
        const qsizetype next = end(from);
        bool oddWritten = true;
        bool evenHandedOn = false;
        const auto writeEven = [&] { evenHandedOn = write(subtitles, from, next, even) && sink(even.written()); };
        if (next < count)
            ParallelHalves::run(writeEven, [&] { oddWritten = write(subtitles, next, end(next), odd); });
        else
            writeEven();
        if (!evenHandedOn || !oddWritten || (next < count && !sink(odd.written())))
            return false;
    }
    return true;
}

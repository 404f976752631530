// The reader and writer of one format, named by its key in CUEWRIGHT_FUZZ_FORMAT ("vtt",
// "ass", "ttml"…), over bytes read as a UTF-8 file is read. Reading strictly or repairing
// must not crash and gives a valid list; what reads strictly reads the same repairing
// (which may list what a strict WebVTT read skips, as its rules say), and a repairing
// read that succeeds where the strict one fails says what it mended. For a format the
// program writes: an untouched file (with subtitles, in UTF-8, its lines ending one way)
// saves back byte for byte, and what either reading gives, saved with what it kept or
// written afresh, reads back to as many subtitles at the same times.
#include "FuzzCheck.h"

#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"
#include "document/TextFileFormat.h"
#include "format/LineReader.h"
#include "format/SubtitleFormatIo.h"
#include "format/Utf8Validator.h"

#include <cmath>

namespace {

SubtitleFormat::Id fuzzedFormat()
{
    static const SubtitleFormat::Id format = [] {
        const QString key = qEnvironmentVariable("CUEWRIGHT_FUZZ_FORMAT");
        const auto found = SubtitleFormat::fromKey(key);
        if (!found) {
            QStringList keys;
            for (const SubtitleFormat::Id each : SubtitleFormat::all)
                keys.append(SubtitleFormat::key(each));
            std::fprintf(stderr, "CUEWRIGHT_FUZZ_FORMAT must name a format: %s\n", qPrintable(keys.join(u", ")));
            std::exit(2);
        }
        return *found;
    }();
    return format;
}

// The most a written time may move from the one read: ASS and SSA hold hundredths.
double timeStep(SubtitleFormat::Id format)
{
    return format == SubtitleFormat::Ass || format == SubtitleFormat::Ssa ? 0.01 : 0.001;
}

// Lines end one way throughout (LF, or CR LF), so that saving, which ends every line as
// the first one ends, can give the same bytes.
bool uniformLineEnds(QByteArrayView bytes)
{
    qsizetype feeds = 0;
    qsizetype crlfs = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            return false;
        if (bytes[i] == '\n') {
            ++feeds;
            crlfs += i > 0 && bytes[i - 1] == '\r';
        }
    }
    return crlfs == 0 || crlfs == feeds;
}

void checkValid(const FormatReading &reading, qsizetype lines, const QString &text)
{
    const SubtitleList &subtitles = reading.subtitles;
    for (qsizetype i = 0; i < subtitles.size(); ++i) {
        FUZZ_CHECK(std::isfinite(subtitles[i]->start) && std::isfinite(subtitles[i]->end), text);
        FUZZ_CHECK(subtitles[i]->end >= subtitles[i]->start, text);
        if (i > 0)
            FUZZ_CHECK(subtitles[i - 1]->start <= subtitles[i]->start, text);
    }
    for (const auto &repair : reading.repairs)
        FUZZ_CHECK(repair.line >= 0 && repair.line <= std::max<qsizetype>(lines, 1) && !repair.description.isEmpty(), text);
    FUZZ_CHECK(reading.unlistedRepairs >= 0, text);
}

bool sameSubtitles(const SubtitleList &a, const SubtitleList &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i]->start != b[i]->start || a[i]->end != b[i]->end || a[i]->text() != b[i]->text())
            return false;
    }
    return true;
}

// `written` reads strictly to the subtitles, each time within `step` of the one read.
void checkReadsBack(SubtitleFormat::Id format, const QString &written, const SubtitleList &subtitles,
                    bool repairing, const QString &text)
{
    const auto again = SubtitleFormatIo::read(format, written, {.repairing = repairing});
    FUZZ_CHECK(again.hasValue(), again.error() + QStringLiteral("\n--- written:\n") + written + QStringLiteral("\n--- from:\n") + text);
    const SubtitleList &reread = again.value().subtitles;
    FUZZ_CHECK(reread.size() == subtitles.size(), written + QStringLiteral("\n--- from:\n") + text);
    const double step = timeStep(format) + 1e-9;
    for (qsizetype i = 0; i < reread.size(); ++i) {
        FUZZ_CHECK(std::abs(reread[i]->start - subtitles[i]->start) <= step
                       && std::abs(reread[i]->end - subtitles[i]->end) <= step,
                   written + QStringLiteral("\n--- from:\n") + text);
    }
}

// Where saving changed the file, for the report: the bytes around the first difference.
QString firstDifference(const QByteArray &read, const QByteArray &saved)
{
    qsizetype at = 0;
    while (at < read.size() && at < saved.size() && read[at] == saved[at])
        ++at;
    const qsizetype from = std::max<qsizetype>(0, at - 40);
    const auto around = [&](const QByteArray &bytes) {
        return QString::fromLatin1(bytes.mid(from, at - from + 40).toPercentEncoding(" !#$&'()*+,-./:;<=>?@[]^_`{|}~"));
    };
    return QStringLiteral("saved differs at byte %1 of %2 (saved %3)\nread:  %4\nsaved: %5")
        .arg(at).arg(read.size()).arg(saved.size()).arg(around(read), around(saved));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const SubtitleFormat::Id format = fuzzedFormat();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype mark = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    // As a UTF-8 file is read: without its byte-order mark, invalid sequences replaced, and
    // with line feeds alone when its first line ends in CR LF.
    QString text = QString::fromUtf8(QByteArrayView(bytes).sliced(mark));
    if (TextFileFormat::ofUtf8(bytes).crlf)
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    qsizetype lines = 0;
    LineReader reader(text);
    for (QStringView line; reader.next(line);)
        ++lines;

    const auto strict = SubtitleFormatIo::read(format, text);
    const auto repaired = SubtitleFormatIo::read(format, text, {.repairing = true});
    if (strict) {
        checkValid(strict.value(), lines, text);
        FUZZ_CHECK(strict.value().repairs.isEmpty() && strict.value().unlistedRepairs == 0, text);
        FUZZ_CHECK(repaired.hasValue(), repaired.error() + QStringLiteral("\n---\n") + text);
        FUZZ_CHECK(sameSubtitles(strict.value().subtitles, repaired.value().subtitles), text);
    } else {
        FUZZ_CHECK(!strict.error().isEmpty(), text);
    }
    if (!repaired) {
        FUZZ_CHECK(!repaired.error().isEmpty(), text);
        return 0;
    }
    checkValid(repaired.value(), lines, text);
    if (!strict)
        FUZZ_CHECK(!repaired.value().repairs.isEmpty(), text); // every repair is told

    if (!SubtitleFormat::isWritable(format))
        return 0;
    const FormatReading &reading = repaired.value();
    // A file without subtitles may be saved with the header its format needs instead.
    if (strict && !reading.subtitles.isEmpty() && Utf8Validator::isValid(bytes) && uniformLineEnds(bytes)) {
        const SubtitleFile::Layout layout(TextFileFormat::ofUtf8(bytes), format, reading.keep.get());
        const auto saved = SubtitleFile::encoded(reading.subtitles, TextEncoding::Utf8, layout);
        FUZZ_CHECK(saved.hasValue(), saved.error().message);
        FUZZ_CHECK(saved.value() == bytes, firstDifference(bytes, saved.value()));
    }
    // What a file had that no reading understood is kept, so a repaired one saved with it
    // may still need repairing.
    checkReadsBack(format, SubtitleFormatIo::write(format, reading.subtitles, reading.keep.get()), reading.subtitles,
                   !strict, text);
    checkReadsBack(format, SubtitleFormatIo::write(format, reading.subtitles, nullptr), reading.subtitles, false, text);
    return 0;
}

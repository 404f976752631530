// The repairing SRT reader over arbitrary text: it must not crash; text the strict reader
// accepts reads the same with no repairs; what it returns is a valid list whose repairs
// name lines of the text, and which writes as SRT that the strict reader reads back.
#include "FuzzCheck.h"

#include "format/LineReader.h"
#include "format/SubtitleParser.h"
#include "format/TolerantSubtitleReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    const SubtitleParser &parser = SubtitleParser::shared();
    const auto repaired = TolerantSubtitleReader::read(text);
    const auto strict = parser.parse(text);
    // UTF-8 is read a line at a time: the same outcome, to the message.
    if (const QByteArray utf8 = text.toUtf8(); QString::fromUtf8(utf8) == text) {
        const auto fromUtf8 = TolerantSubtitleReader::readUtf8(utf8);
        FUZZ_CHECK(bool(fromUtf8) == bool(repaired), text);
        if (!repaired)
            FUZZ_CHECK(fromUtf8.error() == repaired.error(), text);
        else
            FUZZ_CHECK(parser.serialize(fromUtf8.value().subtitles) == parser.serialize(repaired.value().subtitles)
                           && fromUtf8.value().repairs.size() == repaired.value().repairs.size(),
                       text);
    }
    if (!repaired) {
        FUZZ_CHECK(!strict, text);
        FUZZ_CHECK(repaired.error().startsWith(QStringLiteral("Line ")), text);
        return 0;
    }
    const SubtitleList &subtitles = repaired.value().subtitles;
    if (strict) {
        FUZZ_CHECK(repaired.value().repairs.isEmpty(), text);
        FUZZ_CHECK(parser.serialize(strict.value()) == parser.serialize(subtitles), text);
    } else {
        FUZZ_CHECK(!repaired.value().repairs.isEmpty(), text); // every repair is told
    }
    qsizetype lines = 0;
    LineReader reader(text);
    for (QStringView line; reader.next(line);)
        ++lines;
    for (const auto &repair : repaired.value().repairs)
        FUZZ_CHECK(repair.line >= 0 && repair.line < lines && !repair.description.isEmpty(), text);
    for (qsizetype i = 0; i < subtitles.size(); ++i) {
        FUZZ_CHECK(subtitles[i]->end >= subtitles[i]->start, text);
        if (i > 0)
            FUZZ_CHECK(subtitles[i - 1]->start <= subtitles[i]->start, text);
    }
    const auto again = parser.parse(parser.serialize(subtitles));
    FUZZ_CHECK(again && again.value().size() == subtitles.size(), text);
    return 0;
}

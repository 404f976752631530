// Bytes through the read path of a file: encoding detection with strict decoding, then
// the SRT reader; and strict decoding in one encoding picked by the first byte, with
// re-encoding of what decoded.
#include "FuzzCheck.h"

#include "document/TextEncoding.h"
#include "format/SubtitleParser.h"

#include <tuple>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto detected = TextEncoding::decodeDetectingEncoding(bytes);
    if (detected) {
        FUZZ_CHECK(TextEncoding::find(detected.value().encoding) != nullptr, QString::number(detected.value().encoding));
        // Here only reaching an answer counts: the unit tests check the answers.
        std::ignore = SubtitleParser::shared().parse(detected.value().text);
    } else {
        FUZZ_CHECK(!detected.error().message.isEmpty(), QString());
    }

    if (size == 0)
        return 0;
    const QList<TextEncoding::Entry> &encodings = TextEncoding::all();
    const int number = encodings[data[0] % encodings.size()].number;
    const auto decoded = TextEncoding::decode(bytes.sliced(1), number);
    if (decoded) {
        std::ignore = SubtitleParser::shared().parse(decoded.value());
        std::ignore = TextEncoding::encode(decoded.value(), number);
    } else {
        FUZZ_CHECK(!decoded.error().message.isEmpty(), TextEncoding::name(number));
    }
    return 0;
}

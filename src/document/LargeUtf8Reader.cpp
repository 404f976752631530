#include "document/LargeUtf8Reader.h"

#include "document/TextEncoding.h"
#include "format/SubtitleParser.h"
#include "format/Utf8Validator.h"
#include "system/HugePages.h"
#include "system/ParallelHalves.h"

#include <QFile>

#include <cstring>

namespace {

constexpr qsizetype partSize = 8 << 20;
constexpr qsizetype headSize = 4096;
const QByteArrayView utf8Mark("\xEF\xBB\xBF");

// Exactly `length` bytes at `position`, or nothing (the file changed under us).
std::optional<QByteArray> readAt(QFile &file, qint64 position, qint64 length)
{
    QByteArray bytes(length, Qt::Uninitialized);
    if (!file.seek(position) || file.read(bytes.data(), length) != length)
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<LargeUtf8Reader::Result> LargeUtf8Reader::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < minimumSize)
        return std::nullopt;
    const qint64 size = file.size();
    // What detection looks at first: a mark of another encoding, or UTF-16 without one,
    // leaves the file to the whole reading. So does a first line longer than the head.
    const auto head = readAt(file, 0, headSize);
    if (!head)
        return std::nullopt;
    const auto mark = TextEncoding::encodingOfByteOrderMark(*head);
    if ((mark && *mark != TextEncoding::Utf8) || (!mark && TextEncoding::utf16WithoutByteOrderMark(*head))
        || (!head->contains('\n') && !head->contains('\r')))
        return std::nullopt;
    Result result{{}, TextFileFormat::ofUtf8(*head)};

    // The second half begins at the first subtitle after the middle.
    const auto middle = readAt(file, size / 2, std::min<qint64>(1 << 20, size - size / 2));
    const auto start = middle ? SubtitleParser::firstPartStart(*middle) : std::nullopt;
    if (!start)
        return std::nullopt;
    const qint64 cut = size / 2 + start->first;
    SubtitleParser::Parts second;
    second.lastIndex = start->second - 1;
    bool secondRead = false;
    SubtitleParser::Parts first;
    bool firstRead = false;
    ParallelHalves::run([&] { firstRead = readRange(path, 0, cut, size, first); },
                        [&] { secondRead = readRange(path, cut, size, size, second); });
    if (!firstRead || !secondRead || first.lastIndex != start->second - 1)
        return std::nullopt;
    result.subtitles = SubtitleParser::joinParts(std::move(first), std::move(second));
    return result;
}

bool LargeUtf8Reader::readRange(const QString &path, qint64 from, qint64 to, qint64 size, SubtitleParser::Parts &parts)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from))
        return false;
    QByteArray buffer(partSize, Qt::Uninitialized);
    HugePages::advise(buffer.data(), buffer.size());
    qsizetype held = 0; // the beginning of the next part, carried over
    qint64 position = from;
    for (;;) {
        const qint64 wanted = std::min<qint64>(buffer.size() - held, to - position);
        if (wanted <= 0 || file.read(buffer.data() + held, wanted) != wanted)
            return false; // a subtitle longer than a part, or the file changed
        position += wanted;
        const QByteArrayView data(buffer.constData(), held + wanted);
        const bool rangeEnds = position == to;
        const auto end = rangeEnds ? std::optional<qsizetype>(data.size()) : SubtitleParser::lastPartStart(data);
        if (!end)
            return false;
        QByteArrayView part = data.first(*end);
        if (position - data.size() == 0 && part.startsWith(utf8Mark))
            part = part.sliced(utf8Mark.size());
        if (!Utf8Validator::isValid(part) || TextEncoding::looksLikeIso2022(part)
            || !SubtitleParser::shared().parseUtf8Part(part, rangeEnds && to == size, parts))
            return false;
        if (rangeEnds)
            return true;
        // The rest of the range is likely alike: room for all of it at once.
        if (position - from == data.size())
            parts.subtitles.reserve(qsizetype(double(parts.subtitles.size()) * (to - from) / *end * 1.05) + 16);
        held = data.size() - *end;
        std::memmove(buffer.data(), buffer.constData() + *end, held);
    }
}

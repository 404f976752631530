#include "format/EbuStlReader.h"

#include "format/EbuStlSyntax.h"
#include "format/EbuStlText.h"

#include <algorithm>

using namespace EbuStlSyntax;

namespace {

// The {\anN} a block's vertical position and justification give; 2 (bottom centre) is
// the default and takes no tag.
int placementOf(QByteArrayView block, int rows)
{
    const int vertical = uchar(block[verticalAt]);
    const int justification = uchar(block[justificationAt]);
    const int row = vertical * 3 < rows ? 2 : vertical * 3 < 2 * rows ? 1 : 0; // 2 top, 1 middle, 0 bottom
    const int column = justification == 1 ? 0 : justification == 3 ? 2 : 1;
    return row * 3 + column + 1;
}

QString placementTag(int an)
{
    return an == 2 ? QString() : QStringLiteral("{\\an%1}").arg(an);
}

} // namespace

bool EbuStlReader::recognizes(QByteArrayView bytes)
{
    if (bytes.size() < gsiSize)
        return false;
    const auto isDigit = [&](qsizetype at) { return bytes[at] >= '0' && bytes[at] <= '9'; };
    // "STL25.01": "STL", two digits, ".01".
    return isDigit(0) && isDigit(1) && isDigit(2) && bytes.sliced(3, 3) == "STL" && isDigit(6) && isDigit(7)
        && bytes.sliced(8, 3) == ".01";
}

Expected<FormatReading, QString> EbuStlReader::read(QStringView latin1)
{
    return read(QByteArrayView(latin1.toLatin1()));
}

Expected<FormatReading, QString> EbuStlReader::read(QByteArrayView bytes)
{
    if (!recognizes(bytes))
        return tr("The file is not an EBU-STL file: it does not begin with a general information block.");
    const QByteArrayView gsi = bytes.first(gsiSize);
    const QByteArrayView diskFormatCode = field(gsi, diskFormat);
    const std::optional<int> rate = frameRateOf(diskFormatCode);
    if (!rate)
        return tr("The EBU-STL file's disk format is %1, which the program does not read: only STL25.01 (25 frames a "
                  "second) and STL30.01 (30 frames a second) are.")
            .arg(QString::fromLatin1(diskFormatCode));
    const QByteArrayView tableCode = field(gsi, characterTable);
    // Blank is the Latin table, as old files write it.
    int table = tableCode == "  " ? 0 : tableCode.toByteArray().toInt();
    if (tableCode != "  " && (tableCode[0] != '0' || tableCode[1] < '0' || tableCode[1] > '4'))
        return tr("The EBU-STL file's character code table is “%1”, which the program does not know (00 to 04 are).")
            .arg(QString::fromLatin1(tableCode));
    const auto characters = EbuStlCharacters::Table(table);
    const bool teletext = isTeletext(gsi);
    const int declaredRows = field(gsi, maxRows).toByteArray().toInt();
    const int rows = teletext || declaredRows <= 0 ? 23 : declaredRows;

    auto keep = std::make_shared<FormatKeep>(SubtitleFormat::EbuStl);
    keep->header = QString::fromLatin1(gsi);
    // The blocks are counted from the file's length: the counts the block gives are often wrong.
    const qsizetype blockCount = (bytes.size() - gsiSize) / ttiSize;
    const auto blockAt = [&](qsizetype i) { return bytes.sliced(gsiSize + i * ttiSize, ttiSize); };

    struct Read
    {
        SubtitlePtr subtitle;
        FormatKeep::Cue cue;
        qint64 in;
        qint64 out;
    };
    QList<Read> read;
    QByteArray before;
    for (qsizetype i = 0; i < blockCount;) {
        const QByteArrayView block = blockAt(i);
        if (uchar(block[extensionAt]) == userData || block[commentAt] != 0) {
            before += block;
            keep->count(FormatKeep::Part::Notes);
            ++i;
            continue;
        }
        // A subtitle's extension blocks follow it with its number, the last marked 0xFF.
        qsizetype end = i + 1;
        while (uchar(blockAt(end - 1)[extensionAt]) != lastExtension && end < blockCount
               && blockAt(end).sliced(numberAt, 2) == block.sliced(numberAt, 2) && uchar(blockAt(end)[extensionAt]) != userData
               && blockAt(end)[commentAt] == 0)
            ++end;
        QByteArray source;
        QByteArray text;
        for (qsizetype b = i; b < end; ++b) {
            source += blockAt(b);
            text += blockAt(b).sliced(textOffset);
        }
        const int an = placementOf(block, rows);
        const QString decoded = placementTag(an) + EbuStlText::decode(text, characters).text;
        Read entry{nullptr, {}, framesAt(block, inAt, *rate), framesAt(block, outAt, *rate)};
        entry.cue.before = QString::fromLatin1(before);
        entry.cue.source = QString::fromLatin1(source);
        entry.cue.text = decoded;
        entry.cue.order = read.size();
        read.append(std::move(entry));
        before.clear();
        i = end;
    }
    // What follows the last subtitle, a block cut short included.
    before += bytes.sliced(gsiSize + blockCount * ttiSize);
    keep->trailer = QString::fromLatin1(before);

    // Times are read from the programme's start when every subtitle comes after it.
    qint64 offset = timecodeFrames(field(gsi, programmeStart), *rate).value_or(0);
    if (std::any_of(read.cbegin(), read.cend(), [offset](const Read &r) { return r.in < offset; }))
        offset = 0;
    keep->fileFields = {QString::number(offset), QString::number(*rate)};

    SubtitleList subtitles;
    subtitles.reserve(read.size());
    for (Read &entry : read) {
        entry.cue.start = double(entry.in - offset) / *rate;
        // An end before its start is read as the start; the blocks stay as they were.
        entry.cue.end = double(std::max(entry.out, entry.in) - offset) / *rate;
        entry.subtitle = Subtitle::create(entry.cue.text, entry.cue.start, entry.cue.end);
        keep->keep(entry.subtitle, std::move(entry.cue));
        subtitles.append(entry.subtitle);
    }
    std::stable_sort(subtitles.begin(), subtitles.end(), [](const SubtitlePtr &a, const SubtitlePtr &b) { return a->start < b->start; });
    return FormatReading{std::move(subtitles), std::move(keep)};
}

std::optional<double> EbuStlReader::timecodeOffset(const FormatKeep &keep)
{
    const std::optional<int> rate = frameRate(keep);
    const qint64 frames = rate ? keep.fileFields[0].toLongLong() : 0;
    if (frames <= 0 || *rate <= 0)
        return std::nullopt;
    return double(frames) / *rate;
}

std::optional<int> EbuStlReader::frameRate(const FormatKeep &keep)
{
    if (keep.format() != SubtitleFormat::EbuStl || keep.fileFields.size() < 2)
        return std::nullopt;
    return keep.fileFields[1].toInt();
}

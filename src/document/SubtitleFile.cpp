#include "document/SubtitleFile.h"

#include "document/FileAttributes.h"
#include "document/InPlaceWriter.h"
#include "document/LargeUtf8Reader.h"
#include "document/LongNameSaver.h"
#include "document/TextEncoding.h"
#include "format/EbuStlReader.h"
#include "format/EbuStlWriter.h"
#include "format/SubtitleFormatIo.h"
#include "format/SubtitleParser.h"
#include "format/Utf8Validator.h"
#include "system/HugePages.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The bytes' text in the encoding chosen, or in the one they are detected to be in.
Expected<TextEncoding::Detected, QString> decodeText(const QByteArray &bytes, int chosenEncoding)
{
    if (chosenEncoding == TextEncoding::Automatic) {
        auto detected = TextEncoding::decodeDetectingEncoding(bytes);
        if (!detected)
            return detected.error().message;
        return std::move(detected).value();
    }
    auto decoded = TextEncoding::decode(bytes, chosenEncoding);
    if (!decoded)
        return decoded.error().message;
    return TextEncoding::Detected{std::move(decoded).value(), chosenEncoding};
}

// The subtitles of a text in a format other than SRT.
Expected<SubtitleFile::Contents, QString> readOtherFormat(SubtitleFormat::Id format, const QString &text, int encoding,
                                                          const TextFileFormat &layout, SubtitleFile::Reading reading,
                                                          double frameRate, int sccChannel)
{
    auto result = SubtitleFormatIo::read(format, text, {reading == SubtitleFile::Reading::Repairing, frameRate, sccChannel});
    if (!result)
        return result.error();
    FormatReading read = std::move(result).value();
    return SubtitleFile::Contents{std::move(read.subtitles), encoding, std::move(read.repairs), layout,
                                  read.unlistedRepairs, format, std::move(read.keep)};
}

// The text as the readers of formats other than SRT take it: what they keep of the file
// is written back with the file's line endings, so CR LF read as it stands would be
// written CR CR LF (an empty line after every line when it is read again).
QString withLineFeeds(QString text, const TextFileFormat &layout)
{
    if (layout.crlf)
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// The text read in the format its content shows; when that gives no subtitle, in the
// format its name says, if that gives some: detection weighs shapes, and a file that
// fools it is still what its name says.
Expected<SubtitleFile::Contents, QString>
readByContentOrName(const QString &path, QStringView head,
                    const std::function<Expected<SubtitleFile::Contents, QString>(SubtitleFormat::Id)> &readAs)
{
    const SubtitleFormat::Id detected = SubtitleFormat::detect(head);
    auto contents = readAs(detected);
    if (contents && !contents.value().subtitles.isEmpty())
        return contents;
    const std::optional<SubtitleFormat::Id> named = SubtitleFormat::fromFileName(path);
    if (!named || *named == detected)
        return contents;
    auto byName = readAs(*named);
    if (byName && !byName.value().subtitles.isEmpty())
        return byName;
    return contents;
}

} // namespace

Expected<QByteArray, QString> SubtitleFile::readBytes(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return tr("The file could not be opened because it is a folder.");
    if (!info.exists())
        return tr("The file could not be opened because it does not exist.");
    // A device or pipe has no size to check; only regular files are read.
    if (!info.isFile())
        return tr("The file could not be opened because it is not a regular file.");
    if (info.size() > maximumSize)
        return tr("The file could not be opened because it is larger than %1 MB.").arg(maximumSize / (1024 * 1024));

    // Without waiting: a pipe put in the file's place would block on opening, and a
    // file that stat calls regular but that waits for data (/proc/kmsg) on reading.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return tr("The file could not be opened.\n%1").arg(qt_error_string(errno));
    struct stat opened {};
    QFile file;
    if (::fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode) || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return tr("The file could not be opened because it is not a regular file.");
    }
    QByteArray bytes(std::min(info.size(), maximumSize) + 1, Qt::Uninitialized);
    HugePages::advise(bytes.data(), bytes.size());
    const qint64 length = file.read(bytes.data(), bytes.size());
    bytes.truncate(std::max<qint64>(length, 0));
    if (length == info.size() + 1) // it grew since it was measured, or tells no size (/proc)
        bytes.append(file.read(maximumSize + 1 - length));
    if (file.error() != QFileDevice::NoError)
        return tr("The file could not be read.\n%1").arg(file.errorString());
    if (bytes.size() > maximumSize)
        return tr("The file could not be opened because it is larger than %1 MB.").arg(maximumSize / (1024 * 1024));
    file.close();
    return bytes;
}

Expected<SubtitleFile::Contents, QString> SubtitleFile::read(const QString &path, int chosenEncoding, Reading reading,
                                                             double frameRate, int sccChannel)
{
    if (chosenEncoding == TextEncoding::Automatic || chosenEncoding == TextEncoding::Utf8) {
        const QFileInfo info(path);
        if (info.isFile() && reading == Reading::Strict && info.size() >= LargeUtf8Reader::minimumSize
            && info.size() <= maximumSize) {
            if (auto large = LargeUtf8Reader::read(path))
                return Contents{std::move(large->subtitles), TextEncoding::Utf8, {}, large->format};
        }
    }
    auto loaded = readBytes(path);
    if (!loaded)
        return loaded.error();
    QByteArray bytes = std::move(loaded).value();

    // A binary format is told by its bytes, before any decoding.
    if (EbuStlReader::recognizes(bytes)) {
        auto read = EbuStlReader::read(bytes);
        if (!read)
            return read.error();
        FormatReading stl = std::move(read).value();
        return Contents{std::move(stl.subtitles), TextEncoding::Utf8, {}, {}, 0, SubtitleFormat::EbuStl, std::move(stl.keep)};
    }

    // UTF-8 is parsed (or repaired) as it stands, without a copy of the whole text in UTF-16.
    const bool utf8 = chosenEncoding == TextEncoding::Utf8 ? Utf8Validator::isValid(bytes)
                                                           : chosenEncoding == TextEncoding::Automatic && TextEncoding::readsAsUtf8(bytes);
    if (utf8) {
        const qsizetype mark = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        const QByteArrayView text = QByteArrayView(bytes).sliced(mark);
        const TextFileFormat layout = TextFileFormat::ofUtf8(bytes);
        QString decoded; // made once, for formats other than SRT
        const auto readAs = [&](SubtitleFormat::Id format) -> Expected<Contents, QString> {
            if (format != SubtitleFormat::Srt) {
                if (decoded.isNull())
                    decoded = withLineFeeds(QString::fromUtf8(text), layout);
                return readOtherFormat(format, decoded, TextEncoding::Utf8, layout, reading, frameRate, sccChannel);
            }
            if (reading == Reading::Repairing) {
                auto result = TolerantSubtitleReader::readUtf8(text);
                if (!result)
                    return result.error();
                TolerantSubtitleReader::Result repaired = std::move(result).value();
                return Contents{std::move(repaired.subtitles), TextEncoding::Utf8, std::move(repaired.repairs), layout,
                                repaired.unlistedRepairs};
            }
            auto subtitles = SubtitleParser::shared().parseUtf8(text);
            if (!subtitles)
                return subtitles.error().message(text);
            return Contents{std::move(subtitles).value(), TextEncoding::Utf8, {}, layout};
        };
        return readByContentOrName(path, QString::fromUtf8(text.first(std::min<qsizetype>(text.size(), 64 * 1024))), readAs);
    }

    auto decoded = decodeText(bytes, chosenEncoding);
    if (!decoded)
        return decoded.error();
    QString text = std::move(decoded.value().text);
    const int encoding = decoded.value().encoding;
    QList<TextEncoding::Considered> considered = std::move(decoded.value().considered);
    const TextFileFormat format = TextFileFormat::of(bytes, text, encoding);
    bytes = QByteArray(); // the text holds it all now; keep the peak low

    const auto readAs = [&](SubtitleFormat::Id subtitleFormat) -> Expected<Contents, QString> {
        if (subtitleFormat != SubtitleFormat::Srt) {
            text = withLineFeeds(std::move(text), format);
            if (text.startsWith(QChar(0xFEFF)))
                text.remove(0, 1);
            return readOtherFormat(subtitleFormat, text, encoding, format, reading, frameRate, sccChannel);
        }
        if (reading == Reading::Repairing) {
            auto result = TolerantSubtitleReader::read(text);
            if (!result)
                return result.error();
            TolerantSubtitleReader::Result repaired = std::move(result).value();
            return Contents{std::move(repaired.subtitles), encoding, std::move(repaired.repairs), format, repaired.unlistedRepairs};
        }
        auto subtitles = SubtitleParser::shared().parse(text);
        if (!subtitles)
            return subtitles.error().message(text);
        return Contents{std::move(subtitles).value(), encoding, {}, format};
    };
    auto contents = readByContentOrName(path, text, readAs);
    if (!contents || considered.isEmpty())
        return contents;
    Contents unsure = std::move(contents).value();
    unsure.consideredEncodings = std::move(considered);
    return unsure;
}

namespace {

// Whether UTF-8 can carry every text: none holds a lone surrogate.
bool allCarriedByUtf8(const SubtitleList &subtitles)
{
    return std::all_of(subtitles.cbegin(), subtitles.cend(), [](const SubtitlePtr &subtitle) { return subtitle->utf8().has_value(); });
}

} // namespace

Expected<QByteArray, TextEncoding::Error> SubtitleFile::encoded(const SubtitleList &subtitles, int encoding,
                                                                const Layout &layout)
{
    const TextFileFormat &format = layout.text;
    if (SubtitleFormat::isBinary(layout.subtitleFormat)) {
        auto bytes = EbuStlWriter::write(subtitles, layout.keep, {layout.frameRate, layout.language});
        if (!bytes)
            return TextEncoding::Error{bytes.error()};
        return std::move(bytes).value();
    }
    if (layout.subtitleFormat != SubtitleFormat::Srt) {
        return TextEncoding::encode(format.withLineEndings(SubtitleFormatIo::write(layout.subtitleFormat, subtitles, layout.keep)),
                                    encoding, format.byteOrderMark);
    }
    // UTF-8 is written straight to bytes; a text UTF-8 cannot carry takes the general way,
    // which names the character.
    if (encoding == TextEncoding::Utf8) {
        if (auto bytes = SubtitleParser::shared().serializeUtf8(subtitles, format.crlf, format.byteOrderMark.value_or(false)))
            return std::move(*bytes);
    }
    return TextEncoding::encode(format.withLineEndings(SubtitleParser::shared().serialize(subtitles)), encoding,
                                format.byteOrderMark);
}

Expected<void, QString> SubtitleFile::write(const QString &path, const SubtitleList &subtitles, int encoding,
                                            const Layout &layout)
{
    const TextFileFormat &format = layout.text;
    const QFileInfo info(path);
    if (info.isDir())
        return tr("The file could not be saved because a folder has that name.");
    // A name too long for the usual temporary file takes another way, unless the file
    // is written into where it is.
    const bool longName = LongNameSaver::isNeeded(path) && !InPlaceWriter::isNeeded(path);
    const bool replaced = !(info.exists() && !info.isFile()) && !longName;
    if (replaced && encoding == TextEncoding::Utf8 && layout.subtitleFormat == SubtitleFormat::Srt && allCarriedByUtf8(subtitles)) {
        // Written while it is made, without the whole file in memory.
        return saveAtomically(path, [&](QFileDevice &file) {
            qint64 written = 0;
            return SubtitleParser::shared().writeUtf8(
                subtitles, format.crlf, format.byteOrderMark.value_or(false), [&](QByteArrayView part) {
                    if (file.write(part.data(), part.size()) != part.size() || !file.flush())
                        return false;
                    // The disk starts on each part while the next is made, so that the
                    // sync before the file takes the old one's place finds little left.
                    ::sync_file_range(file.handle(), written, part.size(), SYNC_FILE_RANGE_WRITE);
                    written += part.size();
                    return true;
                });
        });
    }

    const auto bytes = encoded(subtitles, encoding, layout);
    if (!bytes) {
        if (SubtitleFormat::isBinary(layout.subtitleFormat))
            return bytes.error().message;
        if (const auto position = firstUnencodable(subtitles, encoding))
            return tr("%1\nIt is in subtitle %2.").arg(TextEncoding::encode(subtitles[*position]->text(), encoding).error().message).arg(*position + 1);
        return bytes.error().message;
    }

    if (info.exists() && !info.isFile()) {
        // A device or a pipe (a script's /dev/stdout) cannot be replaced, only written to.
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return tr("The file could not be saved.\n%1").arg(device.errorString());
        if (device.write(bytes.value()) != bytes.value().size())
            return tr("The file could not be saved.\n%1").arg(device.errorString());
        return {};
    }

    if (longName)
        return LongNameSaver::write(path, bytes.value());
    return saveAtomically(path, [&bytes](QFileDevice &file) { return file.write(bytes.value()) == bytes.value().size(); });
}

Expected<void, QString> SubtitleFile::saveAtomically(const QString &path, const std::function<bool(QFileDevice &)> &fill)
{
    // A file with other names keeps them, and one in a folder the user may not make
    // files in can still be saved: both are written where they are, their old content
    // kept safe meanwhile.
    if (InPlaceWriter::isNeeded(path))
        return InPlaceWriter::write(path, fill);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return tr("The file could not be saved.\n%1").arg(file.errorString());
    FileAttributes::copy(path, file.handle());
    // QSaveFile takes a short write (a full disk, a file size limit) for success, and its
    // commit would then replace the file with the part that was written.
    errno = 0;
    if (!fill(file)) {
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : qt_error_string(errno);
        file.cancelWriting();
        return tr("The file could not be saved.\n%1").arg(reason);
    }
    if (!file.commit())
        return tr("The file could not be saved.\n%1").arg(file.errorString());
    return {};
}

std::optional<qsizetype> SubtitleFile::firstUnencodable(const SubtitleList &subtitles, int encoding)
{
    if (!TextEncoding::find(encoding))
        return std::nullopt;
    for (qsizetype i = 0; i < subtitles.size(); ++i) {
        if (!TextEncoding::encode(subtitles[i]->text(), encoding))
            return i;
    }
    return std::nullopt;
}

int SubtitleFile::encodingForSaving(std::optional<int> documentEncoding, int saveEncoding, std::optional<int> dialogChoice)
{
    const auto usable = [](std::optional<int> number) {
        return number && *number != TextEncoding::Automatic && TextEncoding::find(*number);
    };
    if (usable(dialogChoice))
        return *dialogChoice;
    if (usable(documentEncoding))
        return *documentEncoding;
    if (usable(saveEncoding))
        return saveEncoding;
    return TextEncoding::Utf8;
}

int SubtitleFile::encodingFor(SubtitleFormat::Id format, int wanted)
{
    return SubtitleFormat::isUtf8Only(format) ? int(TextEncoding::Utf8) : wanted;
}

Expected<SubtitleFile::Text, QString> SubtitleFile::readText(const QString &path, int chosenEncoding)
{
    auto bytes = readBytes(path);
    if (!bytes)
        return bytes.error();
    auto decoded = decodeText(bytes.value(), chosenEncoding);
    if (!decoded)
        return decoded.error();
    Text read{std::move(decoded.value().text), decoded.value().encoding};
    if (read.text.startsWith(QChar(0xFEFF)))
        read.text.remove(0, 1);
    read.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    read.text.replace(u'\r', u'\n');
    return read;
}

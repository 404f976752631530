#pragma once

#include "document/TextEncoding.h"
#include "document/TextFileFormat.h"
#include "format/FormatKeep.h"
#include "format/SubtitleFormat.h"
#include "format/TolerantSubtitleReader.h"
#include "model/Expected.h"
#include "model/Subtitle.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <optional>

class QFileDevice;

// Reading and writing a subtitle file the way the editor does: the one path shared by
// the document and the command line.
class SubtitleFile
{
    Q_DECLARE_TR_FUNCTIONS(SubtitleFile)

public:
    // Larger files are refused with a message instead of exhausting memory.
    static constexpr qint64 maximumSize = 256 * 1024 * 1024;

    struct Contents
    {
        SubtitleList subtitles;
        // The encoding the text was decoded with: the detected one when reading with
        // TextEncoding::Automatic, otherwise the chosen one.
        int encoding;
        // What a repairing read mended (empty for a strict read): the first ones listed,
        // and how many more there were.
        QList<TolerantSubtitleReader::Repair> repairs = {};
        TextFileFormat format = {};
        qsizetype unlistedRepairs = 0;
        // The subtitle format, told by the text, and what the file holds beyond the
        // subtitles (none for SRT).
        SubtitleFormat::Id subtitleFormat = SubtitleFormat::Srt;
        std::shared_ptr<const FormatKeep> keep = {};
        // When detection was unsure of the encoding: the encodings that read the file as
        // different texts, the one read with first. Empty when it was sure or chosen.
        QList<TextEncoding::Considered> consideredEncodings = {};
    };

    // Strict reading refuses malformed SRT with the parser's message; repairing reading
    // mends what plainly means one thing and lists what it did.
    enum class Reading { Strict, Repairing };

    // Reads, decodes (detecting the encoding when `chosenEncoding` is Automatic) and
    // parses the file in the format its text shows. The error is the message the user
    // sees; for malformed SRT it is the parser's own. `frameRate` is for formats that
    // count frames and do not say at which rate (0: their usual); `sccChannel` the caption
    // channel an SCC file is read from.
    static Expected<Contents, QString> read(const QString &path, int chosenEncoding, Reading reading = Reading::Strict,
                                            double frameRate = 0, int sccChannel = 1);

    // A plain text file (a script), read as safely as a subtitle file and decoded the same
    // way, with its lines ended by line feeds.
    struct Text
    {
        QString text;
        int encoding = 0;
    };
    static Expected<Text, QString> readText(const QString &path, int chosenEncoding);

    // How a file is written beyond its encoding: the subtitle format, and what the file
    // that was read held beyond the subtitles (written back when it is of that format).
    struct Layout
    {
        Layout(TextFileFormat text = {}, SubtitleFormat::Id subtitleFormat = SubtitleFormat::Srt,
               const FormatKeep *keep = nullptr)
            : text(text)
            , subtitleFormat(subtitleFormat)
            , keep(keep)
        {
        }
        TextFileFormat text;
        SubtitleFormat::Id subtitleFormat;
        const FormatKeep *keep;
        // For a format that counts frames and writes its rate and language (EBU-STL): the
        // document's (0 and empty while unknown).
        double frameRate = 0;
        QString language;
    };

    // Writes the subtitles in `encoding` and `layout`, replacing the file atomically: on
    // any failure the file stays as it was. Returns the message for the user on failure.
    static Expected<void, QString> write(const QString &path, const SubtitleList &subtitles, int encoding,
                                         const Layout &layout = {});

    // The file's bytes: the subtitles in `encoding` and `layout`.
    static Expected<QByteArray, TextEncoding::Error> encoded(const SubtitleList &subtitles, int encoding,
                                                            const Layout &layout = {});

    // The position of the first subtitle whose text `encoding` cannot represent.
    static std::optional<qsizetype> firstUnencodable(const SubtitleList &subtitles, int encoding);

    // The encoding a save writes: an encoding picked in the Save dialog for this save
    // (which then becomes the document's encoding), else the document's own encoding,
    // else the "saveEncoding" setting when it is not Automatic, else UTF-8. Numbers that
    // name no known encoding are passed over.
    static int encodingForSaving(std::optional<int> documentEncoding, int saveEncoding,
                                 std::optional<int> dialogChoice = std::nullopt);
    // The encoding a file of `format` is written in when `wanted` is asked for: UTF-8 for
    // a format that allows no other.
    static int encodingFor(SubtitleFormat::Id format, int wanted);

    // Replaces the file at `path` with what `fill` writes, atomically: when `fill` returns
    // false (a short write) or the file cannot be committed, it stays as it was.
    static Expected<void, QString> saveAtomically(const QString &path, const std::function<bool(QFileDevice &)> &fill);
private:
    // The whole of a regular file, of at most the size a subtitle file may have.
    static Expected<QByteArray, QString> readBytes(const QString &path);
};

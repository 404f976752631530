#include "app/commandline/CommandLineTool.h"

#include "app/commandline/CommandLine.h"
#include "app/commandline/CommandLineOutput.h"
#include "app/commandline/QualityCommand.h"
#include "app/commands/SpeechTimingCommand.h"
#include "document/SaveTarget.h"
#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"
#include "format/SubtitleFormatIo.h"
#include "format/WrittenTimes.h"
#include "media/ShotChangesCommand.h"
#include "media/SpeechCommand.h"
#include "media/WaveformCommand.h"
#include "model/SubtitleController.h"

#include <QTextStream>

#include <cstdio>
#include <cstdlib>

namespace {

using Mode = CommandLine::Mode;
using Request = CommandLine::Request;

constexpr int failed = 1;

// The file as the editor would open it; a name that is not the one given is not read.
Expected<SubtitleFile::Contents, QString> read(const QString &path, const Request &request)
{
    if (!SaveTarget::isFaithful(path))
        return CommandLineTool::tr("The file cannot be read because its name is not valid UTF-8 text.");
    return SubtitleFile::read(path, request.from,
                              request.repair ? SubtitleFile::Reading::Repairing : SubtitleFile::Reading::Strict,
                              request.frameRate, request.sccChannel);
}

// A plain text script: its paragraphs, cut as the import window cuts them, as untimed lines.
Expected<SubtitleFile::Contents, QString> readScript(const QString &path, const Request &request)
{
    if (!SaveTarget::isFaithful(path))
        return CommandLineTool::tr("The file cannot be read because its name is not valid UTF-8 text.");
    auto text = SubtitleFile::readText(path, request.from);
    if (!text)
        return text.error();
    SubtitleController lines;
    lines.importText(text.value().text.trimmed());
    return SubtitleFile::Contents{lines.subtitles(), text.value().encoding};
}

bool isScript(const QString &path)
{
    return path.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive);
}

// Each repair as "FILE: Line N “its text”: what was done", its line counted as the
// strict reader's messages count, then how many more were not listed.
void reportRepairs(const QString &path, const SubtitleFile::Contents &contents, QTextStream &err)
{
    for (const TolerantSubtitleReader::Repair &repair : contents.repairs)
        err << path << ": " << TolerantSubtitleReader::describe(repair) << '\n';
    if (contents.unlistedRepairs > 0)
        err << path << ": " << TolerantSubtitleReader::describeUnlisted(contents.unlistedRepairs) << '\n';
}

// When detection was unsure of the encoding: which it took, the others it weighed, and
// how to name the right one, so that a script can act on it.
void reportUnsureEncoding(const QString &path, const SubtitleFile::Contents &contents, QTextStream &err)
{
    if (contents.consideredEncodings.size() < 2)
        return;
    QStringList others;
    for (const TextEncoding::Considered &other : contents.consideredEncodings.sliced(1))
        others.append(TextEncoding::name(other.encoding));
    err << path << ": "
        << CommandLineTool::tr("the text encoding %1 is a guess: it could also be %2; name the right one with --from ENCODING")
               .arg(TextEncoding::name(contents.encoding), others.join(QStringLiteral(", ")))
        << '\n';
}

// Ends the process with `status` when the request asks for it; returns `status` otherwise.
int finish(CommandLineTool::Ending ending, int status, QTextStream &out, QTextStream &err)
{
    if (ending == CommandLineTool::Ending::Immediate) {
        out.flush();
        err.flush();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

int check(const Request &request, CommandLineTool::Ending ending, QTextStream &out, QTextStream &err)
{
    int status = 0;
    for (const QString &path : request.operands) {
        const auto contents = read(path, request);
        if (contents && request.repair) {
            out << CommandLineTool::tr("%1: %2 subtitles, %3, %4, %5 repairs\n")
                       .arg(path)
                       .arg(contents.value().subtitles.size())
                       .arg(TextEncoding::name(contents.value().encoding))
                       .arg(SubtitleFormat::shortName(contents.value().subtitleFormat))
                       .arg(contents.value().repairs.size() + contents.value().unlistedRepairs);
            reportRepairs(path, contents.value(), err);
        } else if (contents) {
            out << CommandLineTool::tr("%1: %2 subtitles, %3, %4\n")
                       .arg(path)
                       .arg(contents.value().subtitles.size())
                       .arg(TextEncoding::name(contents.value().encoding))
                       .arg(SubtitleFormat::shortName(contents.value().subtitleFormat));
        }
        if (contents) {
            reportUnsureEncoding(path, contents.value(), err);
        } else {
            err << path << ": " << contents.error() << '\n';
            status = failed;
        }
    }
    return finish(ending, status, out, err);
}

int convert(const Request &request, CommandLineTool::Ending ending, QTextStream &out, QTextStream &err)
{
    const QString &input = request.operands.first();
    const QString &output = request.operands.last();
    // Refused before anything is read: the video or the input itself named as the output
    // by a slip would otherwise be replaced by subtitles.
    const auto outputFormat = CommandLineOutput::check(output, request.operands.first(request.operands.size() - 1));
    if (!outputFormat) {
        err << output << ": " << outputFormat.error() << '\n';
        return failed;
    }
    const SubtitleFormat::Id subtitleFormat = outputFormat.value();
    const bool script = request.mode == Mode::Align && isScript(input);
    const auto contents = script ? readScript(input, request) : read(input, request);
    if (!contents) {
        err << input << ": " << contents.error() << '\n';
        return failed;
    }
    reportRepairs(input, contents.value(), err);
    reportUnsureEncoding(input, contents.value(), err);
    SubtitleList subtitles = contents.value().subtitles;
    if (request.mode == Mode::SnapToSpeech || request.mode == Mode::Sync || request.mode == Mode::Align) {
        const auto kind = request.mode == Mode::Sync          ? SpeechTimingCommand::Kind::Sync
                          : request.mode == Mode::SnapToSpeech ? SpeechTimingCommand::Kind::Snap
                          : script                             ? SpeechTimingCommand::Kind::AlignScript
                                                               : SpeechTimingCommand::Kind::Align;
        auto timed = SpeechTimingCommand::apply(kind, subtitles, request.operands[1], request.audioTrack, input, out, err);
        if (!timed) {
            err << timed.error() << '\n';
            return failed;
        }
        subtitles = std::move(timed).value();
    }
    // As in the editor: a detected encoding is the document's own.
    const std::optional<int> documentEncoding =
        request.from == TextEncoding::Automatic ? std::optional(contents.value().encoding) : std::nullopt;
    const int wanted = SubtitleFile::encodingForSaving(documentEncoding, request.from, request.to);
    const int encoding = SubtitleFile::encodingFor(subtitleFormat, wanted);
    if (encoding != wanted)
        err << output << ": "
            << CommandLineTool::tr("written in UTF-8, as %1 files must be, not in %2").arg(SubtitleFormat::shortName(subtitleFormat), TextEncoding::name(wanted))
            << '\n';
    const TextFileFormat format = contents.value().format.forWriting(contents.value().encoding, encoding);
    const FormatKeep *keep = contents.value().keep.get();
    // In its own format only the times it cannot hold are changed.
    const QStringList losses = subtitleFormat != contents.value().subtitleFormat
                                   ? SubtitleFormatIo::losses(subtitleFormat, subtitles, keep, request.frameRate)
                                   : WrittenTimes::changes(subtitleFormat, subtitles, keep);
    for (const QString &loss : losses)
        err << output << ": " << CommandLineTool::tr("left out: %1").arg(loss) << '\n';
    SubtitleFile::Layout layout(format, subtitleFormat, keep);
    layout.frameRate = request.frameRate;
    if (const auto written = SubtitleFile::write(output, subtitles, encoding, layout); !written) {
        err << output << ": " << written.error() << '\n';
        return failed;
    }
    return finish(ending, 0, out, err);
}

} // namespace

std::optional<int> CommandLineTool::run(const QStringList &arguments, QTextStream &out, QTextStream &err, Ending ending)
{
    const Mode mode = CommandLine::modeOf(arguments);
    if (mode == Mode::Edit || mode == Mode::Help || mode == Mode::Version)
        return std::nullopt;
    const auto request = CommandLine::parse(arguments);
    int status;
    if (!request) {
        err << request.error().message;
        status = request.error().status;
    } else {
        status = run(request.value(), out, err, ending);
    }
    out.flush();
    err.flush();
    return finish(ending, status, out, err);
}

int CommandLineTool::run(const CommandLine::Request &request, QTextStream &out, QTextStream &err, Ending ending)
{
    const QString &first = request.operands.value(0);
    switch (request.mode) {
    case Mode::Check:
        return check(request, ending, out, err);
    case Mode::Convert:
    case Mode::SnapToSpeech:
    case Mode::Sync:
    case Mode::Align:
        return convert(request, ending, out, err);
    case Mode::Qc:
        return QualityCommand::run(request, out, err);
    case Mode::Waveform:
        return WaveformCommand::run(first, request.audioTrack, out, err);
    case Mode::ShotChanges:
        return ShotChangesCommand::run(first, out, err);
    case Mode::Speech:
        return SpeechCommand::run(first, request.audioTrack, out, err);
    case Mode::Edit:
    case Mode::Help:
    case Mode::Version:
        break;
    }
    return 0;
}

#include "app/commandline/CommandLineTool.h"

#include "app/commandline/CommandLineOption.h"
#include "app/commandline/CommandLineOutput.h"
#include "app/commandline/QualityCommand.h"
#include "app/commands/SpeechTimingCommand.h"
#include "document/SaveTarget.h"
#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"
#include "format/SubtitleFormatIo.h"
#include "format/WrittenTimes.h"

#include <QTextStream>

#include <cstdio>
#include <cstdlib>

namespace {

enum class Mode { Check, Convert, SnapToSpeech, Sync };

struct Request
{
    Mode mode;
    int from = TextEncoding::Automatic;
    int to = TextEncoding::Automatic;
    bool repair = false;
    QStringList files;
    // The frame rate of files that count frames and do not say it (0: their usual).
    double frameRate = 0;
    CommandLineTool::Ending ending = CommandLineTool::Ending::Return;
};

constexpr int failed = 1;
constexpr int wrongArguments = 2;

// An encoding as the chooser names it ("Automatic" included) or as ICU knows it.
std::optional<int> encodingNamed(const QString &name)
{
    if (name.compare(QLatin1String("Automatic"), Qt::CaseInsensitive) == 0
        || name.compare(CommandLineTool::tr("Automatic"), Qt::CaseInsensitive) == 0)
        return TextEncoding::Automatic;
    return TextEncoding::numberForName(name);
}

QString usage()
{
    return CommandLineTool::tr("Usage: cuewright --check [--repair] [--from ENCODING] [--fps RATE] FILE...\n"
                               "       cuewright --convert [--repair] [--from ENCODING] [--to ENCODING] [--fps RATE] IN OUT\n"
                               "       cuewright --snap-to-speech [--repair] [--from ENCODING] [--to ENCODING] IN VIDEO OUT\n"
                               "       cuewright --sync [--repair] [--from ENCODING] [--to ENCODING] IN VIDEO OUT\n"
                               "       cuewright --qc PROFILE [--json] [--fix] [--repair] [--fps RATE] [--language CODE] [--video VIDEO] FILE_OR_FOLDER...\n");
}

// The request, or the message and status to leave with.
Expected<Request, std::pair<QString, int>> parse(Mode mode, const QStringList &arguments)
{
    Request request{mode, TextEncoding::Automatic, TextEncoding::Automatic, false, {}, 0, {}};
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1String("--"))) {
            request.files.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("--repair")) {
            request.repair = true;
            continue;
        }
        if (const auto rate = CommandLineOption::valueOf(QLatin1String("--fps"), arguments, i)) {
            const auto parsed = CommandLineOption::frameRate(*rate);
            if (!parsed)
                return std::pair{parsed.error(), wrongArguments};
            request.frameRate = parsed.value();
            continue;
        }
        const QLatin1String from("--from");
        const QLatin1String to("--to");
        std::optional<QString> value = CommandLineOption::valueOf(from, arguments, i);
        const bool isFrom = bool(value);
        if (!value && mode != Mode::Check)
            value = CommandLineOption::valueOf(to, arguments, i);
        if (!value)
            return std::pair{CommandLineTool::tr("Unknown option \"%1\".\n").arg(argument) + usage(), wrongArguments};
        if (value->isEmpty())
            return std::pair{CommandLineTool::tr("The option \"%1\" needs an encoding name.\n").arg(isFrom ? from : to) + usage(),
                             wrongArguments};
        const auto number = encodingNamed(*value);
        if (!number)
            return std::pair{CommandLineTool::tr("Unknown text encoding \"%1\".\n").arg(*value), wrongArguments};
        (isFrom ? request.from : request.to) = *number;
    }
    const bool rightCount = mode == Mode::Check     ? !request.files.isEmpty()
                            : mode == Mode::Convert ? request.files.size() == 2
                                                    : request.files.size() == 3;
    if (!rightCount)
        return std::pair{usage(), wrongArguments};
    return request;
}

// The file as the editor would open it; a name that is not the one given is not read.
Expected<SubtitleFile::Contents, QString> read(const QString &path, const Request &request)
{
    if (!SaveTarget::isFaithful(path))
        return CommandLineTool::tr("The file cannot be read because its name is not valid UTF-8 text.");
    return SubtitleFile::read(path, request.from,
                              request.repair ? SubtitleFile::Reading::Repairing : SubtitleFile::Reading::Strict,
                              request.frameRate);
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

int check(const Request &request, QTextStream &out, QTextStream &err)
{
    int status = 0;
    for (const QString &path : request.files) {
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
    return finish(request.ending, status, out, err);
}

int convert(const Request &request, QTextStream &out, QTextStream &err)
{
    const QString &input = request.files.first();
    const QString &output = request.files.last();
    // Refused before anything is read: the video or the input itself named as the output
    // by a slip would otherwise be replaced by subtitles.
    const auto outputFormat = CommandLineOutput::check(output, request.files.first(request.files.size() - 1));
    if (!outputFormat) {
        err << output << ": " << outputFormat.error() << '\n';
        return failed;
    }
    const SubtitleFormat::Id subtitleFormat = outputFormat.value();
    const auto contents = read(input, request);
    if (!contents) {
        err << input << ": " << contents.error() << '\n';
        return failed;
    }
    reportRepairs(input, contents.value(), err);
    reportUnsureEncoding(input, contents.value(), err);
    SubtitleList subtitles = contents.value().subtitles;
    if (request.mode == Mode::SnapToSpeech || request.mode == Mode::Sync) {
        const auto kind = request.mode == Mode::Sync ? SpeechTimingCommand::Kind::Sync : SpeechTimingCommand::Kind::Snap;
        auto timed = SpeechTimingCommand::apply(kind, subtitles, request.files[1], input, out, err);
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
                                   ? SubtitleFormatIo::losses(subtitleFormat, subtitles, keep)
                                   : WrittenTimes::changes(subtitleFormat, subtitles, keep);
    for (const QString &loss : losses)
        err << output << ": " << CommandLineTool::tr("left out: %1").arg(loss) << '\n';
    SubtitleFile::Layout layout(format, subtitleFormat, keep);
    layout.frameRate = request.frameRate;
    if (const auto written = SubtitleFile::write(output, subtitles, encoding, layout); !written) {
        err << output << ": " << written.error() << '\n';
        return failed;
    }
    return finish(request.ending, 0, out, err);
}

} // namespace

std::optional<int> CommandLineTool::run(const QStringList &arguments, QTextStream &out, QTextStream &err, Ending ending)
{
    if (arguments.size() < 2)
        return std::nullopt;
    if (arguments[1] == QLatin1String("--qc")) {
        const int status = QualityCommand::run(arguments.mid(2), out, err);
        out.flush();
        err.flush();
        return finish(ending, status, out, err);
    }
    Mode mode;
    if (arguments[1] == QLatin1String("--check"))
        mode = Mode::Check;
    else if (arguments[1] == QLatin1String("--convert"))
        mode = Mode::Convert;
    else if (arguments[1] == QLatin1String("--snap-to-speech"))
        mode = Mode::SnapToSpeech;
    else if (arguments[1] == QLatin1String("--sync"))
        mode = Mode::Sync;
    else
        return std::nullopt;

    const auto request = parse(mode, arguments.mid(2));
    int status;
    if (!request) {
        err << request.error().first;
        status = request.error().second;
    } else {
        Request given = request.value();
        given.ending = ending;
        status = mode == Mode::Check ? check(given, out, err) : convert(given, out, err);
    }
    out.flush();
    err.flush();
    return status;
}

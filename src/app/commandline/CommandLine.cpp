#include "app/commandline/CommandLine.h"

#include "document/TextEncoding.h"

#include <limits>
#include <optional>

namespace {

using Mode = CommandLine::Mode;

enum Option : unsigned {
    Repair = 1 << 0,
    From = 1 << 1,
    To = 1 << 2,
    Fps = 1 << 3,
    Json = 1 << 4,
    Fix = 1 << 5,
    Language = 1 << 6,
    Video = 1 << 7,
    SccChannel = 1 << 8,
    AudioTrack = 1 << 9,
};

struct OptionRule
{
    Option option;
    const char *name;
    const char *valueName; // nullptr: a switch
    const char *description;
};

constexpr OptionRule optionRules[] = {
    {Repair, "--repair", nullptr, QT_TRANSLATE_NOOP("CommandLine", "read as repairing on open does, listing each repair")},
    {From, "--from", "ENCODING", QT_TRANSLATE_NOOP("CommandLine", "the text encoding of what is read (default: detected)")},
    {To, "--to", "ENCODING", QT_TRANSLATE_NOOP("CommandLine", "the text encoding to write (default: the one read)")},
    {Fps, "--fps", "RATE", QT_TRANSLATE_NOOP("CommandLine", "the frame rate of files that count frames, and of the checks\n"
                                                          "(default: the video's, else the format's or profile's)")},
    {SccChannel, "--scc-channel", "N", QT_TRANSLATE_NOOP("CommandLine", "the caption channel an SCC file is read from, 1 or 2 (default: 1)")},
    {Json, "--json", nullptr, QT_TRANSLATE_NOOP("CommandLine", "one JSON document instead of a line per problem")},
    {Fix, "--fix", nullptr, QT_TRANSLATE_NOOP("CommandLine", "write NAME.fixed.EXT next to each file with problems and list what\n"
                                                           "is left (a fixed copy is only ever replaced by another; folders skip them)")},
    {Language, "--language", "CODE", QT_TRANSLATE_NOOP("CommandLine", "the files' language, for the profile's limits of that language")},
    {Video, "--video", "VIDEO", QT_TRANSLATE_NOOP("CommandLine", "the film the subtitles are timed to: the editor attaches it to the\n"
                                                               "first file; --qc checks its shot changes too")},
    {AudioTrack, "--audio-track", "N", QT_TRANSLATE_NOOP("CommandLine", "the film's audio track the sound is read from, counted from 1 as\n"
                                                                      "Playback > Audio Track numbers them (default: 1)")},
};

constexpr int any = std::numeric_limits<int>::max();

struct ModeRule
{
    Mode mode;
    const char *flag; // empty for the editor
    unsigned options;
    int fewestOperands;
    int mostOperands;
    const char *operands;
};

constexpr unsigned reading = Repair | From | Fps | SccChannel;
constexpr ModeRule modeRules[] = {
    {Mode::Edit, "", Video, 0, any, "[FILE...]"},
    {Mode::Check, "--check", reading, 1, any, "FILE..."},
    {Mode::Convert, "--convert", reading | To, 2, 2, "IN OUT"},
    {Mode::Waveform, "--waveform", AudioTrack, 1, 1, "VIDEO"},
    {Mode::ShotChanges, "--shot-changes", 0, 1, 1, "VIDEO"},
    {Mode::Speech, "--speech", AudioTrack, 1, 1, "VIDEO"},
    {Mode::SnapToSpeech, "--snap-to-speech", reading | To | AudioTrack, 3, 3, "IN VIDEO OUT"},
    {Mode::Sync, "--sync", reading | To | AudioTrack, 3, 3, "IN VIDEO OUT"},
    {Mode::Align, "--align", reading | To | AudioTrack, 3, 3, "IN VIDEO OUT"},
    {Mode::Qc, "--qc", Json | Fix | Repair | Fps | Language | Video, 2, any, "PROFILE FILE_OR_FOLDER..."},
};

const ModeRule &ruleOf(Mode mode)
{
    for (const ModeRule &rule : modeRules) {
        if (rule.mode == mode)
            return rule;
    }
    return modeRules[0];
}

QString synopsis(const ModeRule &rule)
{
    QString line = QStringLiteral("cuewright");
    if (*rule.flag)
        line += u' ' + QLatin1String(rule.flag);
    for (const OptionRule &option : optionRules) {
        if (!(rule.options & option.option))
            continue;
        line += QLatin1String(" [") + QLatin1String(option.name);
        if (option.valueName)
            line += u' ' + QLatin1String(option.valueName);
        line += u']';
    }
    return line + u' ' + QLatin1String(rule.operands);
}

// "  --name VALUE   what it does", its continued lines indented under the first.
QString optionLine(const QString &name, QString description)
{
    constexpr qsizetype column = 21;
    return (QStringLiteral("  ") + name).leftJustified(column - 1) + u' '
           + description.replace(u'\n', QStringLiteral("\n") + QString(column, u' ')) + u'\n';
}

// The options a mode takes, one to a line.
QString optionLines(unsigned options)
{
    QString lines;
    for (const OptionRule &option : optionRules) {
        if (!(options & option.option))
            continue;
        QString name = QLatin1String(option.name);
        if (option.valueName)
            name += u' ' + QLatin1String(option.valueName);
        lines += optionLine(name, CommandLine::tr(option.description));
    }
    return lines;
}

// What a mode's wrong arguments are answered with: its own form and options.
QString usageOf(Mode mode)
{
    const ModeRule &rule = ruleOf(mode);
    QString text = CommandLine::tr("Usage: %1\n").arg(synopsis(rule)) + optionLines(rule.options);
    if (mode == Mode::Qc)
        text += optionLine(QStringLiteral("PROFILE"), CommandLine::tr("a quality profile's id or name, or the path of its JSON file"))
                + CommandLine::tr("Exit status: 0 no problems, 1 problems, 2 wrong arguments or unknown profile,\n"
                                  "3 a file could not be read or a fixed copy not written.\n");
    return text;
}

CommandLine::Refusal refusal(const QString &message)
{
    return {message, 2};
}

// An encoding as the chooser names it ("Automatic" included) or as ICU knows it.
std::optional<int> encodingNamed(const QString &name)
{
    if (name.compare(QLatin1String("Automatic"), Qt::CaseInsensitive) == 0
        || name.compare(CommandLine::tr("Automatic"), Qt::CaseInsensitive) == 0)
        return TextEncoding::Automatic;
    return TextEncoding::numberForName(name);
}

// Sets the option's value in the request, or says why it cannot be taken.
std::optional<QString> take(Option option, const QString &value, CommandLine::Request &request, Mode mode)
{
    switch (option) {
    case Repair:
        request.repair = true;
        break;
    case Json:
        request.json = true;
        break;
    case Fix:
        request.fix = true;
        break;
    case From:
    case To: {
        if (value.isEmpty())
            return CommandLine::tr("The option \"%1\" needs an encoding name.\n").arg(QLatin1String(option == From ? "--from" : "--to"))
                   + usageOf(mode);
        const std::optional<int> number = encodingNamed(value);
        if (!number)
            return CommandLine::tr("Unknown text encoding \"%1\".\n").arg(value);
        (option == From ? request.from : request.to) = *number;
        break;
    }
    case Fps: {
        bool ok = false;
        const double rate = value.toDouble(&ok);
        // Written so that NaN fails too.
        if (!ok || !(rate >= 1 && rate <= 1000))
            return CommandLine::tr("The option \"--fps\" needs a frame rate from 1 to 1000, such as 23.976.\n");
        request.frameRate = rate;
        break;
    }
    case SccChannel:
        if (value != QLatin1String("1") && value != QLatin1String("2"))
            return CommandLine::tr("The caption channel of \"--scc-channel\" is 1 or 2.\n");
        request.sccChannel = value.toInt();
        break;
    case Language:
        if (value.isEmpty())
            return CommandLine::tr("The option \"--language\" needs a language code, such as ja or pt_BR.\n");
        request.language = value;
        break;
    case Video:
        if (value.isEmpty())
            return CommandLine::tr("The option \"--video\" needs the video file the subtitles are timed to.\n");
        request.video = value;
        break;
    case AudioTrack: {
        bool ok = false;
        const int track = value.toInt(&ok);
        if (!ok || track < 1)
            return CommandLine::tr("The option \"--audio-track\" needs a track number from 1 on, such as 2.\n");
        request.audioTrack = track;
        break;
    }
    }
    return std::nullopt;
}

bool isHelp(const QString &argument)
{
    return argument == QLatin1String("-h") || argument == QLatin1String("--help") || argument == QLatin1String("--help-all");
}

bool isVersion(const QString &argument)
{
    return argument == QLatin1String("-v") || argument == QLatin1String("--version");
}

} // namespace

CommandLine::Mode CommandLine::modeOf(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return Mode::Edit;
    for (const ModeRule &rule : modeRules) {
        if (*rule.flag && arguments[1] == QLatin1String(rule.flag))
            return rule.mode;
    }
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        if (isHelp(argument))
            return Mode::Help;
        if (isVersion(argument))
            return Mode::Version;
    }
    return Mode::Edit;
}

bool CommandLine::runsWithoutDisplay(Mode mode)
{
    return mode != Mode::Edit;
}

Expected<CommandLine::Request, CommandLine::Refusal> CommandLine::parse(const QStringList &arguments)
{
    Request request;
    request.mode = modeOf(arguments);
    if (request.mode == Mode::Help || request.mode == Mode::Version)
        return request;
    const ModeRule &rule = ruleOf(request.mode);
    bool optionsEnded = false;
    for (qsizetype i = request.mode == Mode::Edit ? 1 : 2; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1String("--"))) {
            request.operands.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const OptionRule *found = nullptr;
        QString value;
        for (const OptionRule &option : optionRules) {
            const QLatin1String name(option.name);
            if (!(rule.options & option.option))
                continue;
            if (argument == name) {
                found = &option;
                if (option.valueName && i + 1 < arguments.size())
                    value = arguments[++i];
            } else if (option.valueName && argument.startsWith(name) && argument.size() > name.size()
                       && argument[name.size()] == u'=') {
                found = &option;
                value = argument.sliced(name.size() + 1);
            }
            if (found)
                break;
        }
        if (!found)
            return refusal(tr("Unknown option \"%1\".\n").arg(argument) + usageOf(request.mode));
        if (const std::optional<QString> refused = take(found->option, value, request, request.mode))
            return refusal(*refused);
    }
    if (request.operands.size() < rule.fewestOperands || request.operands.size() > rule.mostOperands)
        return refusal(usageOf(request.mode));
    return request;
}

QString CommandLine::usage()
{
    QString text;
    for (const ModeRule &rule : modeRules)
        text += (text.isEmpty() ? tr("Usage: %1\n") : QStringLiteral("       %1\n")).arg(synopsis(rule));
    return text;
}

QString CommandLine::help()
{
    unsigned everyOption = 0;
    for (const OptionRule &option : optionRules)
        everyOption |= option.option;
    return usage() + u'\n'
           + tr("Edit subtitles against their video: SRT, WebVTT, ASS, SSA, TTML, SCC and EBU-STL,\n"
                "and MicroDVD, SubViewer and MPL2 files to save in one of those. The modes after the\n"
                "first run without a display, for scripts; --qc lists every quality problem, one\n"
                "line each: FILE:NUMBER: kind: value (limit). --align places each subtitle of IN (a\n"
                "subtitle file, or a .txt script of paragraphs) where its words are spoken in VIDEO.\n\n"
                "Options:\n")
           + optionLines(everyOption) + optionLine(QStringLiteral("-h, --help"), tr("this text"))
           + optionLine(QStringLiteral("-v, --version"), tr("the version"));
}

#include "app/commandline/StartupOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {
const QString videoOption = QStringLiteral("video");
} // namespace

void StartupOptions::describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QCoreApplication::translate(
        "StartupOptions",
        "Edit subtitles against their video: SRT, WebVTT, ASS, SSA, TTML and SCC, and\n"
        "MicroDVD, SubViewer and MPL2 files to save in one of those.\n\n"
        "For scripts, without a display:\n"
        "  cuewright --check [--repair] [--from ENCODING] [--fps RATE] [--scc-channel N] FILE...\n"
        "  cuewright --convert [--repair] [--from ENCODING] [--to ENCODING] [--fps RATE] [--scc-channel N] IN OUT\n"
        "  cuewright --waveform VIDEO\n"
        "  cuewright --shot-changes VIDEO\n"
        "  cuewright --speech VIDEO\n"
        "  cuewright --snap-to-speech [--to ENCODING] IN VIDEO OUT\n"
        "  cuewright --sync [--to ENCODING] IN VIDEO OUT\n"
        "  cuewright --qc PROFILE [--json] [--fix] [--repair] [--fps RATE] [--language CODE] [--video VIDEO] FILE_OR_FOLDER...\n"
        "      every quality problem, one line each: FILE:NUMBER: kind: value (limit);\n"
        "      exit status 0 none, 1 problems, 2 wrong arguments, 3 a file not read"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({videoOption,
                      QCoreApplication::translate("StartupOptions", "Attaches <video> to the first subtitle file, or to "
                                                                     "the new document."),
                      QCoreApplication::translate("StartupOptions", "video")});
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QCoreApplication::translate("StartupOptions", "Subtitle files to open."),
                                 QStringLiteral("[FILE...]"));
}

StartupOptions StartupOptions::fromArguments(const QStringList &arguments)
{
    QCommandLineParser parser;
    describe(parser);
    parser.process(arguments);
    StartupOptions options;
    options.files = parser.positionalArguments();
    options.video = parser.value(videoOption);
    return options;
}

bool StartupOptions::asksForHelpOrVersion(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")
            || argument == QLatin1String("--help-all") || argument == QLatin1String("-v")
            || argument == QLatin1String("--version"))
            return true;
    }
    return false;
}

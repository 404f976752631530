#pragma once

#include <QStringList>

class QCommandLineParser;

// What the editor is asked to open at start, read with QCommandLineParser:
// `cuewright [FILE.srt…] [--video VIDEO]`, with --help and --version. The script modes
// (--check, --convert, --waveform, --shot-changes) have their own reading in CommandLineTool.
class StartupOptions
{
public:
    QStringList files;
    QString video;

    // Reads the arguments of the running application. --help and --version print and
    // end the program, as does an unknown option, with a message.
    static StartupOptions fromArguments(const QStringList &arguments);
    // Whether the arguments ask only for help or the version, which need no display.
    static bool asksForHelpOrVersion(const QStringList &arguments);

private:
    static void describe(QCommandLineParser &parser);
};

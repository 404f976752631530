#pragma once

#include "app/commandline/CommandLine.h"

#include <QCoreApplication>
#include <QStringList>

#include <optional>

class QTextStream;

// The command-line door for scripts, reading and writing exactly as the editor does (the
// modes and their options are CommandLine's):
//   cuewright --check [--repair] [--from NAME] [--fps RATE] FILE...
//   cuewright --convert [--repair] [--from NAME] [--to NAME] [--fps RATE] IN OUT
//   cuewright --snap-to-speech [options] IN VIDEO OUT
//   cuewright --sync [options] IN VIDEO OUT
//   cuewright --qc PROFILE [options] FILE_OR_FOLDER...
//   cuewright --waveform | --shot-changes | --speech VIDEO
// `--from` plays the part of the Open dialog's choice (absent: Automatic), `--to` the
// part of the Save dialog's choice. `--repair` reads as repairing on open does and lists
// each repair on standard error as "FILE:LINE: what was done". The input's format is told
// by its content, the output's by its extension (SRT for any other); what the output's
// format cannot hold is listed on standard error. `--fps` is the rate of frame-counting
// files that do not say it. Needs no display and prints nothing else on success.
class CommandLineTool
{
    Q_DECLARE_TR_FUNCTIONS(CommandLineTool)

public:
    // `arguments` as QCoreApplication::arguments() gives them, the program first. Returns
    // nullopt when they ask for no command-line mode (the editor then starts), otherwise
    // the exit status: 0 success, 1 a file failed, 2 wrong arguments.
    //
    // With Ending::Immediate the process ends as soon as the last file is written and
    // closed and the streams are flushed, without freeing what was read: for a large
    // file, giving back millions of small blocks one by one takes longer than the exit.
    enum class Ending { Return, Immediate };
    static std::optional<int> run(const QStringList &arguments, QTextStream &out, QTextStream &err,
                                  Ending ending = Ending::Return);
    // A request already read; the exit status.
    static int run(const CommandLine::Request &request, QTextStream &out, QTextStream &err, Ending ending);
};

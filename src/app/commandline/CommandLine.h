#pragma once

#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Every way the program is started, read in one place from one table of modes and
// options, so that `--fps 25` and `--fps=25` mean the same in every mode, each mode
// refuses the options it has no use for, and --help lists what is really taken:
//   cuewright [FILE...] [--video VIDEO]          the editor
//   cuewright --check | --convert | --qc | …     the modes for scripts, without a display
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum class Mode { Edit, Help, Version, Check, Convert, Waveform, ShotChanges, Speech, SnapToSpeech, Sync, Align, Qc };

    struct Request
    {
        Mode mode = Mode::Edit;
        // What follows the mode, options taken out, in order: the files and videos (for
        // --qc the profile first).
        QStringList operands;
        int from = 0; // TextEncoding::Automatic
        int to = 0;
        bool repair = false;
        // The frame rate of files that count frames and do not say it (0: their usual, or
        // the video's).
        double frameRate = 0;
        int sccChannel = 1; // the caption channel an SCC file is read from
        bool json = false;
        bool fix = false;
        QString language;
        QString video;
        int audioTrack = 1; // of the video, counted from 1 as the menu numbers them
    };

    struct Refusal
    {
        QString message; // ends with a line break
        int status = 2;
    };

    // The mode `arguments` (the program first) ask for, told by the first argument alone;
    // help and the version only in the editor's arguments.
    static Mode modeOf(const QStringList &arguments);
    static bool runsWithoutDisplay(Mode mode);
    static Expected<Request, Refusal> parse(const QStringList &arguments);

    // Every mode's synopsis, "Usage: cuewright …" first.
    static QString usage();
    // What --help prints: what the program does, every mode and every option.
    static QString help();
};

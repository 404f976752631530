#pragma once

#include "format/SubtitleFormat.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QStringList>

// The one rule for every file a command-line run writes, checked before anything is read:
// its name must be UTF-8, it must not be a link, a device or a pipe, nor any of the
// inputs under another name, and its suffix must be that of a format the program writes
// (a name without one is written as SRT). A typo then costs a message, never a film.
class CommandLineOutput
{
    Q_DECLARE_TR_FUNCTIONS(CommandLineOutput)

public:
    // The format to write `output` in, or the message why it may not be written.
    [[nodiscard]] static Expected<SubtitleFormat::Id, QString> check(const QString &output, const QStringList &inputs);
    // Whether both names lead to one file (the same device and inode), links followed.
    static bool sameFile(const QString &first, const QString &second);
};

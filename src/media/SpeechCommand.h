#pragma once

#include <QCoreApplication>
#include <QString>

class QTextStream;

// `cuewright --speech VIDEO`: the stretches where people speak in the video's sound, as the
// editor finds them, one "HH:MM:SS,mmm --> HH:MM:SS,mmm" a line.
class SpeechCommand
{
    Q_DECLARE_TR_FUNCTIONS(SpeechCommand)

public:
    // Prints the stretches to out and returns 0, or prints why the file could not be read
    // to err and returns 1.
    // From the file's audio track `audioTrack`, counted from 1.
    static int run(const QString &path, int audioTrack, QTextStream &out, QTextStream &err);
};

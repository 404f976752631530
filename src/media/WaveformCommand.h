#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTextStream>

// `cuewright --waveform FILE`: the editor's waveform extraction (a media session's, at
// MediaSession::WaveformPointsPerSecond) without a display, for measuring from a shell. Needs a QCoreApplication; spins its own event loop.
class WaveformCommand
{
    Q_DECLARE_TR_FUNCTIONS(WaveformCommand)

public:
    // Prints "points=N max=M sum=S seconds=T" to out and returns 0, or prints why the
    // file has no decodable audio to err and returns 1.
    // From the file's audio track `audioTrack`, counted from 1.
    static int run(const QString &path, int audioTrack, QTextStream &out, QTextStream &err);
};

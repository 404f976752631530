#pragma once

#include "model/Expected.h"
#include "model/SpeechStretches.h"

#include <QCoreApplication>
#include <QString>

// Where people speak in one of a media file's audio tracks, found by a media session as the
// window's is (so a file whose waveform is cached has its speech at once, and a reading
// keeps both). Blocks until done: for the command line, tools and measurements, not for the GUI
// thread. Needs a QCoreApplication.
class SpeechDetection
{
    Q_DECLARE_TR_FUNCTIONS(SpeechDetection)

public:
    // In audio track `audioTrack`, counted from 1. The message says why there is nothing: not
    // a file, no audio (or no such track), or the sound could not be decoded.
    [[nodiscard]] static Expected<SpeechStretches, QString> detect(const QString &videoPath, int audioTrack = 1);
};

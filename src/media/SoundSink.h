#pragma once

#include <QString>

#include <cstdint>

// Something made from a video's sound that rides along on the waveform's one decoding
// (the sonogram, and whatever is added later), so that the sound is decoded once however
// many things are made from it. Every call comes on the reading's worker thread, in order.
class SoundSink
{
public:
    virtual ~SoundSink() = default;

    // Before any sound: true when what this makes is already at hand (kept in a cache) and
    // has been handed on, so that the sound need not be read for it.
    virtual bool restore(const QString &path) = 0;
    virtual void begin(int sampleRate, int channels) = 0;
    // Interleaved signed 16-bit samples, from the start of the sound on.
    virtual void append(const int16_t *samples, qsizetype count) = 0;
    // The end of the sound; complete is false when it could not be decoded to its end.
    virtual void finish(bool complete) = 0;
};

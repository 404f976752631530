#pragma once

#include <QString>

#include <cstdint>
#include <memory>

// Something made from a video's sound that rides along on the waveform's one decoding
// (the sonogram, and whatever is added later), so that the sound is decoded once however
// many things are made from it. The decoding may be split into parts read at once, each on
// a worker thread of its own: every part gets a Part of the sink, which hears that part's
// sound in order, beginning a little before the part (leadFrame) so that what it makes
// there equals what one reading from the start would.
class SoundSink
{
public:
    class Part
    {
    public:
        virtual ~Part() = default;
        // Interleaved signed 16-bit samples, in order, from the frame the part was made for.
        virtual void append(const int16_t *samples, qsizetype count) = 0;
        // The end of the part's sound; complete is false when it could not be decoded to its
        // end (or the reading stopped).
        virtual void finish(bool complete) = 0;
    };

    virtual ~SoundSink() = default;

    // Before any part, on a worker: true when what this makes from audio track `audioTrack`
    // of the file is already at hand (kept in a cache) and has been handed on, so that the
    // sound need not be read for it.
    virtual bool restore(const QString &path, int audioTrack) = 0;
    // The frame (per channel, from time 0) at or before `first` from which a part beginning
    // at `first` wants to hear the sound.
    virtual int64_t leadFrame(int64_t first, int sampleRate) const = 0;
    // Part `index` of the reading, hearing the sound from frame `from` on (leadFrame of its
    // first, or the start of the reading); the last part hears the end of the sound.
    // Called on the part's worker; nullptr when the part is not wanted (restored).
    virtual std::unique_ptr<Part> part(int index, bool last, int64_t from, int sampleRate, int channels) = 0;
};

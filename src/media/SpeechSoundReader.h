#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Stretches of a film's audio track as the speech recogniser takes them: 16 kHz mono, read
// from the file each time they are asked for, so that aligning a whole film holds one
// window of its sound at a time, never the film's.
class SpeechSoundReader
{
public:
    SpeechSoundReader(QString path, int audioTrack);
    // The sound from `from` to `to` seconds; shorter where the film ends, empty when it
    // cannot be read there.
    std::vector<int16_t> read(double from, double to) const;

private:
    QString m_path;
    int m_audioTrack;
};

#pragma once

#include "model/Expected.h"
#include "model/SpokenWord.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <span>

// Finds where the known words of one line are spoken in a stretch of sound, with other
// speech, music or silence around them. The commands know only this interface, so that
// another model or engine can stand in for the one Debian ships.
class WordAligner
{
public:
    static constexpr int sampleRate = 16000; // the sound it takes: mono, 16-bit

    virtual ~WordAligner() = default;
    // The language its model is for, as an ISO 639-1 code: "en".
    virtual QString language() const = 0;
    // Each of `words` with its times, in order, or why they could not be placed. `sound`
    // begins at `start` seconds, which the times count from.
    [[nodiscard]] virtual Expected<QList<SpokenWord>, QString> align(const QStringList &words,
                                                                     std::span<const qint16> sound, double start) = 0;
};

#pragma once

#include "format/FormatReading.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QStringView>

// Scenarist SCC: "Scenarist_SCC V1.0", then lines of a timecode at 29.97 frames per
// second ("HH:MM:SS:FF", or "HH:MM:SS;FF" in drop-frame) and the hex byte pairs of line-21
// captions sent from that frame on, one pair a frame. The keep holds the file, written
// back as it was while nothing changed, and each caption's rows and columns.
class SccReader
{
    Q_DECLARE_TR_FUNCTIONS(SccReader)

public:
    static constexpr double frameRate = 30000.0 / 1001;
    static constexpr QStringView signature = u"Scenarist_SCC V1.0";
    // When a frame starts, in seconds.
    static double timeOfFrame(qint64 frame);
    // The frame a timecode names, or nothing when it is none.
    static std::optional<qint64> frameOf(QStringView timecode);

    static Expected<FormatReading, QString> read(QStringView text, const FormatReadOptions &options = {});
};

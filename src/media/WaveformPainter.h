#pragma once

#include <QRectF>

class AudioWaveform;
class QPainter;
class QPalette;

// Draws a waveform's envelope mirrored about the middle of a band, as far as it has been
// decoded, on a time scale: a time t lies at x = t × pointsPerSecond − offset, whatever
// the zoom and the length of the audio.
class WaveformPainter
{
public:
    struct Scale
    {
        double pointsPerSecond = 30;
        double offset = 0;
        double verticalZoom = 1; // see AmplitudeCompression
    };

    // Draws what falls between x = area.left() and area.right(); the band is the area's
    // height. While decoding goes on, says how far it has come.
    static void paint(QPainter &painter, const QRectF &area, const AudioWaveform &waveform, Scale scale,
                      const QPalette &palette);
};

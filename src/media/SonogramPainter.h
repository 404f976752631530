#pragma once

#include <QRectF>

class AudioSonogram;
class QPainter;
class QPalette;

// Draws a sonogram in a band on the timeline's time scale (a time t lies at
// x = t × pointsPerSecond − offset), low pitches at the bottom, at the resolution that
// suits the zoom; where several columns fall in one pixel column, the loudest of each
// band is shown, with the columns computed ahead of the joined ones. The colours span the 70 dB below the loudest level of the file.
class SonogramPainter
{
public:
    struct Scale
    {
        double pointsPerSecond = 30;
        double offset = 0;
    };

    static void paint(QPainter &painter, const QRectF &area, const AudioSonogram &sonogram, Scale scale,
                      const QPalette &palette);
};

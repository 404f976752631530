#pragma once

// How high a waveform point is drawn when the waveform is zoomed vertically: its level
// (0 on the centre line, 1 at the loudest point of the file) times the zoom, straight up
// to a knee and compressed logarithmically above it, so that loud parts zoomed past the
// edge of the strip keep their shape instead of merging into a solid band. The height
// (as a share of the half-band) only comes near 1, never reaches it, and always grows
// with the level: louder is always drawn higher.
class AmplitudeCompression
{
public:
    static constexpr double minimumZoom = 1;
    static constexpr double maximumZoom = 32;
    static constexpr double zoomPerNotch = 1.25; // one notch of the wheel
    // Up to here the drawn height is the zoomed level itself.
    static constexpr double knee = 0.75;

    static double height(double level, double zoom);
    // A zoom within [minimumZoom, maximumZoom]; a value that is no number is 1.
    static double boundedZoom(double zoom);
};

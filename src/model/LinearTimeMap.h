#pragma once

#include "model/Subtitle.h"

#include <optional>

// Moves times along a straight line, t' = scale × t + offset: a shift, a synchronisation
// by two points or a change of frame rate. Results are whole milliseconds (what an SRT
// file holds) and never below zero.
class LinearTimeMap
{
public:
    // Every time moved by `offset` seconds.
    static LinearTimeMap shift(double offset);
    // The line through (from1, to1) and (from2, to2); none when the two source times are
    // the same or the line would turn the order of the subtitles around.
    static std::optional<LinearTimeMap> throughTwoPoints(double from1, double to1, double from2, double to2);
    // Times of a video at `fromRate` frames per second moved to the same frames at `toRate`;
    // none unless both rates are positive.
    static std::optional<LinearTimeMap> frameRateConversion(double fromRate, double toRate);
    // t' = scale × t + offset; none unless the scale is positive and both are finite.
    static std::optional<LinearTimeMap> scaledAndShifted(double scale, double offset);

    double scale() const { return m_scale; }
    double offset() const { return m_offset; }

    double apply(double t) const;
    // The new start and end of each subtitle, in the order given.
    QList<Subtitle::Values> valuesFor(const SubtitleList &subtitles) const;

    // t on whole milliseconds, halves away from zero.
    static double roundedToMilliseconds(double t);

private:
    LinearTimeMap(double scale, double offset);

    double m_scale;
    double m_offset;
};

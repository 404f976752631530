#pragma once

#include <optional>
#include <span>
#include <vector>

// The stretches of a film's sound where someone speaks, in seconds: sorted, each with a
// positive length, none overlapping or touching another (touching ones are one stretch).
struct SpeechStretch
{
    double start = 0;
    double end = 0;
    double length() const { return end - start; }
    friend bool operator==(const SpeechStretch &, const SpeechStretch &) = default;
};

class SpeechStretches
{
public:
    SpeechStretches() = default;
    // Sorts, drops empty and non-finite stretches, and joins overlapping ones.
    explicit SpeechStretches(std::vector<SpeechStretch> stretches);

    const std::vector<SpeechStretch> &stretches() const { return m_stretches; }
    bool isEmpty() const { return m_stretches.empty(); }
    std::size_t size() const { return m_stretches.size(); }

    // The onset (a stretch's start) or offset (its end) nearest to `time`, when one is at
    // most `distance` away.
    std::optional<double> nearestOnset(double time, double distance) const;
    std::optional<double> nearestOffset(double time, double distance) const;
    // The stretches that overlap [from, to].
    std::span<const SpeechStretch> overlapping(double from, double to) const;
    // Seconds of speech inside [from, to].
    double speechWithin(double from, double to) const;

    friend bool operator==(const SpeechStretches &, const SpeechStretches &) = default;

private:
    template<typename Edge>
    std::optional<double> nearestEdge(double time, double distance, Edge edge) const;

    std::vector<SpeechStretch> m_stretches;
};

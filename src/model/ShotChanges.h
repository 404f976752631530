#pragma once

#include <optional>
#include <span>
#include <vector>

// The times (seconds) at which a video cuts from one shot to the next: each is the start
// of the first frame of the new shot. Kept sorted; two times closer than `tolerance` are
// one shot change.
class ShotChanges
{
public:
    // Less than half a frame at any common rate, more than an SRT file's millisecond.
    static constexpr double tolerance = 0.002;

    ShotChanges() = default;
    explicit ShotChanges(std::vector<double> times);

    const std::vector<double> &times() const { return m_times; }
    bool isEmpty() const { return m_times.empty(); }
    std::size_t size() const { return m_times.size(); }

    // The first shot change after `time` (more than the tolerance after it).
    std::optional<double> next(double time) const;
    // The last shot change before `time` (more than the tolerance before it).
    std::optional<double> previous(double time) const;
    // The shot change nearest to `time`, when one is at most `distance` away.
    std::optional<double> nearest(double time, double distance) const;
    // The shot changes in [from, to].
    std::span<const double> between(double from, double to) const;

    // False when one is already there.
    bool insert(double time);
    // Removes the one within the tolerance of `time`; false when there is none.
    bool remove(double time);

    friend bool operator==(const ShotChanges &, const ShotChanges &) = default;

private:
    std::vector<double> m_times;
};

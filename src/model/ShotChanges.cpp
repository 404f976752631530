#include "model/ShotChanges.h"

#include <algorithm>
#include <cmath>

ShotChanges::ShotChanges(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    for (double time : times) {
        if (std::isfinite(time) && (m_times.empty() || time - m_times.back() >= tolerance))
            m_times.push_back(time);
    }
}

std::optional<double> ShotChanges::next(double time) const
{
    auto it = std::upper_bound(m_times.begin(), m_times.end(), time + tolerance);
    if (it == m_times.end())
        return std::nullopt;
    return *it;
}

std::optional<double> ShotChanges::previous(double time) const
{
    auto it = std::lower_bound(m_times.begin(), m_times.end(), time - tolerance);
    if (it == m_times.begin())
        return std::nullopt;
    return *std::prev(it);
}

std::optional<double> ShotChanges::nearest(double time, double distance) const
{
    auto after = std::lower_bound(m_times.begin(), m_times.end(), time);
    std::optional<double> best;
    if (after != m_times.end() && *after - time <= distance)
        best = *after;
    if (after != m_times.begin()) {
        double before = *std::prev(after);
        if (time - before <= distance && (!best || time - before < *best - time))
            best = before;
    }
    return best;
}

std::span<const double> ShotChanges::between(double from, double to) const
{
    auto first = std::lower_bound(m_times.begin(), m_times.end(), from);
    auto last = std::upper_bound(first, m_times.end(), to);
    return {first, last};
}

bool ShotChanges::insert(double time)
{
    if (!std::isfinite(time) || nearest(time, tolerance))
        return false;
    m_times.insert(std::lower_bound(m_times.begin(), m_times.end(), time), time);
    return true;
}

bool ShotChanges::remove(double time)
{
    auto found = nearest(time, tolerance);
    if (!found)
        return false;
    m_times.erase(std::lower_bound(m_times.begin(), m_times.end(), *found));
    return true;
}

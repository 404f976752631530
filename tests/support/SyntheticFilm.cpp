#include "SyntheticFilm.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace SyntheticFilm {

namespace {

constexpr double nowhere = std::numeric_limits<double>::quiet_NaN();

bool earlier(const SpeechStretch &a, const SpeechStretch &b)
{
    return a.start < b.start;
}

class Generator
{
public:
    explicit Generator(unsigned seed)
        : m_random(seed)
    {
    }

    double uniform(double from, double to) { return std::uniform_real_distribution<double>(from, to)(m_random); }
    bool chance(double p) { return uniform(0, 1) < p; }

    // Lines of 0.5 to 6 s, mostly a short pause apart, sometimes a long silence; all before
    // `until`.
    std::vector<SpeechStretch> lines(double from, int count, double until = std::numeric_limits<double>::infinity())
    {
        std::vector<SpeechStretch> lines;
        double t = from;
        for (int i = 0; i < count; ++i) {
            t += chance(0.7) ? uniform(0.3, 2) : uniform(2, 20);
            const double length = std::min(6.0, 0.5 + std::exponential_distribution<double>(1 / 1.5)(m_random));
            if (t + length > until)
                break;
            lines.push_back({t, t + length});
            t += length;
        }
        return lines;
    }

    // A subtitle per line, shown from up to two frames before it until up to a second after it,
    // though not into the next line.
    std::vector<SpeechStretch> subtitlesFor(const std::vector<SpeechStretch> &lines)
    {
        std::vector<SpeechStretch> subtitles;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            double end = lines[i].end + uniform(0, 1);
            if (i + 1 < lines.size())
                end = std::min(end, std::max(lines[i].end, lines[i + 1].start - 0.25));
            subtitles.push_back({lines[i].start - uniform(0, 0.08), end});
        }
        return subtitles;
    }

    SpeechStretches detected(const std::vector<SpeechStretch> &lines, const Noise &noise)
    {
        std::vector<SpeechStretch> found;
        for (const SpeechStretch &line : lines) {
            if (!chance(noise.dropped))
                found.push_back({line.start + uniform(-noise.jitter, noise.jitter),
                                 line.end + uniform(-noise.jitter, noise.jitter)});
        }
        const double end = lines.empty() ? 0 : lines.back().end;
        const int extra = int(std::lround(noise.extra * double(lines.size())));
        for (int i = 0; i < extra; ++i) {
            const double start = uniform(0, end);
            found.push_back({start, start + uniform(0.3, 3)});
        }
        for (int i = 0; i < noise.music; ++i) {
            const double start = uniform(0, end);
            found.push_back({start, start + uniform(20, 90)});
        }
        // A detector joins lines with a short pause between them.
        std::vector<SpeechStretch> joined;
        const SpeechStretches sorted(std::move(found));
        for (const SpeechStretch &stretch : sorted.stretches()) {
            if (!joined.empty() && stretch.start - joined.back().end < 0.3)
                joined.back().end = stretch.end;
            else
                joined.push_back(stretch);
        }
        return SpeechStretches(std::move(joined));
    }

private:
    std::mt19937 m_random;
};

void shiftAfter(std::vector<SpeechStretch> &stretches, double from, double by)
{
    for (SpeechStretch &s : stretches) {
        if (s.start > from) {
            s.start += by;
            s.end += by;
        }
    }
}

// The middle of the first pause of two seconds or more from the line at `fraction` of them
// on: scenes end there, and adverts begin.
double pauseAt(const std::vector<SpeechStretch> &lines, double fraction)
{
    auto i = std::size_t(fraction * double(lines.size() - 2));
    while (i + 2 < lines.size() && lines[i + 1].start - lines[i].end < 2)
        ++i;
    return (lines[i].end + lines[i + 1].start) / 2;
}

// The subtitles come from `foreign`'s lines when there is one.
Film makeFrom(Generator &film, Generator *foreign, const Options &options)
{
    const Damage &damage = options.damage;
    std::vector<SpeechStretch> lines = film.lines(5, options.lines);
    std::vector<SpeechStretch> subtitles =
        foreign ? foreign->subtitlesFor(foreign->lines(5, options.lines)) : film.subtitlesFor(lines);
    std::vector<double> rightStarts;
    for (const SpeechStretch &s : subtitles)
        rightStarts.push_back(s.start);

    Film result;
    if (damage.inserted > 0) {
        // The advert speaks too, and nothing of it is subtitled.
        const double at = pauseAt(lines, damage.insertedAt);
        shiftAfter(lines, at, damage.inserted);
        for (double &start : rightStarts)
            start += start > at ? damage.inserted : 0;
        for (const SpeechStretch &s : film.lines(at, 100, at + damage.inserted - 0.3))
            lines.push_back(s);
        std::sort(lines.begin(), lines.end(), earlier);
        result.breaks.push_back({at, at, damage.inserted});
    }
    if (damage.cut > 0) {
        const double at = pauseAt(subtitles, damage.cutAt);
        shiftAfter(subtitles, at, damage.cut);
        const std::vector<SpeechStretch> lost = film.subtitlesFor(film.lines(at, 100, at + damage.cut - 1.5));
        const auto next = std::upper_bound(subtitles.begin(), subtitles.end(), at,
                                           [](double t, const SpeechStretch &s) { return t < s.start; });
        rightStarts.insert(rightStarts.begin() + (next - subtitles.begin()), lost.size(), nowhere);
        subtitles.insert(next, lost.begin(), lost.end());
        for (Break &b : result.breaks) {
            b.from += b.from > at ? damage.cut : 0;
            b.to = b.from;
        }
        result.breaks.push_back({at, at + damage.cut, -damage.cut});
    }
    const auto original = [&](double t) { return (t - damage.offset) / damage.rate; };
    for (SpeechStretch &s : subtitles)
        s = {original(s.start), original(s.end)};
    for (Break &b : result.breaks)
        b = {original(b.from), original(b.to), b.jump};
    std::sort(result.breaks.begin(), result.breaks.end(), [](auto &a, auto &b) { return a.from < b.from; });
    result.subtitles = std::move(subtitles);
    result.rightStarts = std::move(rightStarts);
    result.speech = film.detected(lines, options.noise);
    return result;
}

} // namespace

Film make(const Options &options)
{
    Generator film(options.seed);
    return makeFrom(film, nullptr, options);
}

Film makeForeign(const Options &options, unsigned foreignSeed)
{
    Generator film(options.seed);
    Generator other(foreignSeed);
    return makeFrom(film, &other, options);
}

Score score(const Film &film, const SyncResult &result)
{
    Score score;
    std::vector<double> errors;
    for (std::size_t i = 0; i < film.subtitles.size(); ++i) {
        if (!std::isnan(film.rightStarts[i]))
            errors.push_back(result.map(film.subtitles[i].start) - film.rightStarts[i]);
    }
    const auto right = std::count_if(errors.cbegin(), errors.cend(), [](double error) { return std::abs(error) <= 0.1; });
    score.within100ms = errors.empty() ? 0 : double(right) / double(errors.size());
    if (!errors.empty()) {
        const auto middle = errors.begin() + std::ptrdiff_t(errors.size() / 2);
        std::nth_element(errors.begin(), middle, errors.end());
        score.medianStartError = *middle;
    }

    const std::vector<SyncResult::Break> found = result.breaks();
    score.breaksRight = found.size() == film.breaks.size();
    for (std::size_t i = 0; score.breaksRight && i < found.size(); ++i) {
        const Break &truth = film.breaks[i];
        // The subtitles around the true break: anywhere between them moves none wrongly.
        double before = -std::numeric_limits<double>::infinity();
        double after = std::numeric_limits<double>::infinity();
        for (const SpeechStretch &s : film.subtitles) {
            if (s.start < truth.from)
                before = s.start;
            else if (s.start > truth.to && after == std::numeric_limits<double>::infinity())
                after = s.start;
        }
        score.breaksRight = std::abs(found[i].jump - truth.jump) <= 0.1 && found[i].originalTime > before
            && found[i].originalTime <= after;
    }
    return score;
}

} // namespace SyntheticFilm

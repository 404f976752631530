#include "SyntheticFilm.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace SyntheticFilm {

namespace {

class Generator
{
public:
    explicit Generator(unsigned seed)
        : m_random(seed)
    {
    }

    double uniform(double from, double to) { return std::uniform_real_distribution<double>(from, to)(m_random); }
    bool chance(double p) { return uniform(0, 1) < p; }

    // Lines of 0.5 to 6 s, mostly a short pause apart, sometimes a long silence.
    std::vector<SpeechStretch> lines(double from, int count)
    {
        std::vector<SpeechStretch> lines;
        double t = from;
        for (int i = 0; i < count; ++i) {
            t += chance(0.7) ? uniform(0.3, 2) : uniform(2, 20);
            const double length = std::min(6.0, 0.5 + std::exponential_distribution<double>(1 / 1.5)(m_random));
            lines.push_back({t, t + length});
            t += length;
        }
        return lines;
    }

    // A subtitle per line, shown from a little before it until up to a second after it,
    // though not into the next line.
    std::vector<SpeechStretch> subtitlesFor(const std::vector<SpeechStretch> &lines)
    {
        std::vector<SpeechStretch> subtitles;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            double end = lines[i].end + uniform(0, 1);
            if (i + 1 < lines.size())
                end = std::min(end, std::max(lines[i].end, lines[i + 1].start - 0.25));
            subtitles.push_back({lines[i].start - uniform(0, 0.2), end});
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
    // Breaks fall between lines: adverts and scenes begin in a pause.
    const std::size_t before = std::size_t(damage.breakAt * double(lines.size() - 1));
    const double at = (lines[before].end + lines[before + 1].start) / 2;
    if (damage.inserted > 0) {
        shiftAfter(lines, at, damage.inserted);
        for (double &start : rightStarts)
            start += start > at ? damage.inserted : 0;
        // The advert speaks too, with nothing subtitled.
        for (const SpeechStretch &s : film.lines(at, 100)) {
            if (s.end < at + damage.inserted - 0.3)
                lines.push_back(s);
        }
        std::sort(lines.begin(), lines.end(), [](auto &a, auto &b) { return a.start < b.start; });
        result.breakFrom = result.breakTo = at;
    }
    if (damage.cut > 0) {
        shiftAfter(subtitles, at, damage.cut);
        std::vector<SpeechStretch> scene;
        for (const SpeechStretch &s : film.lines(at, 100)) {
            if (s.end < at + damage.cut - 1.5)
                scene.push_back(s);
        }
        const std::vector<SpeechStretch> lost = film.subtitlesFor(scene);
        const auto next = std::upper_bound(subtitles.begin(), subtitles.end(), at,
                                           [](double t, const SpeechStretch &s) { return t < s.start; });
        rightStarts.insert(rightStarts.begin() + (next - subtitles.begin()), lost.size(),
                           std::numeric_limits<double>::quiet_NaN());
        subtitles.insert(next, lost.begin(), lost.end());
        result.breakFrom = at;
        result.breakTo = at + damage.cut;
    }
    for (SpeechStretch &s : subtitles)
        s = {(s.start - damage.offset) / damage.rate, (s.end - damage.offset) / damage.rate};
    result.breakFrom = (result.breakFrom - damage.offset) / damage.rate;
    result.breakTo = (result.breakTo - damage.offset) / damage.rate;
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

} // namespace SyntheticFilm

#pragma once

#include "model/SpeechStretches.h"
#include "model/timing/SyncResult.h"

#include <vector>

// A film's speech and subtitles made for it, generated from a seed, then damaged the way
// subtitles reach users: shifted, made for another frame rate, or made for a version of the
// film with a stretch more or less. The speech is what a detector finds: edges off by a
// little, lines missed, music taken for speech, lines close together joined.
namespace SyntheticFilm {

struct Damage
{
    double rate = 1; // the film's time is the subtitles' time × rate + offset
    double offset = 0;
    double inserted = 0; // seconds of advert the film has and the subtitles lack
    double insertedAt = 0.5; // where, as a fraction of the lines
    double cut = 0; // seconds of a scene the film lacks and the subtitles keep
    double cutAt = 0.5;
};

struct Noise
{
    double jitter = 0;  // each detected edge off by up to this many seconds
    double dropped = 0; // the fraction of lines the detector misses
    double extra = 0;   // stretches of noise taken for speech, as a fraction of the lines
    int music = 0;      // stretches of 20 to 90 s of music taken for speech
};

struct Options
{
    unsigned seed = 1;
    int lines = 300;
    Damage damage;
    Noise noise;
};

// Where the film has a stretch more (from == to) or less (the lost scene from .. to), in
// the subtitles' time, and how many seconds later the film goes on after it.
struct Break
{
    double from = 0;
    double to = 0;
    double jump = 0;
};

struct Film
{
    SpeechStretches speech;               // as detected in the film
    std::vector<SpeechStretch> subtitles; // as damaged, in order
    std::vector<double> rightStarts;      // each subtitle's start in the film; NaN in a lost scene
    std::vector<Break> breaks;            // in order
};

// A film from `options.seed` with its own subtitles.
Film make(const Options &options);
// The same film with the subtitles of another, made from `foreignSeed`.
Film makeForeign(const Options &options, unsigned foreignSeed);

struct Score
{
    double within100ms = 0; // the fraction of subtitles (outside lost scenes) put there
    double medianStartError = 0; // seconds, put minus right: a bias the bound above hides
    bool breaksRight = false; // as many as there are, each jumping by the right seconds (within 0.1 s)
                              // between the subtitles around the true one
};
Score score(const Film &film, const SyncResult &result);

} // namespace SyntheticFilm

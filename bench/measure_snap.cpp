// How near snapping to speech brings subtitle edges to where the speech is: truth
// subtitles, each edge moved by a random amount up to --shift seconds either way, snapped
// to the speech, and the starts compared with the truth.
//
// Without files the truth is made up: stretches of speech as dialogue has them, each one
// subtitle from its onset to its offset plus the lead-out, and the speech is taken twice:
// exactly, and as a detector finds it (late onsets, early offsets, stretches split by a
// false pause, blips of noise, short pauses missed). Subtitles made from the speech are
// counted too. With files:
//   --truth TRUTH.srt    the subtitles as they should be timed
//   --speech SPEECH.txt  the speech found in the sound, one stretch a line: "start end"
//
//   cuewright-measure-snap [--seed N] [--count N] [--rate FPS] [--shift SECONDS]
//                          [--truth TRUTH.srt --speech SPEECH.txt]
#include "format/SubtitleParser.h"
#include "model/FrameTiming.h"
#include "model/ShotChanges.h"
#include "model/timing/SpeechSnap.h"
#include "model/timing/SpeechSpotting.h"
#include "model/SpeechStretches.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <vector>

namespace {

struct Made
{
    SubtitleList truth;
    SpeechStretches exact;
    SpeechStretches detected;
};

// Dialogue: utterances of 0.8 to 6 s, mostly shorter; pauses of a quarter second to a
// few seconds, a third of them under 0.6 s.
Made makeUp(quint32 seed, int count, double leadOut)
{
    std::mt19937 random(seed);
    const auto uniform = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const auto chance = [&](double p) { return uniform(0, 1) < p; };
    std::normal_distribution<double> onsetError(0.015, 0.02);  // detectors fire a little late
    std::normal_distribution<double> offsetError(-0.02, 0.04); // and lose a word's fading end

    std::vector<SpeechStretch> exact;
    double time = 2;
    for (int i = 0; i < count; ++i) {
        const double length = 0.8 + 5.2 * std::pow(uniform(0, 1), 2);
        exact.push_back({time, time + length});
        time += length + (chance(0.35) ? uniform(0.25, 0.6) : uniform(0.6, 3));
    }
    Made made;
    for (size_t i = 0; i < exact.size(); ++i) {
        const double nextStart = i + 1 < exact.size() ? exact[i + 1].start : 1e9;
        const double end = std::min(exact[i].end + leadOut, nextStart - 0.08);
        made.truth.append(Subtitle::create(QString(), exact[i].start, end));
    }

    std::vector<SpeechStretch> detected;
    for (size_t i = 0; i < exact.size(); ++i) {
        const SpeechStretch &s = exact[i];
        SpeechStretch found{s.start + onsetError(random), s.end + offsetError(random)};
        if (chance(0.1)) { // a false pause inside
            const double at = uniform(found.start + 0.3, std::max(found.start + 0.3, found.end - 0.4));
            const double pause = uniform(0.1, 0.3);
            detected.push_back({found.start, at});
            found.start = at + pause;
        }
        if (!detected.empty() && chance(0.05) && found.start - detected.back().end < 0.4)
            detected.back().end = found.end; // a short pause missed
        else
            detected.push_back(found);
        const double nextStart = i + 1 < exact.size() ? exact[i + 1].start : s.end + 2;
        if (nextStart - s.end > 0.8 && chance(0.08)) { // a breath or a noise in the pause
            const double at = uniform(s.end + 0.2, nextStart - 0.5);
            detected.push_back({at, at + uniform(0.05, 0.3)});
        }
    }
    made.exact = SpeechStretches(exact);
    made.detected = SpeechStretches(detected);
    return made;
}

// Each edge moved by up to `shift` either way, on frames, each subtitle at least a tenth
// of a second long.
SubtitleList perturbed(const SubtitleList &truth, quint32 seed, double shift, double rate)
{
    std::mt19937 random(seed ^ 0x5eed);
    std::uniform_real_distribution<double> move(-shift, shift);
    SubtitleList list;
    for (const SubtitlePtr &s : truth) {
        const double start = FrameTiming::onFrame(std::max(0.0, s->start + move(random)), rate);
        const double end = FrameTiming::onFrame(std::max(start + 0.1, s->end + move(random)), rate);
        list.append(Subtitle::create(s->text(), start, end));
    }
    sortSubtitles(list);
    return list;
}

double quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[size_t(std::min(values.size() - 1.0, std::floor(q * values.size())))];
}

void printErrors(const char *what, const SubtitleList &truth, const SubtitleList &list)
{
    std::vector<double> starts, ends;
    for (qsizetype i = 0; i < std::min(truth.size(), list.size()); ++i) {
        starts.push_back(std::fabs(list[i]->start - truth[i]->start) * 1000);
        ends.push_back(std::fabs(list[i]->end - truth[i]->end) * 1000);
    }
    const double within = std::count_if(starts.begin(), starts.end(), [](double e) { return e <= 80; });
    std::printf("  %-9s start error median %5.1f ms, 90%% within %6.1f ms, %5.1f%% within 80 ms;"
                " end error median %5.1f ms, 90%% within %6.1f ms\n",
                what, quantile(starts, 0.5), quantile(starts, 0.9), 100 * within / std::max<size_t>(1, starts.size()),
                quantile(ends, 0.5), quantile(ends, 0.9));
}

void measure(const char *name, const SubtitleList &truth, const SpeechStretches &speech, quint32 seed, double shift,
             double rate)
{
    const SubtitleList before = perturbed(truth, seed, shift, rate);
    const ShotChanges none;
    const SpeechSnap::Snapped snapped =
        SpeechSnap::snapAll(before, {speech, none, QualityLimits(), rate, SpeechSnapSettings()});
    std::printf("%s: %lld subtitles, %zu stretches of speech\n", name, qlonglong(truth.size()), speech.size());
    printErrors("before", truth, before);
    printErrors("snapped", truth, snapped.subtitles);
    std::printf("  %s\n", qPrintable(snapped.report.summary()));
}

// Subtitles made from the speech: how many, how many break a limit, and how many truth
// starts have a made start within 80 ms.
void measureSpotting(const SubtitleList &truth, const SpeechStretches &speech, double rate)
{
    const ShotChanges none;
    const QualityLimits limits;
    const SubtitleList spotted = SpeechSpotting::spot({speech, none, limits, rate, SpeechSnapSettings()});
    int short_ = 0, long_ = 0, close = 0, found = 0;
    for (qsizetype i = 0; i < spotted.size(); ++i) {
        const double duration = spotted[i]->end - spotted[i]->start;
        short_ += duration < limits.minDuration - 1e-6;
        long_ += duration > limits.maxDuration + 1e-6;
        close += i + 1 < spotted.size() && spotted[i + 1]->start - spotted[i]->end < limits.minGap(rate) - 1e-6;
    }
    for (const SubtitlePtr &s : truth) {
        const auto at = std::lower_bound(spotted.begin(), spotted.end(), s->start - 0.08,
                                         [](const SubtitlePtr &a, double t) { return a->start < t; });
        found += at != spotted.end() && (*at)->start <= s->start + 0.08;
    }
    std::printf("  spotted %lld subtitles for %lld: %d too short, %d too long, %d closer than the gap; "
                "%.1f%% of the true starts have one within 80 ms\n",
                qlonglong(spotted.size()), qlonglong(truth.size()), short_, long_, close,
                100.0 * found / std::max<qsizetype>(1, truth.size()));
}

std::optional<SpeechStretches> readSpeech(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    std::vector<SpeechStretch> stretches;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList fields = in.readLine().split(u' ', Qt::SkipEmptyParts);
        if (fields.size() >= 2 && !fields[0].startsWith(u'#'))
            stretches.push_back({fields[0].toDouble(), fields[1].toDouble()});
    }
    return SpeechStretches(stretches);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOptions({{"seed", "Random seed.", "N", "1"},
                       {"count", "Made-up subtitles.", "N", "5000"},
                       {"rate", "Frames per second.", "FPS", "25"},
                       {"shift", "Largest move of an edge, seconds.", "SECONDS", "0.35"},
                       {"truth", "Truth subtitles (SRT).", "FILE"},
                       {"speech", "Speech found, \"start end\" a line.", "FILE"}});
    parser.process(app);
    const quint32 seed = parser.value("seed").toUInt();
    const double rate = parser.value("rate").toDouble();
    const double shift = parser.value("shift").toDouble();
    std::printf("edges moved by up to %.2f s, %.3f fps, search window %.2f s, lead-out %d frames\n", shift, rate,
                SpeechSnapSettings().searchWindow, SpeechSnapSettings().leadOutFrames);

    if (parser.isSet("truth") || parser.isSet("speech")) {
        QFile file(parser.value("truth"));
        const std::optional<SpeechStretches> speech = readSpeech(parser.value("speech"));
        if (!file.open(QIODevice::ReadOnly) || !speech) {
            std::fprintf(stderr, "cannot read the truth subtitles or the speech\n");
            return 2;
        }
        const auto truth = SubtitleParser::shared().parseUtf8(file.readAll());
        if (!truth) {
            std::fprintf(stderr, "the truth subtitles do not read as SRT\n");
            return 2;
        }
        measure("given", truth.value(), *speech, seed, shift, rate);
        measureSpotting(truth.value(), *speech, rate);
        return 0;
    }
    const Made made = makeUp(seed, parser.value("count").toInt(), SpeechSnapSettings().leadOut(rate));
    measure("exact speech", made.truth, made.exact, seed, shift, rate);
    measureSpotting(made.truth, made.exact, rate);
    measure("detected speech (modelled)", made.truth, made.detected, seed, shift, rate);
    measureSpotting(made.truth, made.detected, rate);
    return 0;
}

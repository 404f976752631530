// Speech detection measured on generated clips (seeds the tests do not use) and timed on a
// two-hour film.
//   cuewright-measure-speech make PATH [SEED] [silence|white|pink|music] [SNR] [SENTENCES]
#include "speech/SpeechAnalyser.h"
#include "waveform/AudioDecoder.h"

#include "TestMedia.h"

#include <QTemporaryDir>

#include <QCoreApplication>

#include <cstdio>

namespace {

TestMedia::SpeechBackground backgroundNamed(const QString &name)
{
    if (name == QStringLiteral("white"))
        return TestMedia::SpeechBackground::WhiteNoise;
    if (name == QStringLiteral("pink"))
        return TestMedia::SpeechBackground::PinkNoise;
    if (name == QStringLiteral("music"))
        return TestMedia::SpeechBackground::Music;
    return TestMedia::SpeechBackground::Silence;
}

int makeClip(const QStringList &arguments)
{
    TestMedia::SpeechClipOptions options;
    options.seed = arguments.size() > 3 ? arguments[3].toUInt() : 1;
    options.background = backgroundNamed(arguments.value(4));
    options.snr = arguments.size() > 5 ? arguments[5].toDouble() : 20;
    options.sentences = arguments.size() > 6 ? arguments[6].toInt() : 4;
    options.video = arguments[2].endsWith(QStringLiteral(".mp4"));
    const auto clip = TestMedia::makeSpeechClip(arguments[2], options);
    if (!clip)
        return 1;
    for (const SpeechStretch &s : clip->truth.stretches())
        std::printf("%.3f %.3f\n", s.start, s.end);
    return 0;
}

std::optional<SpeechStretches> analyse(const QString &path)
{
    const auto decoder = AudioDecoder::open(path);
    if (!decoder || !decoder->setRange(0, 1e9))
        return std::nullopt;
    SpeechAnalyser analyser(decoder->sampleRate(), decoder->channelCount());
    std::vector<int16_t> chunk;
    while (decoder->read(chunk) == AudioDecoder::Status::Data)
        analyser.append(chunk.data(), std::int64_t(chunk.size()));
    analyser.finish();
    return SpeechStretches(analyser.takeFound());
}

// Scores detection on clips of every background, seeds from `firstSeed` on.
int evaluate(unsigned firstSeed, int clips, bool verbose)
{
    QTemporaryDir folder;
    struct Condition
    {
        const char *name;
        TestMedia::SpeechBackground background;
        double snr;
        int sentences;
    };
    const Condition conditions[] = {
        {"clean", TestMedia::SpeechBackground::Silence, 0, 5},
        {"white 15 dB", TestMedia::SpeechBackground::WhiteNoise, 15, 5},
        {"pink 10 dB", TestMedia::SpeechBackground::PinkNoise, 10, 5},
        {"pink 5 dB", TestMedia::SpeechBackground::PinkNoise, 5, 5},
        {"music 10 dB", TestMedia::SpeechBackground::Music, 10, 5},
        {"music 5 dB", TestMedia::SpeechBackground::Music, 5, 5},
        {"music alone", TestMedia::SpeechBackground::Music, 0, 0},
        {"pink alone", TestMedia::SpeechBackground::PinkNoise, -10, 0},
    };
    for (const Condition &condition : conditions) {
        TestMedia::SpeechScore total;
        double seconds = 0;
        for (int i = 0; i < clips; ++i) {
            TestMedia::SpeechClipOptions options;
            options.seed = firstSeed + i;
            options.background = condition.background;
            options.snr = condition.snr;
            options.sentences = condition.sentences;
            options.seconds = 20;
            options.sampleRate = i % 2 ? 44100 : 48000;
            options.channels = i % 3 == 2 ? 2 : 1;
            const QString path = folder.filePath(QStringLiteral("clip%1.flac").arg(i));
            const auto clip = TestMedia::makeSpeechClip(path, options);
            const auto found = clip ? analyse(path) : std::nullopt;
            if (!found)
                return 1;
            seconds += clip->seconds;
            const TestMedia::SpeechScore score = TestMedia::scoreSpeech(clip->truth, *found);
            if (verbose) {
                std::printf("  seed %u:", options.seed);
                for (const SpeechStretch &s : clip->truth.stretches())
                    std::printf(" [%.3f %.3f]", s.start, s.end);
                std::printf("\n   found:");
                for (const SpeechStretch &s : found->stretches())
                    std::printf(" [%.3f %.3f]", s.start, s.end);
                std::printf("\n");
            }
            total.onsetErrors += score.onsetErrors;
            total.offsetErrors += score.offsetErrors;
            total.sentences += score.sentences;
            total.onsetsMissed += score.onsetsMissed;
            total.offsetsMissed += score.offsetsMissed;
            total.missed += score.missed;
            total.falseStretches += score.falseStretches;
            total.falseSeconds += score.falseSeconds;
        }
        double onsetBias = 0;
        for (double e : total.onsetErrors)
            onsetBias += e;
        double offsetBias = 0;
        for (double e : total.offsetErrors)
            offsetBias += e;
        std::printf("%-12s (%4.0f s): %s; bias %+.0f/%+.0f ms\n", condition.name, seconds, qPrintable(total.describe()),
                    1000 * onsetBias / std::max<qsizetype>(1, total.onsetErrors.size()),
                    1000 * offsetBias / std::max<qsizetype>(1, total.offsetErrors.size()));
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() >= 3 && arguments[1] == QStringLiteral("make"))
        return makeClip(arguments);
    if (arguments.size() >= 3 && arguments[1] == QStringLiteral("detect")) {
        const auto found = analyse(arguments[2]);
        for (const SpeechStretch &s : found ? found->stretches() : std::vector<SpeechStretch>{})
            std::printf("%.3f %.3f\n", s.start, s.end);
        return found ? 0 : 1;
    }
    if (arguments.size() >= 2 && arguments[1] == QStringLiteral("accuracy"))
        return evaluate(arguments.size() > 2 ? arguments[2].toUInt() : 1000, arguments.size() > 3 ? arguments[3].toInt() : 6,
                        arguments.contains(QStringLiteral("-v")));
    std::fprintf(stderr, "usage: cuewright-measure-speech make PATH [SEED] [BACKGROUND] [SNR] [SENTENCES]\n");
    return 2;
}

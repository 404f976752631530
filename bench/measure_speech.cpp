// Speech detection measured on generated clips (seeds the tests do not use) and timed on a
// two-hour film.
//   cuewright-measure-speech accuracy [FIRST_SEED=1000] [CLIPS=6] [-v]
//       onset and offset errors, misses and false stretches in silence, noise and music
//   cuewright-measure-speech speed [MINUTES=120] [FOLDER]
//       the waveform's decoding of a film joined from a generated piece, without and with speech
//   cuewright-measure-speech make PATH [SEED] [silence|white|pink|music] [SNR] [SENTENCES]
//       one clip, its truth printed
//   cuewright-measure-speech detect PATH
#include "media/AudioWaveform.h"
#include "media/SpeechDetection.h"
#include "media/MediaSession.h"

#include "TestMedia.h"

#include <QTemporaryDir>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cmath>
#include <cstdio>
#include <ctime>

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
    auto speech = SpeechDetection::detect(path);
    if (!speech) {
        std::fprintf(stderr, "%s\n", qPrintable(speech.error()));
        return std::nullopt;
    }
    return std::move(speech).value();
}

struct Timing
{
    double seconds = -1;   // on the clock
    double processor = -1; // of all threads
};

// Seconds to read the whole film's waveform, with or without its speech, nothing cached.
Timing timeReading(const QString &film, bool speech)
{
    const auto waveform = AudioWaveform::create(film);
    if (!waveform)
        return {};
    waveform->setCache(nullptr);
    waveform->setSpeechDetection(speech);
    QEventLoop loop;
    QObject::connect(waveform.get(), &AudioWaveform::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    const std::clock_t processor = std::clock();
    waveform->loadWhole(MediaSession::WaveformPointsPerSecond);
    loop.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double cpu = double(std::clock() - processor) / CLOCKS_PER_SEC;
    std::printf("  %s: %.1f s (%.1f s of processor time), %lld points, %zu stretches\n",
                speech ? "waveform and speech" : "waveform alone", seconds, cpu, waveform->samples().size(),
                waveform->speech().size());
    std::fflush(stdout);
    // Every part is read to its end all the same, so the time holds.
    if (!waveform->isComplete())
        std::printf("  (the waveform's envelope was left incomplete: a part ended a point short)\n");
    return waveform->samples().isEmpty() ? Timing{} : Timing{seconds, cpu};
}

// A few minutes of sentences over music, joined into a film: the pictures copied, the
// sound encoded once more as one AAC stream (pieces of AAC joined as they are each bring
// their encoder's priming samples, which overlap in time at every join).
int measureSpeed(double minutes, const QString &folderPath)
{
    QTemporaryDir temporary;
    const QDir folder(folderPath.isEmpty() ? temporary.path() : folderPath);
    const QString piece = folder.filePath(QStringLiteral("speech-piece.mp4"));
    TestMedia::SpeechClipOptions options;
    options.seed = 7000;
    options.sentences = 70;
    options.seconds = 240;
    options.background = TestMedia::SpeechBackground::Music;
    options.snr = 12;
    options.channels = 2;
    options.video = true;
    const auto clip = TestMedia::makeSpeechClip(piece, options);
    if (!clip)
        return 1;
    const int copies = int(std::ceil(minutes * 60 / clip->seconds));
    QFile list(folder.filePath(QStringLiteral("speech-pieces.txt")));
    if (!list.open(QIODevice::WriteOnly))
        return 1;
    for (int i = 0; i < copies; ++i)
        list.write(QStringLiteral("file '%1'\n").arg(piece).toUtf8());
    list.close();
    const QString film = folder.filePath(QStringLiteral("speech-film.mp4"));
    QProcess join;
    join.start(QStringLiteral("ffmpeg"), {"-nostdin", "-y", "-v", "error", "-f", "concat", "-safe", "0", "-i",
                                          list.fileName(), "-c:v", "copy", "-c:a", "aac", "-b:a", "128k", film});
    if (!join.waitForFinished(-1) || join.exitCode() != 0) {
        std::fprintf(stderr, "joining failed: %s\n", join.readAllStandardError().constData());
        return 1;
    }
    std::printf("film: %d copies of a %.0f s piece (48 kHz stereo AAC), %.0f minutes\n", copies, clip->seconds,
                copies * clip->seconds / 60);
    // The least of three readings each, as other work on the machine only ever adds.
    Timing alone{1e9, 1e9};
    Timing both{1e9, 1e9};
    for (int i = 0; i < 3; ++i) {
        const Timing withoutSpeech = timeReading(film, false);
        const Timing withSpeech = timeReading(film, true);
        if (withoutSpeech.seconds <= 0 || withSpeech.seconds <= 0)
            return 1;
        alone = {std::min(alone.seconds, withoutSpeech.seconds), std::min(alone.processor, withoutSpeech.processor)};
        both = {std::min(both.seconds, withSpeech.seconds), std::min(both.processor, withSpeech.processor)};
    }
    std::printf("speech adds %.0f%% to the waveform's decoding on the clock (%.1f s to %.1f s), %.0f%% of processor "
                "time (%.1f s to %.1f s)\n",
                100 * (both.seconds - alone.seconds) / alone.seconds, alone.seconds, both.seconds,
                100 * (both.processor - alone.processor) / alone.processor, alone.processor, both.processor);
    return 0;
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
    // The clips' entries go to a cache of their own, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    const QStringList arguments = app.arguments();
    if (arguments.size() >= 2 && arguments[1] == QStringLiteral("speed"))
        return measureSpeed(arguments.size() > 2 ? arguments[2].toDouble() : 120, arguments.value(3));
    if (arguments.size() >= 3 && arguments[1] == QStringLiteral("make"))
        return makeClip(arguments);
    if (arguments.size() >= 3 && arguments[1] == QStringLiteral("time"))
        return timeReading(arguments[2], arguments.contains(QStringLiteral("--speech"))).seconds > 0 ? 0 : 1;
    if (arguments.size() >= 3 && arguments[1] == QStringLiteral("detect")) {
        const auto found = analyse(arguments[2]);
        for (const SpeechStretch &s : found ? found->stretches() : std::vector<SpeechStretch>{})
            std::printf("%.3f %.3f\n", s.start, s.end);
        return found ? 0 : 1;
    }
    if (arguments.size() >= 2 && arguments[1] == QStringLiteral("accuracy"))
        return evaluate(arguments.size() > 2 ? arguments[2].toUInt() : 1000, arguments.size() > 3 ? arguments[3].toInt() : 6,
                        arguments.contains(QStringLiteral("-v")));
    std::fprintf(stderr, "usage: cuewright-measure-speech accuracy [FIRST_SEED] [CLIPS] [-v] | speed [MINUTES] [FOLDER]"
                         " | make PATH [SEED] [BACKGROUND] [SNR] [SENTENCES] | detect PATH\n");
    return 2;
}

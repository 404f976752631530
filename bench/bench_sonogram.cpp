// Sonogram speed on a generated half-hour film (48 kHz stereo AAC, speech-like beeps
// over pink noise): the whole computation as a media session starts it (riding on the
// waveform's decoding, with the envelope beside it), nothing cached, as
// seconds of sound per second of work; the share of it that is decoding and mixing down to
// 16 kHz; and a warm start from the cache. The film is made once into /tmp and reused.
//   ninja cuewright-bench-sonogram && bench/cuewright-bench-sonogram
#include "speech/MonoResampler.h"
#include "media/AudioDecoder.h"
#include "media/AudioSonogram.h"
#include "media/AudioWaveform.h"
#include "decoding/MediaCache.h"
#include "media/MediaSession.h"
#include "media/SonogramColumns.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

constexpr int FilmSeconds = 1800;

const QString &filmPath()
{
    static const QString path = [] {
        const QString file = QStringLiteral("/tmp/cuewright-bench-sonogram-%1s.mp4").arg(FilmSeconds);
        if (!QFileInfo::exists(file)) {
            const QString command = QStringLiteral(
                "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=320x180:rate=10:duration=%1 "
                "-f lavfi -i \"sine=frequency=220:beep_factor=6:sample_rate=48000:duration=%1\" "
                "-f lavfi -i \"anoisesrc=color=pink:amplitude=0.05:sample_rate=48000:duration=%1\" "
                "-filter_complex \"[1][2]amix=inputs=2,aformat=channel_layouts=stereo[a]\" -map 0:v -map \"[a]\" "
                "-c:v libx264 -preset ultrafast -c:a aac -b:a 128k -shortest %2.part.mp4 && mv %2.part.mp4 %2")
                .arg(FilmSeconds).arg(file);
            if (std::system(command.toLocal8Bit().constData()) != 0)
                qFatal("could not generate %s", qPrintable(file));
        }
        return file;
    }();
    return path;
}

// Seconds from the start to the last column, as the timeline would see them.
double computeWhole(const std::shared_ptr<MediaCache> &cache)
{
    QElapsedTimer clock;
    clock.start();
    AudioSonogram sonogram(filmPath(), FilmSeconds);
    sonogram.setCache(cache);
    QEventLoop loop;
    QObject::connect(&sonogram, &AudioSonogram::finished, &loop, &QEventLoop::quit);
    // Goes before the sonogram it feeds.
    const std::shared_ptr<AudioWaveform> waveform = AudioWaveform::create(filmPath());
    waveform->setCache(nullptr);
    waveform->addSink(sonogram.sink());
    waveform->loadWhole(MediaSession::WaveformPointsPerSecond);
    loop.exec();
    if (!sonogram.isComplete())
        qFatal("the sonogram of %s is incomplete", qPrintable(filmPath()));
    return double(clock.nsecsElapsed()) / 1e9;
}

void sonogramCold(benchmark::State &state)
{
    double seconds = 0;
    for (auto _ : state) {
        seconds = computeWhole(nullptr);
        state.SetIterationTime(seconds);
    }
    state.counters["sound_s_per_s"] = FilmSeconds / seconds;
}

void sonogramWarm(benchmark::State &state)
{
    QTemporaryDir directory;
    const auto cache = std::make_shared<MediaCache>(directory.path());
    computeWhole(cache);
    // The store runs on the sonogram's worker, which its end waits for.
    double seconds = 0;
    for (auto _ : state) {
        seconds = computeWhole(cache);
        state.SetIterationTime(seconds);
    }
    state.counters["sound_s_per_s"] = FilmSeconds / seconds;
}

// The decoding and the mixing down alone, without the FFTs.
void decodeToMono16k(benchmark::State &state)
{
    double seconds = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const auto decoder = AudioDecoder::open(filmPath());
        if (!decoder || !decoder->setRange(0, FilmSeconds)) {
            state.SkipWithError("cannot decode");
            return;
        }
        MonoResampler resampler(decoder->sampleRate(), decoder->channelCount(), SonogramColumns::sampleRate);
        std::vector<int16_t> chunk;
        std::vector<float> mono;
        while (decoder->read(chunk) == AudioDecoder::Status::Data) {
            resampler.append(chunk.data(), std::int64_t(chunk.size()), mono);
            benchmark::DoNotOptimize(mono.data());
            mono.clear();
        }
        seconds = double(clock.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
    }
    state.counters["sound_s_per_s"] = FilmSeconds / seconds;
}

} // namespace

BENCHMARK(sonogramCold)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(decodeToMono16k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(sonogramWarm)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    filmPath();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

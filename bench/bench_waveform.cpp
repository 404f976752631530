// Waveform extraction speed on a generated two-hour film (320x180 at 10 fps, 48 kHz
// stereo AAC), against the ffmpeg command line decoding the same audio to nothing on one
// thread: cold on one and on two threads, and warm from the cache. The film is made
// once into /tmp (a few minutes) and reused.
#include "media/AudioWaveform.h"
#include "decoding/MediaCache.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr int FilmSeconds = 7200;
constexpr int PointsPerSecond = 48;

const QString &filmPath()
{
    static const QString path = [] {
        const QString file = QStringLiteral("/tmp/cuewright-bench-film-%1s.mp4").arg(FilmSeconds);
        if (!QFileInfo::exists(file)) {
            const QString command = QStringLiteral(
                "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=320x180:rate=10:duration=%1 "
                "-f lavfi -i sine=frequency=440:beep_factor=4:sample_rate=48000:duration=%1 -ac 2 "
                "-c:v libx264 -preset ultrafast -c:a aac -b:a 128k -shortest %2.part.mp4 && mv %2.part.mp4 %2")
                .arg(FilmSeconds).arg(file);
            if (std::system(command.toLocal8Bit().constData()) != 0)
                qFatal("could not generate %s", qPrintable(file));
        }
        return file;
    }();
    return path;
}

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Loads the whole waveform as the timeline does and returns the seconds from opening
// the file to the last point, as the editor would see them.
double loadWhole(int threads, const std::shared_ptr<MediaCache> &cache, qsizetype &points)
{
    QElapsedTimer clock;
    clock.start();
    const auto waveform = AudioWaveform::create(filmPath());
    if (!waveform)
        qFatal("no audio in %s", qPrintable(filmPath()));
    waveform->setThreadCount(threads);
    waveform->setCache(cache);
    QEventLoop loop;
    QObject::connect(waveform.get(), &AudioWaveform::finished, &loop, &QEventLoop::quit);
    waveform->loadWhole(PointsPerSecond);
    loop.exec();
    points = waveform->samples().size();
    return double(clock.nsecsElapsed()) / 1e9;
}

void waveformCold(benchmark::State &state)
{
    const int threads = int(state.range(0));
    qsizetype points = 0;
    for (auto _ : state)
        state.SetIterationTime(loadWhole(threads, nullptr, points));
    state.counters["points"] = double(points);
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
}

void waveformWarm(benchmark::State &state)
{
    QTemporaryDir directory;
    const auto cache = std::make_shared<MediaCache>(directory.path());
    qsizetype points = 0;
    loadWhole(2, cache, points); // fills the cache
    for (auto _ : state)
        state.SetIterationTime(loadWhole(2, cache, points));
    state.counters["points"] = double(points);
}

void ffmpegNull(benchmark::State &state)
{
    const QByteArray command =
        QStringLiteral("ffmpeg -nostdin -v error -threads 1 -i %1 -vn -map 0:a:0 -threads 1 -f null -")
            .arg(filmPath())
            .toLocal8Bit();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        if (std::system(command.constData()) != 0)
            state.SkipWithError("ffmpeg failed");
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}

} // namespace

BENCHMARK(waveformCold)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(waveformWarm)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ffmpegNull)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

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

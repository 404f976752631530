// Waveform extraction speed on a generated one-hour film (320x180 at 10 fps, 48 kHz
// stereo AAC), against the ffmpeg command line decoding the same audio to nothing.
// The film is made once into /tmp (about 1.5 minutes) and reused.
#include "waveform/AudioWaveform.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>

#include <sys/resource.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr int FilmSeconds = 3600;
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

// Decodes [0, duration) in `segments` waveforms at once and returns the seconds from
// opening the file to the last point, as the editor would see them.
double decode(int segments, qsizetype &points)
{
    QElapsedTimer clock;
    clock.start();
    std::vector<std::shared_ptr<AudioWaveform>> parts;
    const auto first = AudioWaveform::create(filmPath());
    if (!first)
        qFatal("no audio in %s", qPrintable(filmPath()));
    const double duration = first->duration();
    parts.push_back(first);
    for (int i = 1; i < segments; ++i)
        parts.push_back(AudioWaveform::create(filmPath()));

    QEventLoop loop;
    int running = 0;
    qint64 lastPoint = 0;
    for (int i = 0; i < segments; ++i) {
        // Segment bounds on whole seconds, so the joined points match one reading.
        const double start = i == 0 ? 0 : std::floor(duration * i / segments);
        const double end = i == segments - 1 ? duration : std::floor(duration * (i + 1) / segments);
        QObject::connect(parts[i].get(), &AudioWaveform::samplesAppended, &loop,
                         [&] { lastPoint = clock.nsecsElapsed(); });
        QObject::connect(parts[i].get(), &AudioWaveform::finished, &loop, [&] {
            if (--running == 0)
                loop.quit();
        });
        parts[i]->load(start, end, PointsPerSecond);
        ++running;
    }
    loop.exec();
    points = 0;
    for (const auto &part : parts)
        points += part->samples().size();
    return double(lastPoint) / 1e9;
}

void waveform(benchmark::State &state)
{
    const int segments = int(state.range(0));
    qsizetype points = 0;
    for (auto _ : state)
        state.SetIterationTime(decode(segments, points));
    state.counters["points"] = double(points);
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
}

void ffmpegNull(benchmark::State &state)
{
    const QByteArray command =
        QStringLiteral("ffmpeg -nostdin -v error -i %1 -vn -map 0:a:0 -f null -").arg(filmPath()).toLocal8Bit();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        if (std::system(command.constData()) != 0)
            state.SkipWithError("ffmpeg failed");
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}

} // namespace

BENCHMARK(waveform)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
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

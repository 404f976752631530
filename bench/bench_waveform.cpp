// Waveform extraction speed on a generated two-hour film (320x180 at 10 fps, 48 kHz
// stereo AAC), against the ffmpeg command line decoding the same audio to nothing on one
// thread: cold on one and on two threads, and warm from the cache. Then a window's media
// session on a one-hour film, its cursor in the middle, with and without the sonogram
// shown: the time to the first points at the cursor and to the whole waveform. The films
// are made once into /tmp (a few minutes) and reused.
#include "media/AudioSonogram.h"
#include "media/AudioWaveform.h"
#include "decoding/MediaCache.h"
#include "media/MediaSession.h"

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
constexpr int SessionFilmSeconds = 3600;
constexpr int PointsPerSecond = 48;

QString filmOf(int seconds)
{
    const QString file = QStringLiteral("/tmp/cuewright-bench-film-%1s.mp4").arg(seconds);
    if (!QFileInfo::exists(file)) {
            const QString command = QStringLiteral(
                "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=320x180:rate=10:duration=%1 "
                "-f lavfi -i sine=frequency=440:beep_factor=4:sample_rate=48000:duration=%1 -ac 2 "
                "-c:v libx264 -preset ultrafast -c:a aac -b:a 128k -shortest %2.part.mp4 && mv %2.part.mp4 %2")
                .arg(seconds).arg(file);
            if (std::system(command.toLocal8Bit().constData()) != 0)
                qFatal("could not generate %s", qPrintable(file));
    }
    return file;
}

const QString &filmPath()
{
    static const QString path = filmOf(FilmSeconds);
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
    filmPath(); // made before the clock runs
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

// True once the waveform has a point at `seconds`, joined or ahead.
bool hasPointAt(const AudioWaveform &waveform, double seconds)
{
    const auto covers = [&](double first, qsizetype count) {
        return seconds >= first && seconds < first + count / waveform.samplesPerSecond();
    };
    if (waveform.samplesPerSecond() <= 0)
        return false;
    if (covers(waveform.firstSampleTime(), waveform.samples().size()))
        return true;
    for (const AudioWaveform::PartAhead &part : waveform.partsAhead()) {
        if (covers(part.firstSampleTime, part.samples.size()))
            return true;
    }
    return false;
}

// A window's session with nothing kept, its cursor in the middle of a one-hour film:
// seconds to the first point at the cursor, and to the whole waveform (the sonogram's
// last column too when it is shown).
void sessionFocus(benchmark::State &state)
{
    static const QString film = filmOf(SessionFilmSeconds);
    const bool sonogram = state.range(0) != 0;
    const double focus = SessionFilmSeconds / 2.0;
    double first = 0;
    double whole = 0;
    double sonogramDone = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        MediaSession session;
        session.setCaches({});
        session.setAnalyses({.sound = true, .sonogram = sonogram, .shotChanges = false});
        first = whole = sonogramDone = 0;
        QEventLoop loop;
        const auto check = [&] {
            const auto waveform = session.waveform();
            if (waveform && first == 0 && hasPointAt(*waveform, focus))
                first = double(clock.nsecsElapsed()) / 1e9;
            if (session.isSoundFinished() && whole == 0)
                whole = double(clock.nsecsElapsed()) / 1e9;
            const auto columns = session.sonogram();
            if (columns && !columns->isReading() && sonogramDone == 0)
                sonogramDone = double(clock.nsecsElapsed()) / 1e9;
            if (whole > 0 && (!sonogram || sonogramDone > 0))
                loop.quit();
        };
        QObject::connect(&session, &MediaSession::waveformChanged, &loop,
                         [&](const std::shared_ptr<AudioWaveform> &waveform) {
                             if (waveform)
                                 QObject::connect(waveform.get(), &AudioWaveform::samplesAppended, &loop, check);
                         });
        QObject::connect(&session, &MediaSession::sonogramChanged, &loop,
                         [&](const std::shared_ptr<AudioSonogram> &columns) {
                             if (columns)
                                 QObject::connect(columns.get(), &AudioSonogram::finished, &loop, check);
                         });
        QObject::connect(&session, &MediaSession::soundFinished, &loop, check);
        session.start(film, focus);
        loop.exec();
        state.SetIterationTime(whole);
    }
    state.counters["first_at_cursor_s"] = first;
    state.counters["whole_waveform_s"] = whole;
    if (sonogram)
        state.counters["whole_sonogram_s"] = sonogramDone;
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
BENCHMARK(sessionFocus)->ArgName("sonogram")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ffmpegNull)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

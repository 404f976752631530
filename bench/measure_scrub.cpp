// How soon a scrubbing grain is heard: from the request to mpv playing the grain's sound
// (its seek landed with playback running), for grains asked one at a time and for a drag
// that asks for one every 16 ms. The sound-only player that scrubbing uses is measured
// against grains played by a player that also decodes the picture.
//   ninja cuewright-measure-scrub && bench/cuewright-measure-scrub [VIDEO] [--audible] [--grains N]
// Without a video, one minute of 640×360 H.264 with AAC sound is made with ffmpeg.
#include "player/MpvPlayer.h"
#include "player/SoundGrains.h"

#include "TestMedia.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <memory>

namespace {

constexpr double grainSeconds = 0.07;
constexpr int pointerMoveMilliseconds = 16; // a pointer reporting at 60 Hz

void wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void report(const char *what, QList<double> samples)
{
    if (samples.isEmpty()) {
        std::printf("  %-34s no grain was heard\n", what);
        return;
    }
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double share) { return samples[std::min(qsizetype(share * samples.size()), samples.size() - 1)]; };
    std::printf("  %-34s %3d: median %5.1f ms, 90%% %5.1f ms, max %5.1f ms\n", what, int(samples.size()), at(0.5), at(0.9),
                samples.last());
}

void measure(const char *name, MpvPlayer::Output output, const QString &video, double duration, int count)
{
    SoundGrains grains(std::make_unique<MpvPlayer>(output), video);
    QElapsedTimer clock;
    clock.start();
    QList<double> starts; // wall times of the grains heard, ms
    QObject::connect(&grains, &SoundGrains::grainStarted, [&] { starts.append(clock.nsecsElapsed() / 1e6); });

    // The first grain waits for the file to open.
    grains.play(1, grainSeconds);
    for (int i = 0; i < 500 && starts.isEmpty(); ++i)
        wait(10);
    if (starts.isEmpty()) {
        std::printf("%s: the file did not play\n", name);
        return;
    }
    wait(200);
    std::printf("%s\n", name);

    QList<double> alone;
    for (int i = 0; i < count; ++i) {
        starts.clear();
        const double asked = clock.nsecsElapsed() / 1e6;
        grains.play(QRandomGenerator::global()->bounded(duration - 2) + 1, grainSeconds);
        for (int tries = 0; tries < 200 && starts.isEmpty(); ++tries)
            wait(1);
        if (!starts.isEmpty())
            alone.append(starts.first() - asked);
        wait(120);
    }
    report("one grain at a time:", alone);

    // A drag across the timeline: each move asks for the sound under the pointer; a move is
    // heard once any grain from it or a later move starts.
    starts.clear();
    QList<double> moves;
    double time = 5;
    for (int i = 0; i < count * 4; ++i) {
        moves.append(clock.nsecsElapsed() / 1e6);
        grains.play(time, grainSeconds);
        time += 0.05;
        wait(pointerMoveMilliseconds);
    }
    wait(300);
    grains.stop();
    QList<double> dragging;
    for (double move : std::as_const(moves)) {
        const auto heard = std::upper_bound(starts.cbegin(), starts.cend(), move);
        if (heard != starts.cend())
            dragging.append(*heard - move);
    }
    report("dragging, each move:", dragging);
    std::printf("  %-34s %d of %d\n", "grains started while dragging:", int(starts.size()), int(moves.size()));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QString video;
    bool audible = false;
    int count = 40;
    const QStringList arguments = app.arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--audible"))
            audible = true;
        else if (arguments[i] == QLatin1String("--grains") && i + 1 < arguments.size())
            count = std::max(1, arguments[++i].toInt());
        else
            video = arguments[i];
    }
    QTemporaryDir dir;
    double duration = 60;
    if (video.isEmpty()) {
        video = dir.filePath(QStringLiteral("film.mp4"));
        TestMedia::VideoOptions options;
        options.seconds = duration;
        options.size = QSize(640, 360);
        if (!TestMedia::makeVideo(video, options))
            return 1;
    } else {
        MpvPlayer probe(MpvPlayer::Output::Headless);
        probe.load(video);
        for (int i = 0; i < 500 && probe.duration() <= 0; ++i)
            wait(10);
        duration = probe.duration();
        if (duration < 4) {
            std::fprintf(stderr, "The video is too short or cannot be played.\n");
            return 1;
        }
    }
    measure(audible ? "sound-only player, default audio output (what scrubbing uses):"
                    : "sound-only player, ao=null (what scrubbing uses):",
            audible ? MpvPlayer::Output::Sound : MpvPlayer::Output::SilentSound, video, duration, count);
    measure("player decoding the picture too, ao=null (for comparison):", MpvPlayer::Output::Headless, video, duration,
            count);
    return 0;
}

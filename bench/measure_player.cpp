// The video pane next to the timeline in a real window, for looking at it under Xvfb and
// for measuring what only a real picture shows:
//   cuewright-measure-player VIDEO|- [--play] [--seek SECONDS] [--measure-seeks N] [--measure-cpu SECONDS]
#include "document/Document.h"
#include "player/MpvVideoWidget.h"
#include "media/MediaSession.h"
#include "player/VideoPlayerViewController.h"
#include "timeline/TimelineViewController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimer>
#include <QVBoxLayout>

#include <sys/resource.h>

#include <algorithm>
#include <clocale>
#include <cstdio>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Seeks to random times, one after another, timing each from the call to the first picture
// drawn after the seek landed and the label was refreshed.
void measureSeeks(VideoPlayerViewController *controller, int count)
{
    auto *widget = qobject_cast<MpvVideoWidget *>(controller->player()->view());
    auto samples = std::make_shared<QList<double>>();
    auto clock = std::make_shared<QElapsedTimer>();
    auto landed = std::make_shared<bool>(false);
    auto next = std::make_shared<std::function<void()>>();
    const double duration = controller->player()->duration();
    QObject::connect(widget, &QOpenGLWidget::frameSwapped, controller, [=] {
        if (!*landed)
            return;
        *landed = false;
        samples->append(clock->nsecsElapsed() / 1e6);
        QTimer::singleShot(50, controller, *next);
    });
    *next = [=] {
        if (samples->size() == count) {
            QList<double> sorted = *samples;
            std::sort(sorted.begin(), sorted.end());
            std::printf("seek to picture: %d seeks, median %.1f ms, min %.1f ms, max %.1f ms\n", int(sorted.size()),
                        sorted[sorted.size() / 2], sorted.first(), sorted.last());
            QApplication::quit();
            return;
        }
        const double target = QRandomGenerator::global()->bounded(duration - 1);
        clock->start();
        controller->player()->seek(target, [=](bool finished) {
            controller->seekDidFinish(finished);
            QTimer::singleShot(0, controller, [=] { *landed = finished; });
        });
    };
    QTimer::singleShot(500, controller, *next);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: player_demo VIDEO [--play] [--seek S] [--measure-seeks N] [--measure-cpu S]\n");
        return 2;
    }
    const auto option = [&](const char *name) {
        const qsizetype i = args.indexOf(QLatin1String(name));
        return i > 0 && i + 1 < args.size() ? args[i + 1] : QString();
    };

    Document document;
    document.subtitleController().setDelegate(&document);
    document.subtitleController().setUndoManager(&document.undoManager());
    SubtitleList subtitles;
    for (int i = 0; i < 30; ++i)
        subtitles.append(Subtitle::create(
            QStringLiteral("Subtitle number %1,\nshown over the picture").arg(i + 1), 0.5 + i * 2.0, 2.0 + i * 2.0));
    document.subtitleController().setSubtitles(subtitles);

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    MediaSession media;
    auto *player = new VideoPlayerViewController(&document, &media, &window);
    auto *timeline = new TimelineViewController(&document, &media, &window);
    layout->addWidget(player, 3);
    layout->addWidget(timeline, 1);
    QObject::connect(player, &VideoPlayerViewController::videoDurationChanged, timeline,
                     &TimelineViewController::setVideoDuration);
    QObject::connect(player, &VideoPlayerViewController::playbackTimeChanged, timeline,
                     &TimelineViewController::setCurrentTime);
    // The timeline takes the frame rate from the document; the session works out the video
    // from where playback is, as in the window.
    QObject::connect(player, &VideoPlayerViewController::videoChanged, &media, [&media, player](const QString &path) {
        media.start(path, player->player() ? player->player()->currentTime() : 0);
    });
    QObject::connect(player, &VideoPlayerViewController::playbackTimeChanged, &media, &MediaSession::setFocusTime);
    QObject::connect(player, &VideoPlayerViewController::scrollToCursorRequested, timeline,
                     &TimelineViewController::followCursor);
    QObject::connect(player, &VideoPlayerViewController::playingChanged, timeline,
                     &TimelineViewController::setPlaying);
    window.resize(1000, 760);
    window.show();
    if (args[1] == QLatin1String("-"))
        return app.exec(); // the empty pane
    player->loadVideo(args[1]);

    const QString seekTo = option("--seek");
    const QString seeks = option("--measure-seeks");
    const QString cpu = option("--measure-cpu");
    QObject::connect(player->player(), &Player::durationChanged, &window, [&] {
        QTimer::singleShot(300, &window, [&] {
            if (!seekTo.isEmpty())
                player->seekTo(seekTo.toDouble());
            if (!seeks.isEmpty()) {
                measureSeeks(player, seeks.toInt());
            } else if (!cpu.isEmpty()) {
                const double start = cpuSeconds();
                auto wall = std::make_shared<QElapsedTimer>();
                wall->start();
                player->playPause();
                QTimer::singleShot(int(cpu.toDouble() * 1000), &window, [=] {
                    const double seconds = wall->nsecsElapsed() / 1e9;
                    std::printf("playing: %.0f%% of one core over %.1f s\n", 100 * (cpuSeconds() - start) / seconds,
                                seconds);
                    QApplication::quit();
                });
            } else if (args.contains(QLatin1String("--play"))) {
                player->playPause();
            }
        });
    }, Qt::SingleShotConnection);
    return app.exec();
}

// What an edit of a large styled script costs the window while a video plays it: the
// private copy the player draws (shown.ass) is made again after each edit. For each of a
// few edits: the time until the player is told to read the new copy, the GUI thread's
// CPU time over it, and the longest the GUI thread went without turning its event loop.
//   ninja cuewright-measure-styled && /usr/bin/time -v bench/cuewright-measure-styled [EVENTS=1000000]
#include "document/Document.h"
#include "format/SubtitleFormatIo.h"
#include "player/StyledSubtitleTrack.h"

#include "FakePlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

class CountingPlayer : public FakePlayer
{
public:
    void reloadSubtitleFile() override { ++reloads; }
    int reloads = 0;
};

// Resident memory now and at most so far, in MB.
std::pair<double, double> residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    double now = 0, peak = 0;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                now = line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
            else if (line.startsWith("VmHWM:"))
                peak = line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
        }
    }
    return {now, peak};
}

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

QString script(int events)
{
    QString text = QStringLiteral("[Script Info]\nScriptType: v4.00+\nPlayResX: 1920\nPlayResY: 1080\n\n[V4+ Styles]\n"
                                  "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
                                  "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
                                  "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
                                  "Style: Default,Arial,54,&H00FFFFFF,&H000000FF,&H00000000,&H80000000,0,0,0,0,100,"
                                  "100,0,0,1,3,1,2,60,60,40,1\n\n[Events]\n"
                                  "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n");
    const auto time = [](int centiseconds) {
        return QStringLiteral("%1:%2:%3.%4")
            .arg(centiseconds / 360000)
            .arg(centiseconds / 6000 % 60, 2, 10, QLatin1Char('0'))
            .arg(centiseconds / 100 % 60, 2, 10, QLatin1Char('0'))
            .arg(centiseconds % 100, 2, 10, QLatin1Char('0'));
    };
    for (int i = 0; i < events; ++i)
        text += QStringLiteral("Dialogue: 0,%1,%2,Default,,0,0,0,,{\\an8}Line %3\n").arg(time(i * 300), time(i * 300 + 200)).arg(i);
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int events = argc > 1 ? std::atoi(argv[1]) : 1'000'000;
    Document document;
    document.attachController();
    auto reading = SubtitleFormatIo::read(SubtitleFormat::Ass, script(events));
    if (!reading.hasValue())
        return 1;
    document.setRecovered(reading.value().subtitles, std::nullopt, SubtitleFormat::Ass, reading.value().keep);
    StyledSubtitleTrack track(&document);
    CountingPlayer player;

    QElapsedTimer clock;
    qint64 lastTurn = 0;
    qint64 longestStall = 0;
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestStall = std::max(longestStall, now - lastTurn);
        lastTurn = now;
    });
    const auto waitFor = [&](const std::function<bool()> &done) {
        clock.start();
        lastTurn = 0;
        longestStall = 0;
        const double cpu = threadSeconds();
        turns.start(5);
        while (!done())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        turns.stop();
        std::printf("%7.2f s until the player reads it, %5.2f s of GUI thread CPU, longest stall %5.2f s\n",
                    clock.elapsed() / 1000.0, threadSeconds() - cpu, std::max(longestStall, clock.elapsed() - lastTurn) / 1000.0);
    };
    const auto [documentAlone, readingPeak] = residentMegabytes();
    std::printf("%d events; the document alone: %.0f MB resident (%.0f MB at most while reading)\nfirst copy: ",
                events, documentAlone, readingPeak);
    std::fflush(stdout);
    track.setPlayer(&player);
    waitFor([&] { return !player.subtitleFile().isEmpty(); });
    SubtitleController &controller = document.subtitleController();
    for (int edit = 0; edit < 5; ++edit) {
        const int reloads = player.reloads;
        std::printf("edit %d:     ", edit + 1);
        std::fflush(stdout);
        const double before = threadSeconds();
        controller.setText(QStringLiteral("Edited %1").arg(edit), events / 2 + edit);
        std::printf("(the edit itself %.2f s) ", threadSeconds() - before);
        waitFor([&] { return player.reloads > reloads; });
    }
    const auto [resident, peak] = residentMegabytes();
    std::printf("resident now %.0f MB, at most %.0f MB\n", resident, peak);
    track.setPlayer(nullptr);
    return 0;
}

// Finding the cuts of a two-hour 720p H.264 film: a few minutes of generated shots (another
// order and other traps than the tests'), joined into two hours without re-encoding, then
// `cuewright --shot-changes` timed on it. Also scores the cuts found in the short piece.
//   cuewright-measure-shots CUEWRIGHT [MINUTES=120] [FOLDER]
#include "shots/ShotChangeScanner.h"

#include "TestMedia.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <limits>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: cuewright-measure-shots CUEWRIGHT [MINUTES=120] [FOLDER]\n");
        return 2;
    }
    const QString program = arguments[1];
    const double minutes = arguments.size() > 2 ? arguments[2].toDouble() : 120;
    QTemporaryDir temporary;
    const QDir folder(arguments.size() > 3 ? arguments[3] : temporary.path());

    const QString piece = folder.filePath(QStringLiteral("piece.mp4"));
    TestMedia::ShotVideoOptions options;
    options.seed = 2024;
    options.shots = 100;
    options.size = {1280, 720};
    const auto truth = TestMedia::makeShotVideo(piece, options);
    if (!truth) {
        std::fprintf(stderr, "the piece could not be made\n");
        return 1;
    }
    auto scanner = ShotChangeScanner::open(piece);
    if (!scanner) {
        std::fprintf(stderr, "%s\n", qPrintable(scanner.error()));
        return 1;
    }
    const double pieceSeconds = scanner.value()->duration();
    const TestMedia::ShotScore score =
        TestMedia::scoreShots(*truth, scanner.value()->scan(0, std::numeric_limits<double>::infinity()));
    std::printf("piece: %.1f s, %lld cuts, %lld flashes, %lld fast motions; %s\n", pieceSeconds,
                qsizetype(truth->cuts.size()), qsizetype(truth->flashes.size()), qsizetype(truth->motions.size()),
                qPrintable(score.describe()));

    // Copies of the piece joined by the concat demuxer, packets copied as they are.
    const int copies = int(std::ceil(minutes * 60 / pieceSeconds));
    QFile list(folder.filePath(QStringLiteral("pieces.txt")));
    if (!list.open(QIODevice::WriteOnly))
        return 1;
    for (int i = 0; i < copies; ++i)
        list.write(QStringLiteral("file '%1'\n").arg(piece).toUtf8());
    list.close();
    const QString film = folder.filePath(QStringLiteral("film.mp4"));
    QProcess join;
    join.start(QStringLiteral("ffmpeg"), {"-nostdin", "-y", "-v", "error", "-f", "concat", "-safe", "0", "-i",
                                          list.fileName(), "-c", "copy", film});
    if (!join.waitForFinished(-1) || join.exitCode() != 0) {
        std::fprintf(stderr, "joining failed: %s\n", join.readAllStandardError().constData());
        return 1;
    }

    QProcess run;
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    run.start(program, {QStringLiteral("--shot-changes"), film});
    if (!run.waitForFinished(-1) || run.exitCode() != 0) {
        std::fprintf(stderr, "cuewright --shot-changes failed\n");
        return 1;
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    const qsizetype found = run.readAllStandardOutput().count('\n');
    std::printf("film: %d copies, %.0f s; cuewright --shot-changes found %lld cuts in %.1f s, %.1fx real time\n",
                copies, copies * pieceSeconds, found, seconds, copies * pieceSeconds / seconds);
    return 0;
}

#include "TestMedia.h"

#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <random>

namespace TestMedia {

namespace {

bool runFfmpeg(const QStringList &args)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-nostdin"), QStringLiteral("-y"),
                                                       QStringLiteral("-v"), QStringLiteral("error")} + args);
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0) {
        qWarning("ffmpeg failed: %s", ffmpeg.readAllStandardError().constData());
        return false;
    }
    return true;
}

} // namespace

QString beeps(const QList<double> &starts, double length, double seconds, int sampleRate)
{
    QStringList windows;
    for (double start : starts)
        windows << QStringLiteral("between(t\\,%1\\,%2)").arg(start).arg(start + length);
    return QStringLiteral("aevalsrc=exprs='0.5*sin(2*PI*1000*t)*(%1)':sample_rate=%2:duration=%3")
        .arg(windows.join(u'+'))
        .arg(sampleRate)
        .arg(seconds);
}

bool makeAudio(const QString &path, const QString &audioSource)
{
    return runFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), audioSource, path});
}

bool makeVideo(const QString &path, const VideoOptions &options)
{
    const QString seconds = QString::number(options.seconds);
    const QString audio = options.audioSource.isEmpty()
                              ? QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(seconds)
                              : options.audioSource;
    return runFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                      QStringLiteral("testsrc=size=%1x%2:rate=25:duration=%3")
                          .arg(options.size.width()).arg(options.size.height()).arg(seconds),
                      QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), audio,
                      QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-pix_fmt"),
                      QStringLiteral("yuv420p"), QStringLiteral("-c:a"), QStringLiteral("aac"), path});
}

} // namespace TestMedia

namespace TestMedia {

namespace {

// One shot's pictures as a lavfi chain from `frame` of its source on; %1 is the size,
// %2 the rate.
struct ShotSource
{
    QString family; // shots of one family look alike and follow each other
    QString chain;
    // Changes only gradually (no counter flipping a digit), so that moving it fast is
    // motion and nothing else.
    bool smooth = false;
};

QList<ShotSource> shotSources()
{
    return {
        {"testsrc2", "testsrc2=size=%1:rate=%2"},
        {"testsrc2", "testsrc2=size=%1:rate=%2,hue=h=140:s=1.4"},
        {"testsrc2", "testsrc2=size=%1:rate=%2,crop=iw*0.6:ih*0.6:iw*0.1:ih*0.3,scale=%1"},
        {"testsrc2", "testsrc2=size=%1:rate=%2,trim=start_frame=400,setpts=PTS-STARTPTS"},
        {"bars", "smptebars=size=%1:rate=%2"},
        {"bars", "smptehdbars=size=%1:rate=%2", true},
        {"bars", "pal75bars=size=%1:rate=%2"},
        {"mandelbrot", "mandelbrot=size=%1:rate=%2", true},
        {"mandelbrot", "mandelbrot=size=%1:rate=%2,trim=start_frame=150,setpts=PTS-STARTPTS"},
        {"mandelbrot", "mandelbrot=size=%1:rate=%2,hue=h=90"},
        {"life", "life=size=%1:rate=%2:mold=10:ratio=0.3:random_seed=7:life_color=#ffcc00:death_color=#202080"},
        {"cellauto", "cellauto=size=%1:rate=%2:rule=110"},
        {"rgbtestsrc", "rgbtestsrc=size=%1:rate=%2", true},
        {"gradients", "gradients=size=%1:rate=%2:speed=0.02:seed=3", true},
        {"gradients", "gradients=size=%1:rate=%2:speed=0.02:seed=11", true},
        {"testsrc", "testsrc=size=%1:rate=%2"},
        {"yuvtestsrc", "yuvtestsrc=size=%1:rate=%2"},
        {"sierpinski", "sierpinski=size=%1:rate=%2", true},
        {"colorchart", "colorchart=rate=%2,scale=%1", true},
    };
}

} // namespace

std::optional<ShotVideo> makeShotVideo(const QString &path, const ShotVideoOptions &options)
{
    std::mt19937 random(options.seed);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const int width = options.size.width();
    const int height = options.size.height();
    const QString size = QStringLiteral("%1x%2").arg(width).arg(height);
    const QString rate = QStringLiteral("%1/%2").arg(options.rate).arg(options.rateDivisor);
    const double frameDuration = double(options.rateDivisor) / options.rate;
    const int framesPerSecond = int(std::round(1 / frameDuration));

    // Families in a random order, the shots of each family side by side, so that some
    // cuts join two pictures of one source.
    QList<QList<ShotSource>> families;
    for (const ShotSource &source : shotSources()) {
        if (families.isEmpty() || families.last().first().family != source.family)
            families.append(QList<ShotSource>{});
        families.last().append(source);
    }
    std::shuffle(families.begin(), families.end(), random);
    QList<ShotSource> order;
    while (order.size() < options.shots) {
        for (const QList<ShotSource> &family : std::as_const(families))
            order += family;
    }
    order.resize(options.shots);

    const int fadeFrames = framesPerSecond;
    // The fade joins two shots of different families, away from the ends.
    int fadeAfter = -1;
    for (int i = options.shots / 3; i + 2 < options.shots && fadeAfter < 0; ++i) {
        if (order[i].family != order[i + 1].family)
            fadeAfter = i;
    }

    ShotVideo video;
    video.frameDuration = frameDuration;
    QStringList chains;
    QStringList joined;
    int start = 0; // of the shot in the video, in frames
    int previousFrames = 0;
    int motionsLeft = 2;
    for (int shot = 0; shot < options.shots; ++shot) {
        const int frames = pick(framesPerSecond * 6 / 5, framesPerSecond * 13 / 5);
        const bool fadesIn = shot == fadeAfter + 1 && fadeAfter >= 0;
        const int previousStart = start;
        if (shot > 0)
            start += previousFrames - (fadesIn ? fadeFrames : 0);
        previousFrames = frames;
        QString chain = order[shot].chain.arg(size, rate);
        // Traps inside the shot, away from its ends and from the fade.
        const int trap = shot == fadeAfter || fadesIn ? -1 : pick(0, 4);
        if (trap == 0 && motionsLeft > 0 && order[shot].smooth) {
            // A fast pan across a picture three times as wide, or a fast zoom.
            if (--motionsLeft % 2 == 0)
                chain = order[shot].chain.arg(QStringLiteral("%1x%2").arg(width * 3).arg(height), rate)
                        + QStringLiteral(",crop=%1:%2:x='min(n*%3\\,%4)':y=0")
                              .arg(width).arg(height).arg(width * 4 / (framesPerSecond * 3)).arg(width * 2);
            else
                chain += QStringLiteral(",zoompan=z='1+0.04*on':x='iw/2-iw/zoom/2':y='ih/2-ih/zoom/2':d=1:s=%1:fps=%2")
                             .arg(size, rate);
            video.motions.append({start * frameDuration, (start + frames) * frameDuration});
        } else if (trap == 1 || trap == 2) {
            const int at = pick(8, frames - 10);
            const QString light = trap == 1 ? QStringLiteral("y=235:u=128:v=128")
                                            : QStringLiteral("y='min(val*1.6+60\\,255)'");
            chain += QStringLiteral(",lutyuv=%1:enable='between(n\\,%2\\,%3)'").arg(light).arg(at).arg(at + 1);
            video.flashes.append((start + at) * frameDuration);
        }
        chains << QStringLiteral("%1,format=yuv420p,setsar=1,trim=end_frame=%2,setpts=PTS-STARTPTS[s%3]")
                      .arg(chain).arg(frames).arg(shot);
        if (fadesIn) {
            // The fade starts where this shot starts in the video, counted in the shot before.
            chains << QStringLiteral("[s%1][s%2]xfade=transition=fade:duration=%3:offset=%4[fade]")
                          .arg(shot - 1).arg(shot).arg(fadeFrames * frameDuration, 0, 'f', 6)
                          .arg((start - previousStart) * frameDuration, 0, 'f', 6);
            joined.last() = QStringLiteral("[fade]");
            video.fadeMiddle = (start + fadeFrames / 2) * frameDuration;
        } else {
            joined << QStringLiteral("[s%1]").arg(shot);
            if (shot > 0)
                video.cuts.append(start * frameDuration);
        }
    }
    const QString graph = chains.join(u';') + u';' + joined.join(QString())
                          + QStringLiteral("concat=n=%1:v=1:a=0[out]").arg(joined.size());
    if (!runFfmpeg({QStringLiteral("-filter_complex"), graph, QStringLiteral("-map"), QStringLiteral("[out]"),
                    QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-preset"),
                    QStringLiteral("veryfast"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), path}))
        return std::nullopt;
    return video;
}

} // namespace TestMedia

namespace TestMedia {

double ShotScore::f1() const
{
    const int all = 2 * right + int(missed.size()) + int(wrong.size());
    return all == 0 ? 1 : 2.0 * right / all;
}

QString ShotScore::describe() const
{
    const auto times = [](const QList<double> &list) {
        QStringList texts;
        for (double time : list)
            texts << QString::number(time, 'f', 3);
        return texts.join(u' ');
    };
    return QStringLiteral("F1 %1, %2 right; missed: %3; wrong: %4; in flashes or motion: %5")
        .arg(f1(), 0, 'f', 3).arg(right).arg(times(missed), times(wrong), times(inTraps));
}

ShotScore scoreShots(const ShotVideo &video, const QList<double> &found)
{
    const double frame = video.frameDuration;
    ShotScore score;
    QList<double> unmatched = video.cuts;
    for (double time : found) {
        const auto match = std::find_if(unmatched.begin(), unmatched.end(),
                                        [&](double cut) { return std::abs(cut - time) <= frame * 1.01; });
        if (match != unmatched.end()) {
            unmatched.erase(match);
            ++score.right;
            continue;
        }
        if (video.fadeMiddle >= 0 && std::abs(time - video.fadeMiddle) <= frame * 2.01)
            continue;
        score.wrong.append(time);
        const bool inFlash = std::any_of(video.flashes.cbegin(), video.flashes.cend(), [&](double flash) {
            return time > flash - frame * 1.5 && time < flash + frame * 3.5;
        });
        const bool inMotion = std::any_of(video.motions.cbegin(), video.motions.cend(), [&](const auto &span) {
            return time > span.first + frame * 0.5 && time < span.second - frame * 0.5;
        });
        if (inFlash || inMotion)
            score.inTraps.append(time);
    }
    score.missed = unmatched;
    return score;
}

} // namespace TestMedia

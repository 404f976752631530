#include "TestMedia.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <random>
#include <vector>

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

bool joinFilms(const QStringList &pieces, const QString &path)
{
    QFile list(path + QStringLiteral(".txt"));
    if (!list.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    for (const QString &piece : pieces)
        list.write("file '" + QFile::encodeName(piece) + "'\n");
    list.close();
    return runFfmpeg({QStringLiteral("-f"), QStringLiteral("concat"), QStringLiteral("-safe"), QStringLiteral("0"),
                      QStringLiteral("-i"), list.fileName(), QStringLiteral("-c"), QStringLiteral("copy"), path});
}

bool makeVideo(const QString &path, const VideoOptions &options)
{
    const QString seconds = QString::number(options.seconds);
    const QString audio = options.audioSource.isEmpty()
                              ? QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(seconds)
                              : options.audioSource;
    const QString size = QStringLiteral("%1x%2").arg(options.size.width()).arg(options.size.height());
    QString pictures = QStringLiteral("testsrc=size=%1:rate=25:duration=%2").arg(size, seconds);
    if (options.plainLastFrames > 0) {
        const double plain = options.plainLastFrames / 25.0;
        pictures = QStringLiteral("testsrc=size=%1:rate=25:duration=%2[a];color=c=red:size=%1:rate=25:duration=%3[b];"
                                  "[a][b]concat=n=2:v=1:a=0[out0]")
                       .arg(size).arg(options.seconds - plain).arg(plain);
    }
    QStringList args{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), pictures};
    QStringList maps{QStringLiteral("-map"), QStringLiteral("0:v")};
    const QStringList sources = QStringList{audio} + options.moreAudioSources;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        if (!QFile::exists(sources[i]))
            args << QStringLiteral("-f") << QStringLiteral("lavfi");
        args << QStringLiteral("-i") << sources[i];
        maps << QStringLiteral("-map") << QStringLiteral("%1:a").arg(i + 1);
        const QString stream = QStringLiteral("-metadata:s:a:%1").arg(i);
        if (!options.audioLanguages.value(i).isEmpty())
            maps << stream << QStringLiteral("language=") + options.audioLanguages[i];
        if (!options.audioTitles.value(i).isEmpty())
            maps << stream << QStringLiteral("title=") + options.audioTitles[i];
    }
    return runFfmpeg(args + maps
                     + QStringList{QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-pix_fmt"),
                                   QStringLiteral("yuv420p"), QStringLiteral("-c:a"), QStringLiteral("aac"),
                                   // No noise substitution: its random noise differs between two readings.
                                   QStringLiteral("-aac_pns"), QStringLiteral("0"), path});
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

namespace TestMedia {

namespace {

// Plain sentences without commas, so that no pause inside one is as long as a gap between two.
const char *const Sentences[] = {
    "The quick brown fox jumps over the lazy dog",
    "We should leave before the rain starts",
    "Nobody told me the train would be this late",
    "She found the old letters in a box under the stairs",
    "Turn left at the bakery and keep going until the bridge",
    "I never thought we would see him again",
    "The meeting has been moved to Thursday morning",
    "Can you hear the music from the house next door",
    "My brother works at the hospital on weekends",
    "They painted the kitchen a bright shade of yellow",
    "Please put the books back where you found them",
    "It was the coldest winter anyone could remember",
    "Where did you put the keys to the car",
    "The children were playing in the garden all afternoon",
    "He opened the window and looked down at the street",
    "I think we are going to need a bigger boat",
    "Every morning she walks the dog along the river",
    "The last bus leaves at half past eleven",
    "Why would anyone want to live so far from the city",
    "Let me know when you are ready to go",
    "The soup is too hot to eat right now",
    "Our neighbours are moving to another country next month",
    "Wait here while I get the tickets",
    "That is the strangest thing I have ever heard",
};

const char *const Voices[] = {"en-us", "en-gb", "en-gb-x-rp", "en-gb-scotland", "en-029", "en-us+f3",
                              "en-gb+f4", "en-us+m3", "en-gb+f2", "en-us+m7"};

constexpr double SpeechDecibels = -20; // RMS of the speech while it sounds, dBFS

double gainOf(double decibels)
{
    return std::pow(10.0, decibels / 20);
}

// Mono float samples of a file at `rate`, converted by ffmpeg.
std::optional<std::vector<float>> readSamples(const QString &path, int rate)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-nostdin", "-v", "error", "-i", path, "-ac", "1", "-ar",
                                            QString::number(rate), "-f", "f32le", "-"});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0) {
        qWarning("ffmpeg failed: %s", ffmpeg.readAllStandardError().constData());
        return std::nullopt;
    }
    const QByteArray bytes = ffmpeg.readAllStandardOutput();
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
    return samples;
}

struct Utterance
{
    std::vector<float> samples;
    qsizetype first = 0; // audible samples [first, last]
    qsizetype last = 0;
};

std::optional<Utterance> speak(const QString &folder, const QString &sentence, const QString &voice, int speed,
                               int rate)
{
    const QString wav = folder + QStringLiteral("/sentence.wav");
    QProcess espeak;
    espeak.start(QStringLiteral("espeak-ng"), {"-w", wav, "-v", voice, "-s", QString::number(speed), sentence});
    if (!espeak.waitForFinished(60000) || espeak.exitCode() != 0) {
        qWarning("espeak-ng failed: %s", espeak.readAllStandardError().constData());
        return std::nullopt;
    }
    auto samples = readSamples(wav, rate);
    if (!samples || samples->empty())
        return std::nullopt;
    Utterance utterance{std::move(*samples)};
    const std::vector<float> &s = utterance.samples;
    float peak = 0;
    for (float x : s)
        peak = std::max(peak, std::abs(x));
    const auto audible = [&](float x) { return std::abs(x) > peak / 50; };
    utterance.first = std::find_if(s.begin(), s.end(), audible) - s.begin();
    utterance.last = s.rend() - std::find_if(s.rbegin(), s.rend(), audible) - 1;
    double energy = 0;
    for (qsizetype i = utterance.first; i <= utterance.last; ++i)
        energy += double(s[i]) * s[i];
    const double rms = std::sqrt(energy / double(utterance.last - utterance.first + 1));
    for (float &x : utterance.samples)
        x = float(x / rms);
    return utterance;
}

// A pop song's worth of chords, bass, a melody with vibrato, kick drum and hi-hat: tones
// that are harmonic like voiced speech, with a beat, which is what a voice detector most
// easily takes for speech.
std::vector<float> music(std::mt19937 &random, qsizetype count, int rate)
{
    std::vector<float> out(count, 0.0f);
    const auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    const auto semitone = [](double base, int steps) { return base * std::pow(2.0, steps / 12.0); };
    const double beat = 60.0 / uniform(90, 132);
    const double key = uniform(196, 294);
    const int progression[4][3] = {{0, 4, 7}, {7, 11, 14}, {9, 12, 16}, {5, 9, 12}};
    const int scale[] = {0, 2, 4, 7, 9, 12, 14, 16};
    const auto addTone = [&](double start, double length, double frequency, double amplitude, int harmonics,
                             double decay, double vibrato) {
        const qsizetype from = qsizetype(start * rate);
        const qsizetype to = std::min(count, qsizetype((start + length) * rate));
        double phase = 0;
        for (qsizetype i = std::max<qsizetype>(from, 0); i < to; ++i) {
            const double t = double(i - from) / rate;
            const double f = frequency * (1 + vibrato * std::sin(2 * M_PI * 5.5 * t));
            phase += 2 * M_PI * f / rate;
            const double envelope = std::min(1.0, t / 0.01) * std::exp(-decay * t) * std::min(1.0, (length - t) / 0.02);
            double value = 0;
            for (int h = 1; h <= harmonics; ++h)
                value += std::sin(h * phase) / h;
            out[i] += float(amplitude * envelope * value);
        }
    };
    std::normal_distribution<float> noise;
    const double seconds = double(count) / rate;
    for (int b = 0; b * beat < seconds; ++b) {
        const double at = b * beat;
        const int *chord = progression[(b / 4) % 4];
        if (b % 4 == 0) {
            for (int n = 0; n < 3; ++n)
                addTone(at, 4 * beat, semitone(key, chord[n]), 0.25, 4, 0.4, 0);
        }
        addTone(at, beat * 0.9, semitone(key / 4, chord[0]), 0.5, 3, 2, 0);
        for (int half = 0; half < 2; ++half) {
            if (uniform(0, 1) < 0.75)
                addTone(at + half * beat / 2, beat / 2 * (uniform(0, 1) < 0.3 ? 2 : 1),
                        semitone(key * 2, scale[int(uniform(0, 8))]), 0.35, 3, 1, 0.01);
            // Hi-hat: a short burst of noise.
            const qsizetype from = qsizetype((at + half * beat / 2) * rate);
            for (qsizetype i = from; i < std::min(count, from + rate / 20); ++i)
                out[i] += 0.08f * float(std::exp(-60.0 * double(i - from) / rate)) * noise(random);
        }
        if (b % 2 == 0) {
            // Kick: a falling low tone.
            const qsizetype from = qsizetype(at * rate);
            double phase = 0;
            for (qsizetype i = from; i < std::min(count, from + rate / 5); ++i) {
                const double t = double(i - from) / rate;
                phase += 2 * M_PI * (50 + 70 * std::exp(-30 * t)) / rate;
                out[i] += float(0.8 * std::exp(-15 * t) * std::sin(phase));
            }
        }
    }
    return out;
}

std::vector<float> background(SpeechBackground kind, std::mt19937 &random, qsizetype count, int rate)
{
    std::vector<float> out(count, 0.0f);
    std::normal_distribution<float> noise;
    switch (kind) {
    case SpeechBackground::Silence:
        return out;
    case SpeechBackground::WhiteNoise:
        for (float &x : out)
            x = noise(random);
        break;
    case SpeechBackground::PinkNoise: {
        // Paul Kellet's filter: within 0.05 dB of -3 dB per octave over the audible range.
        double b[7] = {};
        for (float &x : out) {
            const double white = noise(random);
            b[0] = 0.99886 * b[0] + white * 0.0555179;
            b[1] = 0.99332 * b[1] + white * 0.0750759;
            b[2] = 0.96900 * b[2] + white * 0.1538520;
            b[3] = 0.86650 * b[3] + white * 0.3104856;
            b[4] = 0.55000 * b[4] + white * 0.5329522;
            b[5] = -0.7616 * b[5] - white * 0.0168980;
            x = float(b[0] + b[1] + b[2] + b[3] + b[4] + b[5] + b[6] + white * 0.5362);
            b[6] = white * 0.115926;
        }
        break;
    }
    case SpeechBackground::Music:
        out = music(random, count, rate);
        break;
    }
    double energy = 0;
    for (float x : out)
        energy += double(x) * x;
    const double rms = std::sqrt(energy / double(std::max<qsizetype>(count, 1)));
    if (rms > 0) {
        for (float &x : out)
            x = float(x / rms);
    }
    return out;
}

} // namespace

std::optional<SpeechClip> makeSpeechClip(const QString &path, const SpeechClipOptions &options)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        return std::nullopt;
    std::mt19937 random(options.seed);
    const auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    const int rate = options.sampleRate;

    struct Placed
    {
        Utterance utterance;
        qsizetype offset; // of the utterance's first sample in the clip
    };
    std::vector<Placed> placed;
    std::vector<SpeechStretch> truth;
    std::vector<int> order(std::size(Sentences));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    double at = uniform(0.5, 1.5);
    for (int i = 0; i < options.sentences; ++i) {
        const QString voice = QString::fromLatin1(Voices[int(uniform(0, std::size(Voices)))]);
        const int speed = int(uniform(135, 185));
        auto utterance = speak(folder.path(), QString::fromLatin1(Sentences[order[i % order.size()]]), voice, speed, rate);
        if (!utterance)
            return std::nullopt;
        const double gain = gainOf(SpeechDecibels + uniform(-3, 3));
        for (float &x : utterance->samples)
            x = float(x * gain);
        const qsizetype offset = qsizetype(std::round(at * rate)) - utterance->first;
        truth.push_back({double(offset + utterance->first) / rate, double(offset + utterance->last + 1) / rate});
        at = truth.back().end + uniform(0.6, 2.0);
        placed.push_back({std::move(*utterance), offset});
    }
    const double seconds = std::max(options.seconds, truth.empty() ? 1.0 : truth.back().end + uniform(0.5, 1.0));
    const qsizetype count = qsizetype(std::ceil(seconds * rate));

    std::vector<float> mix = background(options.background, random, count, rate);
    const float backgroundGain = float(gainOf(SpeechDecibels - options.snr));
    for (float &x : mix)
        x *= backgroundGain;
    for (const Placed &sentence : placed) {
        const std::vector<float> &s = sentence.utterance.samples;
        for (qsizetype i = 0; i < qsizetype(s.size()); ++i) {
            if (const qsizetype j = sentence.offset + i; j >= 0 && j < count)
                mix[j] += s[i];
        }
    }
    for (float &x : mix)
        x = std::clamp(x, -1.0f, 1.0f);

    const QString raw = folder.filePath(QStringLiteral("mix.f32"));
    QFile rawFile(raw);
    if (!rawFile.open(QIODevice::WriteOnly)
        || rawFile.write(reinterpret_cast<const char *>(mix.data()), qint64(mix.size() * sizeof(float)))
               != qint64(mix.size() * sizeof(float)))
        return std::nullopt;
    rawFile.close();

    QStringList args{"-f", "f32le", "-ar", QString::number(rate), "-ac", "1", "-i", raw};
    if (options.video)
        args << QStringList{"-f", "lavfi", "-i", QStringLiteral("testsrc=size=160x120:rate=25:duration=%1").arg(seconds),
                            "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac",
                            "-b:a", "128k"};
    args << QStringList{"-ac", QString::number(options.channels), "-t", QString::number(seconds), path};
    if (!runFfmpeg(args))
        return std::nullopt;
    return SpeechClip{SpeechStretches(std::move(truth)), seconds};
}

double SpeechScore::quantile(QList<double> errors, double share)
{
    if (errors.isEmpty())
        return 0;
    for (double &error : errors)
        error = std::abs(error);
    std::sort(errors.begin(), errors.end());
    return errors[std::min(errors.size() - 1, qsizetype(std::ceil(share * double(errors.size())) - 1))];
}

QString SpeechScore::describe() const
{
    const auto ms = [](double seconds) { return QString::number(seconds * 1000, 'f', 0); };
    return QStringLiteral("%1 sentences, %2 missed; onsets |error| median %3 ms, 90% %4 ms, %5 unmatched; "
                          "offsets median %6 ms, 90% %7 ms, %8 unmatched; %9 false stretches (%10 s)")
        .arg(sentences).arg(missed)
        .arg(ms(quantile(onsetErrors, 0.5)), ms(quantile(onsetErrors, 0.9))).arg(onsetsMissed)
        .arg(ms(quantile(offsetErrors, 0.5)), ms(quantile(offsetErrors, 0.9))).arg(offsetsMissed)
        .arg(falseStretches).arg(falseSeconds, 0, 'f', 2);
}

SpeechScore scoreSpeech(const SpeechStretches &truth, const SpeechStretches &found, double reach)
{
    SpeechScore score;
    for (const SpeechStretch &sentence : truth.stretches()) {
        ++score.sentences;
        if (found.overlapping(sentence.start, sentence.end).empty())
            ++score.missed;
        if (const auto onset = found.nearestOnset(sentence.start, reach))
            score.onsetErrors.append(*onset - sentence.start);
        else
            ++score.onsetsMissed;
        if (const auto offset = found.nearestOffset(sentence.end, reach))
            score.offsetErrors.append(*offset - sentence.end);
        else
            ++score.offsetsMissed;
    }
    for (const SpeechStretch &stretch : found.stretches()) {
        if (truth.overlapping(stretch.start, stretch.end).empty())
            ++score.falseStretches;
        score.falseSeconds += stretch.length() - truth.speechWithin(stretch.start, stretch.end);
    }
    return score;
}

} // namespace TestMedia

// Speech detection measured on generated clips (seeds the tests do not use) and timed on a
// two-hour film.
//   cuewright-measure-speech make PATH [SEED] [silence|white|pink|music] [SNR] [SENTENCES]
#include "TestMedia.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

TestMedia::SpeechBackground backgroundNamed(const QString &name)
{
    if (name == QStringLiteral("white"))
        return TestMedia::SpeechBackground::WhiteNoise;
    if (name == QStringLiteral("pink"))
        return TestMedia::SpeechBackground::PinkNoise;
    if (name == QStringLiteral("music"))
        return TestMedia::SpeechBackground::Music;
    return TestMedia::SpeechBackground::Silence;
}

int makeClip(const QStringList &arguments)
{
    TestMedia::SpeechClipOptions options;
    options.seed = arguments.size() > 3 ? arguments[3].toUInt() : 1;
    options.background = backgroundNamed(arguments.value(4));
    options.snr = arguments.size() > 5 ? arguments[5].toDouble() : 20;
    options.sentences = arguments.size() > 6 ? arguments[6].toInt() : 4;
    options.video = arguments[2].endsWith(QStringLiteral(".mp4"));
    const auto clip = TestMedia::makeSpeechClip(arguments[2], options);
    if (!clip)
        return 1;
    for (const SpeechStretch &s : clip->truth.stretches())
        std::printf("%.3f %.3f\n", s.start, s.end);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() >= 3 && arguments[1] == QStringLiteral("make"))
        return makeClip(arguments);
    std::fprintf(stderr, "usage: cuewright-measure-speech make PATH [SEED] [BACKGROUND] [SNR] [SENTENCES]\n");
    return 2;
}

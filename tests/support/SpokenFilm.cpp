#include "SpokenFilm.h"

#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace SpokenFilm {

namespace {

constexpr int rate = 16000;
const QString folder = QStringLiteral("/usr/share/pocketsphinx/test/data/librivox/");
// Function statics: the tests read them while their own statics are made.
const QStringList &names()
{
    static const QStringList list{QStringLiteral("sense_and_sensibility_01_austen_64kb-0870.wav"),
                        QStringLiteral("sense_and_sensibility_01_austen_64kb-0880.wav"),
                        QStringLiteral("sense_and_sensibility_01_austen_64kb-0890.wav"),
                        QStringLiteral("sense_and_sensibility_01_austen_64kb-0920.wav"),
                        QStringLiteral("sense_and_sensibility_01_austen_64kb-0930.wav")};
    return list;
}
const QStringList &texts()
{
    static const QStringList list{
    QStringLiteral("And Mr. John Dashwood had then leisure to consider how much there might be prudently in his power to do for them."),
    QStringLiteral("He was not an ill-disposed young man,"),
    QStringLiteral("unless to be rather cold-hearted, and rather selfish, is to be ill-disposed:"),
    QStringLiteral("Had he married a more amiable woman, he might have been made still more respectable than he was;"),
    QStringLiteral("he might even have been made amiable himself.")};
    return list;
}

QByteArray wavHeader(qsizetype samples)
{
    QByteArray header(44, '\0');
    char *h = header.data();
    const auto put32 = [h](int at, quint32 value) { qToLittleEndian(value, h + at); };
    const auto put16 = [h](int at, quint16 value) { qToLittleEndian(value, h + at); };
    memcpy(h, "RIFF", 4);
    put32(4, quint32(36 + samples * 2));
    memcpy(h + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, 1);
    put32(24, rate);
    put32(28, rate * 2);
    put16(32, 2);
    put16(34, 16);
    memcpy(h + 36, "data", 4);
    put32(40, quint32(samples * 2));
    return header;
}

} // namespace

int recordingCount()
{
    return int(names().size());
}

QString recordingText(int recording)
{
    return texts().value(recording);
}

std::vector<qint16> recording(int recording)
{
    QFile file(folder + names().value(recording));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        if (bytes.mid(at, 4) == "data") {
            const qsizetype count = std::min<qsizetype>(size, bytes.size() - at - 8) / 2;
            std::vector<qint16> samples(static_cast<size_t>(count));
            memcpy(samples.data(), bytes.constData() + at + 8, size_t(count) * 2);
            return samples;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

std::pair<double, double> audibleSpan(const std::vector<qint16> &samples)
{
    constexpr size_t frame = 160;
    std::vector<double> levels;
    for (size_t at = 0; at + frame <= samples.size(); at += frame) {
        double sum = 0;
        for (size_t k = at; k < at + frame; ++k)
            sum += double(samples[k]) * samples[k];
        levels.push_back(std::sqrt(sum / frame));
    }
    if (levels.empty())
        return {0, 0};
    std::vector<double> sorted = levels;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 10, sorted.end());
    const double floor = sorted[sorted.size() / 10];
    const auto loud = [floor](double level) { return level > 3 * floor; };
    const auto from = std::find_if(levels.begin(), levels.end(), loud) - levels.begin();
    const auto to = levels.rend() - std::find_if(levels.rbegin(), levels.rend(), loud);
    return {from * 0.01, to * 0.01};
}

std::vector<qint16> nearSilence(double seconds)
{
    std::vector<qint16> samples(size_t(seconds * rate));
    quint32 state = 1;
    for (qint16 &sample : samples) {
        state = state * 1664525u + 1013904223u;
        sample = qint16((int(state >> 24) - 128) / 4);
    }
    return samples;
}

Spoken join(const QList<Piece> &pieces)
{
    Spoken spoken;
    for (const Piece &piece : pieces) {
        const std::vector<qint16> samples = piece.recording < 0 ? nearSilence(piece.seconds) : recording(piece.recording);
        if (piece.recording >= 0) {
            const auto [from, to] = audibleSpan(samples);
            const double offset = double(spoken.sound.size()) / rate;
            spoken.lines.append({offset + from, offset + to});
        }
        spoken.sound.insert(spoken.sound.end(), samples.begin(), samples.end());
    }
    return spoken;
}

QList<std::pair<double, double>> makeFilm(const QString &path, const QList<Piece> &pieces)
{
    const Spoken spoken = join(pieces);
    const QString wav = path + QStringLiteral(".wav");
    QFile file(wav);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(wavHeader(qsizetype(spoken.sound.size())));
    file.write(reinterpret_cast<const char *>(spoken.sound.data()), qint64(spoken.sound.size() * 2));
    file.close();
    TestMedia::VideoOptions options;
    options.seconds = double(spoken.sound.size()) / rate;
    options.size = QSize(160, 120);
    options.audioSource = wav;
    const bool made = TestMedia::makeVideo(path, options);
    QFile::remove(wav);
    return made ? spoken.lines : QList<std::pair<double, double>>();
}

} // namespace SpokenFilm

// The recogniser on its own recordings (real voices, from Debian's pocketsphinx-testdata):
// a line found among other speech, after a long near-silence, and with a word its
// dictionary lacks (read from its letters); and the text turned into the words a speaker says.
#include "speech/PocketsphinxAligner.h"
#include "model/text/SpokenWords.h"

#include <QFile>
#include <QtTest>

#include <cmath>
#include <vector>

namespace {

const QString recordings = QStringLiteral("/usr/share/pocketsphinx/test/data/librivox/");
const QString first = QStringLiteral("sense_and_sensibility_01_austen_64kb-0870.wav");
const QString second = QStringLiteral("sense_and_sensibility_01_austen_64kb-0880.wav");
const QString firstWords = QStringLiteral(
    "And Mister John Dashwood had then leisure to consider how much there might be prudently in his power to do for them");
const QString secondWords = QStringLiteral("He was not an ill-disposed young man.");

// The samples of a 16 kHz mono 16-bit WAV file: the data chunk, wherever it lies.
std::vector<qint16> readWav(const QString &name)
{
    QFile file(recordings + name);
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

// The first and last audible 10 ms of a recording: three times as loud as its quietest
// tenth, the noise it was recorded in.
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
    std::vector<double> sorted = levels;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 10, sorted.end());
    const double floor = sorted[sorted.size() / 10];
    const auto loud = [floor](double level) { return level > 3 * floor; };
    const auto from = std::find_if(levels.begin(), levels.end(), loud) - levels.begin();
    const auto to = levels.rend() - std::find_if(levels.rbegin(), levels.rend(), loud);
    return {from * 0.01, to * 0.01};
}

// Quiet noise, as a room's, that the line's words must not be pulled into.
std::vector<qint16> nearSilence(double seconds)
{
    std::vector<qint16> samples(size_t(seconds * WordAligner::sampleRate));
    quint32 state = 1;
    for (qint16 &sample : samples) {
        state = state * 1664525u + 1013904223u;
        sample = qint16(int(state >> 24) - 128) / 4;
    }
    return samples;
}

struct Piece
{
    QString recording; // empty: near-silence
    double seconds = 0;
};

} // namespace

Q_DECLARE_METATYPE(QList<Piece>)

class tst_WordAligner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        auto created = PocketsphinxAligner::create();
        QVERIFY2(created, qPrintable(created ? QString() : created.error()));
        m_aligner = std::move(created).value();
    }

    void placesALineWhereItIsSpoken_data()
    {
        QTest::addColumn<QList<Piece>>("sound");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("spoken"); // which piece says the line
        QTest::newRow("alone") << QList<Piece>{{second}} << secondWords << 0;
        QTest::newRow("after another sentence") << QList<Piece>{{first}, {second}} << secondWords << 1;
        QTest::newRow("before another sentence") << QList<Piece>{{second}, {first}} << secondWords << 0;
        QTest::newRow("between two others") << QList<Piece>{{second}, {first}, {second}} << firstWords << 1;
        QTest::newRow("after four seconds of near-silence") << QList<Piece>{{{}, 4}, {second}} << secondWords << 1;
        QTest::newRow("with a name the dictionary lacks")
            << QList<Piece>{{first}, {second}} << QString(firstWords).replace(QStringLiteral("Dashwood"), QStringLiteral("Dashwoode"))
            << 0;
    }

    // The line's first word starts where its sound starts, its last ends where it ends: a
    // fading last word (the "n" of "man" in a recording's own hiss) within 0.15 s.
    void placesALineWhereItIsSpoken()
    {
        QFETCH(QList<Piece>, sound);
        QFETCH(QString, line);
        QFETCH(int, spoken);
        std::vector<qint16> samples;
        std::pair<double, double> truth;
        for (int k = 0; k < sound.size(); ++k) {
            const std::vector<qint16> piece = sound[k].recording.isEmpty() ? nearSilence(sound[k].seconds)
                                                                           : readWav(sound[k].recording);
            QVERIFY(!piece.empty());
            if (k == spoken) {
                const auto [from, to] = audibleSpan(piece);
                const double offset = double(samples.size()) / WordAligner::sampleRate;
                truth = {offset + from, offset + to};
            }
            samples.insert(samples.end(), piece.begin(), piece.end());
        }
        const auto aligned = m_aligner->align(SpokenWords::of(line), samples, 100);
        QVERIFY2(aligned, qPrintable(aligned ? QString() : aligned.error()));
        const QList<SpokenWord> &words = aligned.value();
        QCOMPARE(words.size(), SpokenWords::of(line).size());
        const double startError = words.first().start - 100 - truth.first;
        const double endError = words.last().end - 100 - truth.second;
        QVERIFY2(std::abs(startError) <= 0.08 && std::abs(endError) <= 0.15,
                 qPrintable(QStringLiteral("start %1 s, end %2 s off").arg(startError).arg(endError)));
        for (qsizetype k = 1; k < words.size(); ++k)
            QVERIFY(words[k].start >= words[k - 1].end);
    }

    void spokenWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("said");
        QTest::newRow("tags, a speaker's dash and punctuation") << "{\\an8}<i>- Don't go!</i>" << "don't go";
        QTest::newRow("a curly apostrophe") << "It’s late." << "it's late";
        QTest::newRow("a number") << "12 angry men" << "twelve angry men";
        QTest::newRow("a year") << "In 1990, and 1905" << "in nineteen ninety and nineteen oh five";
        QTest::newRow("a year of the 2000s") << "2005" << "two thousand and five";
        QTest::newRow("a large number") << "1,250,000" << "one million two hundred and fifty thousand";
        QTest::newRow("money and percent") << "£5 or $1, 20%" << "five pounds or one dollar twenty percent";
        QTest::newRow("abbreviations before a full stop") << "Dr. Smith and Mrs. Jones, st" << "doctor smith and missus jones st";
        QTest::newRow("a hyphenated word") << "ill-disposed" << "ill disposed";
        QTest::newRow("accented letters") << "Café Zoë" << "café zoë";
        QTest::newRow("nothing to say") << "<i>...</i>" << "";
    }

    void spokenWords()
    {
        QFETCH(QString, text);
        QFETCH(QString, said);
        QCOMPARE(SpokenWords::of(text).join(u' '), said);
    }

private:
    std::unique_ptr<PocketsphinxAligner> m_aligner;
};

QTEST_GUILESS_MAIN(tst_WordAligner)
#include "tst_wordaligner.moc"

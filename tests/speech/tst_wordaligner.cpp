// The recogniser on its own recordings (real voices, from Debian's pocketsphinx-testdata):
// a line found among other speech, after a long near-silence, and with a word its
// dictionary lacks (read from its letters); and the text turned into the words a speaker says.
#include "speech/PocketsphinxAligner.h"
#include "speech/ScriptAligner.h"
#include "speech/ScriptAlignmentFromBothEnds.h"
#include "model/text/SpokenWords.h"

#include "SpokenFilm.h"

#include <QFile>
#include <QtTest>

#include <cmath>
#include <vector>

namespace {

using SpokenFilm::Piece;
const QString firstWords = SpokenFilm::recordingText(0);
const QString secondWords = SpokenFilm::recordingText(1);
const Piece first{0};
const Piece second{1};

struct ScriptLine
{
    QString text;
    int spokenAs = -1;      // which of the sound's recordings, in order, says it; -1: none
    double hintShift = 0;   // its times are the truth moved by this much
    bool hinted = false;
};

} // namespace

Q_DECLARE_METATYPE(QList<Piece>)
Q_DECLARE_METATYPE(QList<ScriptLine>)

class tst_WordAligner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        auto created = PocketsphinxAligner::create();
        QVERIFY2(created, qPrintable(created ? QString() : created.error()));
        m_aligner = std::move(created).value();
        auto second = PocketsphinxAligner::create();
        QVERIFY(second);
        m_fromEnd = std::move(second).value();
    }

    void placesALineWhereItIsSpoken_data()
    {
        QTest::addColumn<QList<Piece>>("sound");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("spoken"); // which of the recordings in the sound says the line
        QTest::newRow("alone") << QList<Piece>{{second}} << secondWords << 0;
        QTest::newRow("between two others") << QList<Piece>{{second}, {first}, {second}} << firstWords << 1;
        QTest::newRow("after four seconds of near-silence") << QList<Piece>{{-1, 4}, {second}} << secondWords << 0;
    }

    // The line's first word starts where its sound starts, its last ends where it ends: a
    // fading last word (the "n" of "man" in a recording's own hiss) within 0.15 s.
    void placesALineWhereItIsSpoken()
    {
        QFETCH(QList<Piece>, sound);
        QFETCH(QString, line);
        QFETCH(int, spoken);
        const SpokenFilm::Spoken joined = SpokenFilm::join(sound);
        QVERIFY(spoken < joined.lines.size());
        const std::vector<qint16> &samples = joined.sound;
        const std::pair<double, double> truth = joined.lines[spoken];
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

    void placesAScriptsLines_data()
    {
        QTest::addColumn<QList<Piece>>("sound");
        QTest::addColumn<QList<ScriptLine>>("script");
        const QList<Piece> three{{-1, 1}, {0}, {-1, 0.6}, {1}, {-1, 2.5}, {2}, {-1, 1}};
        QTest::newRow("from the script alone")
            << three << QList<ScriptLine>{{firstWords, 0}, {secondWords, 1}, {SpokenFilm::recordingText(2), 2}};
        QTest::newRow("a line missing from the film")
            << three
            << QList<ScriptLine>{{firstWords, 0}, {QStringLiteral("Good morning, Dr. Smith. Is the car ready?")},
                                 {secondWords, 1}, {SpokenFilm::recordingText(2), 2}};
        QTest::newRow("speech the script lacks")
            << QList<Piece>{{-1, 1}, {0}, {-1, 0.5}, {3}, {-1, 0.8}, {1}, {-1, 1}}
            << QList<ScriptLine>{{firstWords, 0}, {secondWords, 2}};
        QTest::newRow("a name the dictionary lacks, and numbers")
            << QList<Piece>{{-1, 1}, {0}, {-1, 1}}
            << QList<ScriptLine>{{QString(firstWords).replace(QStringLiteral("Dashwood"), QStringLiteral("Dashwoode")), 0}};
        QTest::newRow("a line in a script the model has no sounds for")
            << three
            << QList<ScriptLine>{{firstWords, 0}, {QStringLiteral("Он не был злым человеком.")}, {secondWords, 1},
                                 {SpokenFilm::recordingText(2), 2}};
        QTest::newRow("times a third of a second off")
            << three
            << QList<ScriptLine>{{firstWords, 0, 0.35, true}, {secondWords, 1, -0.35, true},
                                 {SpokenFilm::recordingText(2), 2, 0.3, true}};
        QTest::newRow("the same line three times")
            << QList<Piece>{{-1, 1}, {1}, {-1, 0.8}, {1}, {-1, 0.8}, {1}, {-1, 1}}
            << QList<ScriptLine>{{secondWords, 0}, {secondWords, 1}, {secondWords, 2}};
        QTest::newRow("times seconds off")
            << three
            << QList<ScriptLine>{{firstWords, 0, 3, true}, {secondWords, 1, -2.5, true},
                                 {SpokenFilm::recordingText(2), 2, 4, true}};
    }

    // Each line spoken is placed where it is (start within 80 ms, end within 150 ms), in
    // order; a line not spoken, or with nothing to say, is left and does not lose the thread.
    void placesAScriptsLines()
    {
        QFETCH(QList<Piece>, sound);
        QFETCH(QList<ScriptLine>, script);
        const SpokenFilm::Spoken joined = SpokenFilm::join(sound);
        std::vector<SpeechStretch> stretches;
        for (const auto &[from, to] : joined.lines)
            stretches.push_back({from, to});
        const SpeechStretches speech(stretches);
        QList<ScriptAligner::Line> lines;
        for (const ScriptLine &line : script) {
            ScriptAligner::Line asked{line.text, {}, {}};
            if (line.hinted && line.spokenAs >= 0) {
                asked.start = joined.lines[line.spokenAs].first + line.hintShift;
                asked.end = joined.lines[line.spokenAs].second + line.hintShift;
            }
            lines.append(asked);
        }
        const auto reader = [&](double from, double to) {
            const auto first = size_t(std::clamp(from, 0.0, double(joined.sound.size()) / WordAligner::sampleRate) * WordAligner::sampleRate);
            const auto last = size_t(std::clamp(to, 0.0, double(joined.sound.size()) / WordAligner::sampleRate) * WordAligner::sampleRate);
            return std::vector<qint16>(joined.sound.begin() + first, joined.sound.begin() + std::max(first, last));
        };
        ScriptAligner fromStart(*m_aligner, reader, speech);
        ScriptAligner fromEnd(*m_fromEnd, reader, speech);
        const auto outcomes = ScriptAlignmentFromBothEnds::align(fromStart, fromEnd, lines, {}, {});
        QVERIFY(outcomes);
        QCOMPARE(outcomes->size(), script.size());
        for (qsizetype k = 0; k < script.size(); ++k) {
            const ScriptAligner::Outcome &outcome = outcomes->at(k);
            if (script[k].spokenAs < 0) {
                QVERIFY2(outcome.words.isEmpty() && outcome.left, qPrintable(script[k].text));
                continue;
            }
            QVERIFY2(!outcome.words.isEmpty(), qPrintable(script[k].text));
            const auto [start, end] = joined.lines[script[k].spokenAs];
            const double startError = outcome.words.constFirst().start - start;
            const double endError = outcome.words.constLast().end - end;
            QVERIFY2(std::abs(startError) <= 0.08 && std::abs(endError) <= 0.15,
                     qPrintable(QStringLiteral("line %1: start %2 s, end %3 s off").arg(k + 1).arg(startError).arg(endError)));
        }
    }

    void spokenWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("said");
        QTest::newRow("tags, a speaker's dash and punctuation") << "{\\an8}<i>- Don't go!</i>" << "don't go";
        QTest::newRow("a curly apostrophe") << "It’s late." << "it's late";
        QTest::newRow("numbers") << "12 angry men, 100 days" << "twelve angry men one hundred days";
        QTest::newRow("years") << "In 1990, 1905 and 1910" << "in nineteen ninety nineteen oh five and nineteen ten";
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
    std::unique_ptr<PocketsphinxAligner> m_fromEnd; // the script's other end, on a thread of its own
};

QTEST_GUILESS_MAIN(tst_WordAligner)
#include "tst_wordaligner.moc"

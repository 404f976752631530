#include "model/IndexSet.h"
#include "model/quality/QualityCheck.h"
#include "model/ShotChanges.h"
#include "model/timing/AlignedPlacement.h"
#include "model/timing/SpeechSnap.h"
#include "model/timing/SpeechSpotting.h"
#include "model/timing/WordTimings.h"
#include "model/SpeechStretches.h"
#include "model/SubtitleController.h"
#include "model/UndoManager.h"

#include "SubtitleText.h"

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString timesOf(const SubtitleList &list)
{
    QStringList entries;
    for (const SubtitlePtr &subtitle : list)
        entries << QString::number(subtitle->start) + u'-' + QString::number(subtitle->end);
    return entries.join(u'|');
}

SpeechStretches speechFrom(const QString &text)
{
    std::vector<SpeechStretch> stretches;
    for (const SubtitlePtr &times : subtitlesFrom(text))
        stretches.push_back({times->start, times->end});
    return SpeechStretches(stretches);
}

ShotChanges cutsAt(double time)
{
    return time < 0 ? ShotChanges() : ShotChanges({time});
}

} // namespace

class tst_SpeechSnap : public QObject
{
    Q_OBJECT

private slots:
    // 25 fps unless told, default limits (a gap of 2 frames, 0.08 s; 0.833 s at least),
    // a lead-out of 3 frames (0.12 s), a search window of 0.5 s, at most one cut.
    void snap_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("speech");
        QTest::addColumn<double>("cut");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("after"); // only the times
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("words"); // when the first subtitle's words are spoken
        const auto row = [](const char *name, const char *before, const char *speech, double cut, const char *after,
                            const char *left, double rate = 25, const char *words = "") {
            QTest::newRow(name) << before << speech << cut << rate << after << left << words;
        };
        row("start to the onset, end the lead-out after the offset", "10-12", "10.2-11.52", -1, "10.2-11.64", "");
        row("an onset at the window's edge is taken", "10-12", "10.48-11.88", -1, "10.48-12", "");
        row("one past it is not", "10-12", "10.52-11.88", -1, "10-12", "start 0: no speech within 0.5 s");
        row("edges land on the nearest frame", "10-12", "10.21-11.51", -1, "10.2-11.64", "");
        row("without a rate, on milliseconds; the lead-out counted at 24 fps", "10-12", "10.2123-11.5", -1,
            "10.212-11.625", "", 0);
        row("the lead-out shortens to keep the gap", "10-11.52|11.72-13", "10-11.56|11.72-12.88", -1,
            "10-11.64|11.72-13", "");
        row("no room even for the offset: the end stays", "10-11|11.2-13", "10-11.3|11.36-12.88", -1, "10-11|11.36-13",
            "end 0: the next subtitle starts too close");
        row("a start does not come closer to the previous end than the gap", "*8-10|10.3-12", "10.04-11.88", -1,
            "8-10|10.3-12", "start 1: the previous subtitle ends too close");
        // Both selected: the previous end stays where it is (no speech near it).
        row("a start does not come closer than the gap to a selected previous end", "8-10|10.3-12", "10.04-11.88", -1,
            "8-10|10.3-12",
            "start 0: no speech within 0.5 s; end 0: no speech within 0.5 s; start 1: the previous subtitle ends too "
            "close");
        row("an end moving to its speech makes room for the next start", "8-10.1|10.3-12", "8-9.9|10.04-11.88", -1,
            "8-9.96|10.04-12", "");
        row("a start on a cut stays", "10-12", "10.2-11.88", 10, "10-12", "start 0: it is on a shot change");
        row("an end 2 frames before a cut stays", "10-11.92", "10-11.7", 12, "10-11.92",
            "end 0: it is on a shot change");
        row("speech 3 frames after a cut: the start goes onto the cut", "9.8-12", "10.12-11.88", 10, "10-12", "");
        row("an end 3 frames before a cut goes 2 frames before it", "10-11.5", "10-11.76", 12, "10-11.92", "");
        row("neither edge makes it shorter than the minimum", "10-11", "10.3-10.7", -1, "10-11",
            "start 0: it would be too short; end 0: it would be too short");
        row("nor faster to read", "aaaaaaaaaaaaaaaaaaaa@10-11.2", "10.3-11.08", -1, "10-11.2",
            "start 0: it would read too fast");
        row("known words over the speech around them", "Hello world@10-12", "9.8-11.9", -1, "10.28-11.52", "", 25,
            "10.28-10.7|10.8-11.4");
        row("known words keep the shot-change rules", "Hello world@9.8-12", "9.8-11.9", 10, "10-11.52", "", 25,
            "10.1-10.7|10.8-11.4");
    }

    // Snapped as one undo step, which undo and redo take back and bring again; snapped
    // again, nothing moves.
    void snap()
    {
        QFETCH(QString, before);
        QFETCH(QString, speech);
        QFETCH(double, cut);
        QFETCH(double, rate);
        QFETCH(QString, after);
        QFETCH(QString, left);
        QFETCH(QString, words);
        IndexSet selected;
        SubtitleController controller;
        UndoManager undo;
        controller.setUndoManager(&undo);
        controller.setSubtitles(subtitlesFrom(before, &selected));
        const SpeechStretches stretches = speechFrom(speech);
        const ShotChanges cuts = cutsAt(cut);
        WordTimings timings;
        QList<SpokenWord> spoken;
        for (const SubtitlePtr &word : subtitlesFrom(words))
            spoken.append({QStringLiteral("w"), word->start, word->end});
        timings.add(controller.at(0)->text(), spoken);
        const SpeechSnap::Sources sources{stretches, cuts, QualityLimits(), rate, SpeechSnapSettings(), &timings};

        const SpeechSnap::Report report = SpeechSnap::snap(controller, selected, sources);
        undo.closeEventGroup();
        QCOMPARE(timesOf(controller.subtitles()), after);
        QStringList reasons;
        for (const SpeechSnap::LeftEdge &edge : report.left)
            reasons << QStringLiteral("%1 %2: %3")
                           .arg(edge.edge == SpeechSnap::Edge::Start ? "start" : "end")
                           .arg(edge.position)
                           .arg(SpeechSnap::reasonText(edge.reason, report.searchWindow));
        QCOMPARE(reasons.join(QStringLiteral("; ")), left);
        QCOMPARE(SpeechSnap::plan(controller.subtitles(), selected, sources).values.size(), 0);

        const QString times = timesOf(subtitlesFrom(before));
        QCOMPARE(undo.canUndo(), after != times);
        if (after != times) {
            QCOMPARE(undo.undoActionName(), SpeechSnap::actionName());
            undo.undo();
            QCOMPARE(timesOf(controller.subtitles()), times);
            undo.redo();
            QCOMPARE(timesOf(controller.subtitles()), after);
        }
    }

    // A cut or a speech edge exactly as far as the search reaches is found; a stretch
    // without length is no speech.
    void edgesAtTheReachAreFound()
    {
        QCOMPARE(ShotChanges({10.5}).nearest(10, 0.5).value_or(-1), 10.5);
        QCOMPARE(ShotChanges({9.5}).nearest(10, 0.5).value_or(-1), 9.5);
        const SpeechStretches speech({{10.5, 11}, {12, 12}});
        QCOMPARE(speech.nearestOnset(10, 0.5).value_or(-1), 10.5);
        QCOMPARE(speech.nearestOffset(11.5, 0.5).value_or(-1), 11.0);
        QVERIFY(!speech.nearestOnset(12, 0.4));
    }

    void summaryCountsEdgesByReason()
    {
        const SubtitleList list = subtitlesFrom(QStringLiteral("10-11|11.2-13|20-22"));
        const SpeechStretches speech = speechFrom(QStringLiteral("10-11.3|11.36-12.88"));
        const SpeechSnap::Snapped snapped =
            SpeechSnap::snapAll(list, {speech, ShotChanges(), QualityLimits(), 25, SpeechSnapSettings()});
        QCOMPARE(timesOf(snapped.subtitles), QStringLiteral("10-11|11.36-13|20-22"));
        QCOMPARE(list[1]->start, 11.2); // the list given is left as it was
        QCOMPARE(snapped.report.summary(),
                 QStringLiteral("Moved 1 subtitle(s) to the speech. Left 3 edge(s): 1 start(s) (no speech within "
                                "0.5 s), 1 end(s) (no speech within 0.5 s), 1 end(s) (the next subtitle starts too "
                                "close)."));
    }

    // 25 fps, default limits, a lead-out of 0.12 s.
    void spotting_data()
    {
        QTest::addColumn<QString>("speech");
        QTest::addColumn<double>("cut");
        QTest::addColumn<QString>("subtitles");
        const auto row = [](const char *name, const char *speech, double cut, const char *subtitles) {
            QTest::newRow(name) << speech << cut << subtitles;
        };
        row("a stretch ends the lead-out after its speech", "10-12", -1, "10-12.12");
        row("stretches a breath apart are one", "10-11|11.3-12", -1, "10-12.12");
        row("a run of just the maximum duration is one, its lead-out stopped there", "10-13|13.3-17", -1, "10-17");
        row("a long stretch splits evenly under the maximum, the gap kept", "10-25", -1,
            "10-14.96|15.04-19.96|20.04-25.12");
        // Without a pause between them, a split may not fall where they touch.
        row("stretches that touch are one", "10-17|17-25", -1, "10-14.96|15.04-19.96|20.04-25.12");
        row("a long run splits at its longest pause", "10-13|13.3-14|14.45-19", -1, "10-14.12|14.44-19.12");
        row("a short piece lengthens into the silence after it", "10-10.3|13-14", -1, "10-10.84|13-14.12");
        row("a short piece without room joins its neighbour", "10-10.3|10.8-12", -1, "10-12.12");
        row("a start 3 frames after a cut goes onto it", "10.12-12", 10, "10-12.12");
        row("an end 7 frames before a cut goes 2 frames before it", "10-11.8", 12.2, "10-12.12");
    }

    void spotting()
    {
        QFETCH(QString, speech);
        QFETCH(double, cut);
        QFETCH(QString, subtitles);
        const SpeechStretches stretches = speechFrom(speech);
        const ShotChanges cuts = cutsAt(cut);
        const SubtitleList list = SpeechSpotting::spot({stretches, cuts, QualityLimits(), 25, SpeechSnapSettings()});
        QCOMPARE(timesOf(list), subtitles);
        const double longest = QualityLimits().maxDuration + QualityCheck::tolerance;
        QVERIFY(std::all_of(list.begin(), list.end(),
                            [&](const SubtitlePtr &s) { return s->text().isEmpty() && s->end - s->start <= longest; }));
    }

    // Lines whose words were found go onto them; the rest of a script of placeholders is
    // fitted between, and never blocks a found line, while a line that keeps its times does.
    void alignedPlacement_data()
    {
        QTest::addColumn<QString>("before"); // the script's lines unstarred
        QTest::addColumn<QString>("found");  // position:start-end of the words
        QTest::addColumn<bool>("fitting");
        QTest::addColumn<QString>("starts");
        QTest::addColumn<QString>("blocked");
        QTest::newRow("a placeholder never blocks a found line")
            << "1-3|3.08-5.08|5.17-7.17" << "0:1-2|2:2.05-3.5" << true << "1|2.1|2.05" << "";
        QTest::newRow("a line that keeps its times blocks one found over it")
            << "1-3|3.08-5.08|5.17-7.17" << "0:1-2|2:4-5" << false << "1|3.08|5.17" << "2";
    }

    void alignedPlacement()
    {
        QFETCH(QString, before);
        QFETCH(QString, found);
        QFETCH(bool, fitting);
        IndexSet script;
        SubtitleList list = subtitlesFrom(before, &script);
        QList<AlignedPlacement::Found> lines;
        for (const QString &entry : found.split(u'|')) {
            const SubtitlePtr times = subtitlesFrom(entry.section(u':', 1)).constFirst();
            lines.append({entry.section(u':', 0, 0).toInt(), {{QStringLiteral("w"), times->start, times->end}}});
        }
        const SpeechStretches none;
        const ShotChanges noCuts;
        const AlignedPlacement::Plan plan = AlignedPlacement::plan(
            list, lines, {none, noCuts, QualityLimits(), 0, SpeechSnapSettings()},
            fitting ? AlignedPlacement::Others::FitBetween : AlignedPlacement::Others::Keep, script);
        int k = 0;
        for (int position : plan.positions)
            list[position] = Subtitle::create(list[position]->text(), *plan.values[k++].start, list[position]->end);
        QStringList starts;
        for (const SubtitlePtr &subtitle : list)
            starts << QString::number(subtitle->start);
        QTEST(starts.join(u'|'), "starts");
        QStringList blocked;
        for (int position : plan.blocked)
            blocked << QString::number(position);
        QTEST(blocked.join(u'|'), "blocked");
    }

    // The words found are cached on disk: read back as written, or not at all when the
    // bytes are damaged (a word count no file could hold must not be allocated for).
    void cachedWordsComeBackOrNotAtAll_data()
    {
        QTest::addColumn<QByteArray>("damage");
        QTest::addColumn<bool>("readBack");
        QTest::newRow("as written") << QByteArray() << true;
        QTest::newRow("cut short") << QByteArray("cut") << false;
        QTest::newRow("a word count past the file") << QByteArray("count") << false;
        QTest::newRow("another cache's bytes") << QByteArray("magic") << false;
    }

    void cachedWordsComeBackOrNotAtAll()
    {
        QFETCH(QByteArray, damage);
        const QString text = QStringLiteral("Hi there.");
        const QList<SpokenWord> words{{QStringLiteral("hi"), 1.25, 1.5}, {QStringLiteral("there"), 1.6, 2.0}};
        WordTimings timings;
        timings.add(text, words);
        QByteArray bytes = timings.toBytes();
        const qsizetype countAt = 4 + 2 + 4 + 4 + text.size() * 2; // header, then the text's length and UTF-16
        if (damage == "cut")
            bytes.chop(3);
        else if (damage == "count")
            bytes.replace(countAt, 4, QByteArray(4, '\xff'));
        else if (damage == "magic")
            bytes[0] = 'X';
        const std::optional<WordTimings> read = WordTimings::fromBytes(bytes);
        QTEST(read.has_value(), "readBack");
        if (read) {
            QCOMPARE(read->wordsOf(text, 1.2, 2.1).size(), 2);
            QCOMPARE(read->wordsOf(text, 1.2, 2.1).constLast().end, 2.0);
            QCOMPARE(read->edgesWithin(0, 10), (std::vector<double>{1.25, 1.5, 1.6, 2.0}));
        }
    }

    void hostileSettingsAreClamped_data()
    {
        QTest::addColumn<QVariant>("leadOut");
        QTest::addColumn<QVariant>("window");
        QTest::addColumn<int>("leadOutFrames");
        QTest::addColumn<double>("searchWindow");
        QTest::newRow("too large") << QVariant(1e12) << QVariant(1e300) << 12 << SpeechSnapSettings::maxSearchWindow;
        QTest::newRow("negative") << QVariant(-3) << QVariant(-1) << 0 << SpeechSnapSettings::minSearchWindow;
        QTest::newRow("not numbers") << QVariant("soon") << QVariant("nan") << 3 << 0.5;
    }

    void hostileSettingsAreClamped()
    {
        QFETCH(QVariant, leadOut);
        QFETCH(QVariant, window);
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("speech/leadOutFrames"), leadOut);
        settings.setValue(QStringLiteral("speech/searchWindow"), window);
        const SpeechSnapSettings loaded = SpeechSnapSettings::load(settings);
        QTEST(loaded.leadOutFrames, "leadOutFrames");
        QTEST(loaded.searchWindow, "searchWindow");
    }
};

QTEST_GUILESS_MAIN(tst_SpeechSnap)
#include "tst_speechsnap.moc"

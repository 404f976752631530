#include "model/CursorInsertion.h"
#include "model/timing/EdgeStepping.h"
#include "model/timing/GapChaining.h"
#include "model/IndexSet.h"
#include "model/timing/NudgeRun.h"
#include "model/timing/ScriptTiming.h"
#include "model/SubtitleController.h"
#include "model/timing/TimingNudge.h"

#include "SubtitleText.h"

#include <QTest>

#include <algorithm>

namespace {

// The list as text after the change; nothing when no subtitle changes (no undo step).
QString applied(const SubtitleList &list, const IndexSet &chosen, const QList<Subtitle::Values> &values)
{
    if (values.isEmpty())
        return QStringLiteral("unchanged");
    QStringList entries;
    qsizetype k = 0;
    for (int i = 0; i < list.size(); ++i) {
        const Subtitle::Values value = chosen.contains(i) ? values.at(k++) : Subtitle::Values();
        entries << QString::number(value.start.value_or(list[i]->start)) + u'-'
                       + QString::number(value.end.value_or(list[i]->end));
    }
    return entries.join(u'|');
}

constexpr double rate = 25;
constexpr double gap = 0.08; // two frames

} // namespace

class tst_KeyboardTiming : public QObject
{
    Q_OBJECT

private slots:
    // At 25 fps (a frame is 0.04 s) with a gap of two frames unless told.
    void nudge_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("edge");
        QTest::addColumn<double>("step");
        QTest::addColumn<double>("frameRate");
        QTest::addColumn<QString>("expected");
        const int start = int(TimingNudge::Edge::Start), end = int(TimingNudge::Edge::End), both = int(TimingNudge::Edge::Both);
        QTest::newRow("a start stops at 0") << "0.04-2" << start << -0.1 << rate << "0-2";
        QTest::newRow("a start at 0 stays") << "0-2" << start << -0.04 << rate << "unchanged";
        QTest::newRow("a start stops a frame before its end") << "1.92-2" << start << 0.1 << rate << "1.96-2";
        QTest::newRow("an end stops a frame after its start") << "1-1.04" << end << -0.04 << rate << "unchanged";
        QTest::newRow("a start stops the gap after the previous end")
            << "*0-1|1.12-3" << start << -0.1 << rate << "0-1|1.08-3";
        QTest::newRow("an end stops the gap before the next start") << "0-1|*1.12-3" << end << 0.1 << rate << "0-1.04|1.12-3";
        QTest::newRow("too near a neighbour: not nearer") << "*0-1|1.04-3" << start << -0.04 << rate << "unchanged";
        QTest::newRow("too near a neighbour: away from it") << "*0-1|1.04-3" << start << 0.04 << rate << "0-1|1.08-3";
        QTest::newRow("together, a chosen neighbour is no limit")
            << "*0-1|1.16-2|2.08-3" << both << -0.1 << rate << "0-1|1.08-1.92|2-2.92";
        QTest::newRow("together, stopped by the nearest neighbour")
            << "0-1|1.2-2|*2.12-3" << both << 0.1 << rate << "0.04-1.04|1.24-2.04|2.12-3";
        QTest::newRow("a whole subtitle at 0 stays") << "0-1|*2-3" << both << -0.04 << rate << "unchanged";
        QTest::newRow("without a rate 100 ms is 100 ms") << "1-2" << both << 0.1 << 0.0 << "1.1-2.1";
    }
    void nudge()
    {
        QFETCH(QString, list);
        QFETCH(int, edge);
        QFETCH(double, step);
        QFETCH(double, frameRate);
        QFETCH(QString, expected);
        IndexSet chosen;
        const SubtitleList subtitles = subtitlesFrom(list, &chosen);
        const TimingNudge nudge(TimingNudge::Edge(edge), step, frameRate, rate, gap);
        QCOMPARE(applied(subtitles, chosen, nudge.valuesFor(subtitles, chosen)), expected);
    }

    // Two seconds wanted, 0.84 s at least.
    void insertAtCursor_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<double>("cursor");
        QTest::addColumn<QString>("expected");
        QTest::newRow("at 0") << "" << 0.0 << "0-2";
        QTest::newRow("on the nearest frame") << "" << 1.01 << "1-3";
        QTest::newRow("shortened to the gap before the next") << "*5-6" << 3.52 << "3.52-4.92";
        QTest::newRow("the minimum duration exactly") << "*5-6" << 4.08 << "4.08-4.92";
        QTest::newRow("a frame less than the minimum") << "*5-6" << 4.12 << "none";
        QTest::newRow("inside a subtitle") << "*1-3" << 2.0 << "none";
        QTest::newRow("nearer an end than the gap") << "*1-3" << 3.04 << "none";
        QTest::newRow("the gap after an end exactly") << "*1-3" << 3.08 << "3.08-5.08";
        QTest::newRow("inside a long subtitle under shorter ones") << "*1-10|*2-3" << 5.0 << "none";
        QTest::newRow("shortened to the film's end") << "" << 58.52 << "58.52-60";
        QTest::newRow("not even the minimum before the film's end") << "" << 59.2 << "none";
    }
    void insertAtCursor()
    {
        QFETCH(QString, list);
        QFETCH(double, cursor);
        QFETCH(QString, expected);
        IndexSet none;
        const auto at = CursorInsertion::place(subtitlesFrom(list, &none), cursor, {2, 0.84, gap, rate, 60});
        QCOMPARE(at ? QString::number(at->start) + u'-' + QString::number(at->end) : QStringLiteral("none"), expected);
    }

    // Presses of the 100 ms nudge on a subtitle at 10-12 s: + later, - earlier, f a frame
    // later and e its end alone a frame later (no part of the run).
    void nudgeRun_data()
    {
        QTest::addColumn<QString>("presses");
        QTest::addColumn<double>("frameRate");
        QTest::addColumn<double>("start");
        QTest::newRow("ten presses move a second at 25 fps") << "++++++++++" << rate << 11.0;
        QTest::newRow("ten presses at 23.976 fps: the nearest frame to a second") << "++++++++++" << 23.976 << (240 + 24) / 23.976; // 10 s lies nearest frame 240
        QTest::newRow("back after forth returns exactly") << "+++--" << rate << 10.12;
        QTest::newRow("another nudge between begins a new run") << "+f+" << rate << 10.28;
        QTest::newRow("an end changed between begins a new run") << "+e+" << rate << 10.24;
        QTest::newRow("without a rate, milliseconds") << "---" << 0.0 << 9.7;
    }
    void nudgeRun()
    {
        QFETCH(QString, presses);
        QFETCH(double, frameRate);
        QFETCH(double, start);
        const SubtitleList list{Subtitle::create(QString(), 10, 12)};
        NudgeRun run(0.1);
        for (QChar press : presses) {
            if (press == u'e') {
                list[0]->end += 1 / frameRate;
                continue;
            }
            const bool frame = press == u'f';
            const double step = frame ? 1 / frameRate : run.next(TimingNudge::Edge::Both, press == u'-' ? -1 : 1, list, frameRate);
            const Subtitle::Values value = TimingNudge(TimingNudge::Edge::Both, step, frameRate, rate, gap).valuesFor(list, IndexSet(0)).at(0);
            list[0]->start = *value.start;
            list[0]->end = *value.end;
            if (!frame)
                run.pressed(list);
        }
        QCOMPARE(list[0]->start, start);
    }

    // Gaps under 12 frames (0.48 s) close.
    void chain_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a short gap") << "0-1|1.2-2" << "0-1.12|1.2-2";
        QTest::newRow("a frame under the threshold") << "0-1|1.44-2" << "0-1.36|1.44-2";
        QTest::newRow("the threshold exactly") << "0-1|1.48-2" << "unchanged";
        QTest::newRow("an overlap") << "0-1.5|1.2-2" << "0-1.12|1.2-2";
        QTest::newRow("a next start between frames: the end no nearer than the gap") << "0-1|1.23-2" << "0-1.12|1.23-2";
        QTest::newRow("an overlap that would leave less than a frame") << "1-3|1.04-2" << "unchanged";
        QTest::newRow("one chosen: the gap after it") << "*0-1|1.2-2|*2.2-3" << "0-1|1.2-2.12|2.2-3";
        QTest::newRow("several: not the gap after the last") << "0-1|1.2-2|*2.2-3" << "0-1.12|1.2-2|2.2-3";
        QTest::newRow("the last alone") << "*0-1|1.2-2" << "unchanged";
    }
    void chain()
    {
        QFETCH(QString, list);
        QFETCH(QString, expected);
        IndexSet chosen;
        const SubtitleList subtitles = subtitlesFrom(list, &chosen);
        QCOMPARE(applied(subtitles, chosen, GapChaining::chain(subtitles, chosen, {0.48, gap, rate})), expected);
    }

    // Timing lines from a playing video at 25 fps, each key on the line the last one moved
    // on to: [t the start, ]t the end (then the next line), \t the end and the next
    // line's start; -X deletes line X. The script's lines, in its order ("" when none was
    // imported: the list's order as timing begins).
    void timingFromTheVideo_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("then"); // the line the keys are on after
        const QString placeholders = QStringLiteral("A@1-3|B@3.08-5.08|C@5.16-7.16");
        QTest::newRow("a line timed past the others: the next in the list's order as timing began")
            << placeholders << "" << "[10 ]11" << "B@3.08-5.08|C@5.16-7.16|A@10-11" << "B";
        QTest::newRow("a deleted line is passed over") << placeholders << "ABC" << "[10 -B ]11" << "C@5.16-7.16|A@10-11" << "C";
        QTest::newRow("an end at the start is refused") << "A@5-7" << "A" << "]5" << "A@5-7" << "A";
        QTest::newRow("an end before the start is refused, not moved back") << "A@5-7" << "A" << "]4.96" << "A@5-7" << "A";
        QTest::newRow("end and start the next at the start is refused") << "A@5-7|B@8-9" << "AB" << "\\5" << "A@5-7|B@8-9" << "A";
    }
    void timingFromTheVideo()
    {
        QFETCH(QString, list);
        QFETCH(QString, script);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        QFETCH(QString, then);
        SubtitleController controller;
        controller.setFrameRate(rate);
        const SubtitleList subtitles = subtitlesFrom(list);
        controller.setSubtitles(subtitles);
        const auto line = [&](QStringView text) {
            return *std::find_if(subtitles.begin(), subtitles.end(), [&](const SubtitlePtr &s) { return s->text() == text; });
        };
        ScriptTiming timing;
        SubtitleList lines;
        for (QChar text : script)
            lines.append(line(QStringView(&text, 1)));
        timing.setScript(lines);
        SubtitlePtr current = lines.value(0, subtitles.first());
        for (const QString &key : keys.split(u' ')) {
            if (!current)
                break; // nothing left to time
            const double time = key.mid(1).toDouble();
            if (key[0] == u'-') {
                const SubtitlePtr deleted = line(key.mid(1));
                controller.removeSubtitles({deleted}, IndexSet(controller.indexOf(deleted)));
            } else if (key[0] == u'[') {
                timing.setStart(controller, controller.indexOf(current), time);
            } else if (key[0] == u']') {
                current = timing.setEnd(controller, controller.indexOf(current), time).value_or(current);
            } else if (const auto next = timing.endAndStartNext(controller, controller.indexOf(current), time)) {
                current = controller.at(*next);
            }
        }
        QStringList after;
        for (const SubtitlePtr &subtitle : controller.subtitles())
            after << QStringLiteral("%1@%2-%3").arg(subtitle->text()).arg(subtitle->start).arg(subtitle->end);
        QCOMPARE(after.join(u'|'), expected);
        QCOMPARE(current ? current->text() : QStringLiteral("none"), then);
    }

    // The cursor at an edge steps on to the next one; an end may lie past later starts.
    void edgeSteps_data()
    {
        QTest::addColumn<bool>("speech");
        QTest::addColumn<double>("from");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<double>("expected"); // -1: nowhere to go
        QTest::newRow("from a start to the end inside") << false << 2.0 << true << 3.0;
        QTest::newRow("to an end after later starts") << false << 3.0 << true << 10.0;
        QTest::newRow("past the last edge") << false << 10.0 << true << -1.0;
        QTest::newRow("back to the nearest") << false << 2.5 << false << 2.0;
        QTest::newRow("before the first edge") << false << 0.0 << false << -1.0;
        QTest::newRow("speech: from an end to the next start") << true << 2.0 << true << 4.0;
        QTest::newRow("speech: back from a start") << true << 4.0 << false << 2.0;
    }
    void edgeSteps()
    {
        QFETCH(bool, speech);
        QFETCH(double, from);
        QFETCH(bool, forward);
        QFETCH(double, expected);
        const SubtitleList subtitles{Subtitle::create(QString(), 0, 10), Subtitle::create(QString(), 2, 3)};
        const SpeechStretches stretches({{1, 2}, {4, 5}});
        const std::optional<double> to = speech ? EdgeStepping::speechEdge(stretches, from, forward)
                                                : EdgeStepping::subtitleEdge(subtitles, from, forward);
        QCOMPARE(to.value_or(-1), expected);
    }
};

QTEST_GUILESS_MAIN(tst_KeyboardTiming)
#include "tst_keyboardtiming.moc"

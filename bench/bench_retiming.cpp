// Commands over every subtitle of a million-subtitle document, through the controller,
// the undo manager and the document (with its quality index), as the window runs them:
// each as one named undo step, then its undo. With the list pane attached where it listens.
// The subtitle count: CUEWRIGHT_BENCH_ROWS (default 1,000,000).
#include "document/Document.h"
#include "list/SubtitlesTableViewController.h"
#include "model/LinearTimeMap.h"
#include "model/quality/QualityFixes.h"
#include "model/text/SubtitleSearch.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include <functional>
#include <memory>

namespace {

const int rowCount = qEnvironmentVariableIsSet("CUEWRIGHT_BENCH_ROWS") ? qEnvironmentVariableIntValue("CUEWRIGHT_BENCH_ROWS")
                                                                       : 1'000'000;

struct Session
{
    explicit Session(bool withList)
    {
        document.attachController();
        SubtitleList subtitles;
        subtitles.reserve(rowCount);
        // Every fourth subtitle reads too fast, so that Fix All has work.
        for (int i = 0; i < rowCount; ++i)
            subtitles.append(Subtitle::create(i % 4 ? QStringLiteral("Line %1").arg(i)
                                                    : QStringLiteral("A line far too long to read in time %1").arg(i),
                                              i * 3.0, i * 3.0 + (i % 4 ? 2 : 1)));
        controller().setSubtitles(subtitles);
        if (withList) {
            list = std::make_unique<SubtitlesTableViewController>(&document);
            list->resize(720, 600);
            list->show();
        }
        QApplication::processEvents();
    }
    SubtitleController &controller() { return document.subtitleController(); }
    IndexSet all() { return IndexSet::fromRange(0, controller().count()); }
    void step(const QString &name, const std::function<void()> &change)
    {
        document.undoManager().runAsOneStep(name, change);
        QApplication::processEvents(); // what the panes do once the change is in
    }
    void retimeAll(const LinearTimeMap &map)
    {
        step(QStringLiteral("Retime"), [&] { controller().retimeSubtitles(all(), map); });
    }

    Document document;
    std::unique_ptr<SubtitlesTableViewController> list;
};

using Command = std::function<void(Session &)>;

// Times the command; its undo is timed apart and reported as "undo ms".
void run(benchmark::State &state, const Command &command, bool withList)
{
    Session session(withList);
    double undoNanoseconds = 0;
    for (auto _ : state) {
        command(session);
        state.PauseTiming();
        QElapsedTimer timer;
        timer.start();
        session.document.undoManager().undo();
        QApplication::processEvents();
        undoNanoseconds += double(timer.nsecsElapsed());
        state.ResumeTiming();
    }
    state.counters["undo ms"] = undoNanoseconds / 1e6 / double(state.iterations());
}

void shiftAllByAnHour(Session &s)
{
    s.retimeAll(LinearTimeMap::shift(3600));
}

// The first half moves past all the others: every subtitle changes place, the moved ones
// stay together.
void shiftFirstHalfPastAll(Session &s)
{
    const int half = s.controller().count() / 2;
    s.step(QStringLiteral("Shift Times"), [&] {
        s.controller().retimeSubtitles(IndexSet::fromRange(0, half), LinearTimeMap::shift(s.controller().count() * 3.0));
    });
}

// The first half lands among the last quarter, one between each two: the moved subtitles,
// selected afterwards, lie in a quarter of a million places.
void shiftFirstHalfAmongOthers(Session &s)
{
    const int half = s.controller().count() / 2;
    const double offset = s.controller().at(half + half / 2)->start + 1.5;
    s.step(QStringLiteral("Shift Times"), [&] {
        s.controller().retimeSubtitles(IndexSet::fromRange(0, half), LinearTimeMap::shift(offset));
    });
}

void synchronise(Session &s)
{
    s.retimeAll(*LinearTimeMap::throughTwoPoints(10, 12.5, 1000, 1003));
}

void changeFrameRate(Session &s)
{
    s.retimeAll(*LinearTimeMap::frameRateConversion(25, 23.976));
}

void replaceAll(Session &s)
{
    const SubtitleSearch search(QStringLiteral("Line"), {});
    SubtitleSearch::Replacement replacement;
    SubtitleSearch::Progress progress;
    search.replaceAll(s.controller().subtitles(), QStringLiteral("Row"), replacement, progress);
    s.step(QStringLiteral("Replace All"), [&] { s.controller().updateSubtitles(replacement.values, replacement.indexes); });
}

void fixAll(Session &s)
{
    s.step(QStringLiteral("Fix All"), [&] { QualityFixes::fixAll(s.controller(), s.document.problemIndex()); });
}

void deleteAll(Session &s)
{
    const IndexSet all = s.all();
    s.step(QStringLiteral("Delete"), [&] { s.controller().removeSubtitles(s.controller().subtitlesAt(all), all); });
}

void deleteEveryOther(Session &s)
{
    IndexSet odd;
    for (int i = 1; i < s.controller().count(); i += 2)
        odd.insert(i);
    s.step(QStringLiteral("Delete"), [&] { s.controller().removeSubtitles(s.controller().subtitlesAt(odd), odd); });
}

void selectAll(Session &s)
{
    if (s.list)
        s.list->selectAll();
    else
        s.document.setSelectedSubtitleIndexes(s.all());
    QApplication::processEvents();
    s.document.setSelectedSubtitleIndexes(IndexSet(0)); // not undoable: back by hand
}

void registerAll()
{
    const std::pair<const char *, Command> commands[] = {
        {"ShiftAllByAnHour", shiftAllByAnHour},     {"ShiftHalfPastAll", shiftFirstHalfPastAll},
        {"ShiftHalfAmongOthers", shiftFirstHalfAmongOthers},
        {"Synchronise", synchronise},               {"ChangeFrameRate", changeFrameRate},
        {"ReplaceAll", replaceAll},                 {"FixAll", fixAll},
        {"DeleteAll", deleteAll},                   {"DeleteEveryOther", deleteEveryOther},
        {"SelectAllThenOne", selectAll},
    };
    for (const auto &[name, command] : commands) {
        for (const bool withList : {false, true}) {
            const std::string label = std::string("BM_") + name + (withList ? "/WithList" : "/Document");
            benchmark::RegisterBenchmark(label.c_str(), [command = command, withList](benchmark::State &state) {
                run(state, command, withList);
            })->Unit(benchmark::kMillisecond)->Iterations(3);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

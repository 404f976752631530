// Shifting every subtitle of a long list as one undo step, with the list pane listening:
// a small shift (each subtitle passes no other), and a shift by an hour, where each
// subtitle, moved in list order, passes every later one still unmoved.
#include "document/Document.h"
#include "list/SubtitlesTableViewController.h"
#include "model/LinearTimeMap.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

void shiftAll(benchmark::State &state, double offset)
{
    const int count = int(state.range(0));
    Document document;
    document.subtitleController().setDelegate(&document);
    document.subtitleController().setUndoManager(&document.undoManager());
    SubtitleList subtitles;
    for (int i = 0; i < count; ++i)
        subtitles.append(Subtitle::create(QStringLiteral("Line %1").arg(i), i * 3.0, i * 3.0 + 2));
    document.subtitleController().setSubtitles(subtitles);
    SubtitlesTableViewController list(&document);
    list.resize(720, 600);
    list.show();
    QApplication::processEvents();
    const IndexSet all = IndexSet::fromRange(0, count);
    for (auto _ : state) {
        document.subtitleController().retimeSubtitles(all, LinearTimeMap::shift(offset));
        state.PauseTiming();
        document.undoManager().undo(); // back to where it was, not timed
        state.ResumeTiming();
    }
}

void BM_ShiftAllBySecondAndAHalf(benchmark::State &state)
{
    shiftAll(state, 1.5);
}

void BM_ShiftAllByAnHour(benchmark::State &state)
{
    shiftAll(state, 3600);
}

} // namespace

BENCHMARK(BM_ShiftAllBySecondAndAHalf)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftAllByAnHour)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

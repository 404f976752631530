// Timeline cost with a million subtitles: one screen of scrolling and one zoom step,
// each including the repaint. The blocks on screen, not the file's size, should set it.
// Then subtitles stacked on one another (all from 1 s to 2 s, CUEWRIGHT_BENCH_STACKED of
// them, 200,000 unless set): a repaint, and a deletion with its repaint.
#include "document/Document.h"
#include "timeline/TimelineViewController.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

constexpr int subtitleCount = 1'000'000;
constexpr int paneWidth = 1200;
const int stackedCount = qEnvironmentVariableIsSet("CUEWRIGHT_BENCH_STACKED")
                             ? qEnvironmentVariableIntValue("CUEWRIGHT_BENCH_STACKED")
                             : 200'000;

// Subtitles three seconds apart, or all from 1 s to 2 s.
struct Timeline
{
    Document document;
    std::unique_ptr<TimelineViewController> pane;

    Timeline(int count, bool stacked)
    {
        document.subtitleController().setDelegate(&document);
        SubtitleList subtitles;
        subtitles.reserve(count);
        for (int i = 0; i < count; ++i) {
            const double start = stacked ? 1.0 : i * 3.0;
            subtitles.append(Subtitle::create(QStringLiteral("Line %1").arg(i), start, start + (stacked ? 1.0 : 2.0)));
        }
        document.subtitleController().setSubtitles(subtitles);
        pane = std::make_unique<TimelineViewController>(&document);
        pane->resize(paneWidth, 150);
        pane->show();
        QApplication::processEvents();
    }
};

// Each made once and left to the end of the process: a pane destroyed after the
// application object would crash on the way out.
Timeline &timeline()
{
    static Timeline *instance = new Timeline(subtitleCount, false);
    return *instance;
}

Timeline &stacked()
{
    static Timeline *instance = new Timeline(stackedCount, true);
    return *instance;
}

void BM_ScrollOneScreen(benchmark::State &state)
{
    TimelineViewController &pane = *timeline().pane;
    pane.zoomAbout(state.range(0) / 10.0, 0);
    const double middle = pane.contentWidth() / 2;
    double x = middle;
    for (auto _ : state) {
        x += paneWidth;
        if (x > middle + 1000 * paneWidth)
            x = middle;
        pane.scrollToOffset(x);
        pane.repaint();
    }
    state.counters["blocks"] = double(pane.visibleSubtitles().size());
}
BENCHMARK(BM_ScrollOneScreen)->Arg(10)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ZoomOneStep(benchmark::State &state)
{
    TimelineViewController &pane = *timeline().pane;
    pane.zoomAbout(state.range(0) / 10.0, 0);
    pane.scrollToOffset(pane.contentWidth() / 2);
    bool in = true;
    for (auto _ : state) {
        if (in)
            pane.zoomIn();
        else
            pane.zoomOut();
        in = !in;
        pane.repaint();
    }
    state.counters["blocks"] = double(pane.visibleSubtitles().size());
}
BENCHMARK(BM_ZoomOneStep)->Arg(10)->Arg(1)->Unit(benchmark::kMillisecond);

// Every block on screen at once, then back to where the other benchmarks work.
void BM_ZoomToFit(benchmark::State &state)
{
    TimelineViewController &pane = *timeline().pane;
    for (auto _ : state) {
        pane.fitFilm();
        pane.repaint();
        state.PauseTiming();
        pane.zoomAbout(1, 0);
        state.ResumeTiming();
    }
    pane.fitFilm();
    state.counters["blocks"] = double(pane.visibleSubtitles().size());
}
BENCHMARK(BM_ZoomToFit)->Unit(benchmark::kMillisecond);

void BM_RepaintStacked(benchmark::State &state)
{
    TimelineViewController &pane = *stacked().pane;
    pane.zoomAbout(state.range(0) / 10.0, 0);
    for (auto _ : state)
        pane.repaint();
    state.counters["blocks"] = double(pane.visibleSubtitles().size());
}
BENCHMARK(BM_RepaintStacked)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_DeleteStacked(benchmark::State &state)
{
    Timeline &timeline = stacked();
    timeline.pane->zoomAbout(1, 0);
    SubtitleController &controller = timeline.document.subtitleController();
    for (auto _ : state) {
        controller.removeSubtitles({controller.at(1)}, IndexSet(1));
        timeline.pane->repaint();
    }
}
BENCHMARK(BM_DeleteStacked)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

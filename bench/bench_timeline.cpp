// Timeline cost with a million subtitles: one screen of scrolling and one zoom step,
// each including the repaint. The blocks on screen, not the file's size, should set it.
#include "document/Document.h"
#include "timeline/TimelineViewController.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

constexpr int subtitleCount = 1'000'000;
constexpr int paneWidth = 1200;

struct Timeline
{
    Document document;
    std::unique_ptr<TimelineViewController> pane;

    Timeline()
    {
        document.subtitleController().setDelegate(&document);
        SubtitleList subtitles;
        subtitles.reserve(subtitleCount);
        for (int i = 0; i < subtitleCount; ++i)
            subtitles.append(Subtitle::create(QStringLiteral("Line %1").arg(i), i * 3.0, i * 3.0 + 2.0));
        document.subtitleController().setSubtitles(subtitles);
        pane = std::make_unique<TimelineViewController>(&document);
        pane->resize(paneWidth, 150);
        pane->show();
        QApplication::processEvents();
    }
    ~Timeline() { document.subtitleController().setDelegate(nullptr); }
};

Timeline &timeline()
{
    static Timeline instance;
    return instance;
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
        pane.zoomToFit();
        pane.repaint();
        state.PauseTiming();
        pane.zoomAbout(1, 0);
        state.ResumeTiming();
    }
    pane.zoomToFit();
    state.counters["blocks"] = double(pane.visibleSubtitles().size());
}
BENCHMARK(BM_ZoomToFit)->Unit(benchmark::kMillisecond);

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

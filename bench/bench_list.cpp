// The subtitle list with a million rows: building the pane, paging through it with the
// keyboard (each page moves the selection, which goes through the document), and
// selecting everything. Runs on whatever Qt platform is set (offscreen or xcb).
#include "document/Document.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>

namespace {

// CUEWRIGHT_BENCH_ROWS sets another count, to see what grows with the list.
const int rowCount = qEnvironmentVariableIsSet("CUEWRIGHT_BENCH_ROWS") ? qEnvironmentVariableIntValue("CUEWRIGHT_BENCH_ROWS")
                                                                       : 1'000'000;

struct MillionRowPane
{
    MillionRowPane()
    {
        document.subtitleController().setDelegate(&document);
        document.subtitleController().setUndoManager(&document.undoManager());
        SubtitleList subtitles;
        subtitles.reserve(rowCount);
        for (int i = 0; i < rowCount; ++i)
            subtitles.append(Subtitle::create(QStringLiteral("Line %1").arg(i), i * 3.0, i * 3.0 + 2));
        document.subtitleController().setSubtitles(subtitles);
        list = std::make_unique<SubtitlesTableViewController>(&document);
        list->resize(720, 600);
        list->show();
        QApplication::processEvents();
    }
    void press(Qt::Key key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(list->tableView(), &event);
        QApplication::processEvents(); // paints the page
    }

    Document document;
    std::unique_ptr<SubtitlesTableViewController> list;
};

MillionRowPane &pane()
{
    static MillionRowPane instance;
    return instance;
}

void BM_BuildPane(benchmark::State &state)
{
    Document document;
    SubtitleList subtitles;
    subtitles.reserve(rowCount);
    for (int i = 0; i < rowCount; ++i)
        subtitles.append(Subtitle::create(QString(), i * 3.0, i * 3.0 + 2));
    document.subtitleController().setSubtitles(subtitles);
    for (auto _ : state) {
        SubtitlesTableViewController list(&document);
        list.resize(720, 600);
        list.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_BuildPane)->Unit(benchmark::kMillisecond);

// One page down with its selection change and repaint; the sweep wraps to the top.
void BM_PageDown(benchmark::State &state)
{
    MillionRowPane &p = pane();
    p.document.setSelectedSubtitleIndexes(IndexSet(0));
    int pages = 0;
    for (auto _ : state) {
        p.press(Qt::Key_PageDown);
        if (p.document.selectedSubtitleIndexes().first() == rowCount - 1) {
            state.PauseTiming();
            p.press(Qt::Key_Home);
            state.ResumeTiming();
        }
        ++pages;
    }
    state.counters["rows per page"] = double(p.list->tableView()->viewport()->height())
                                      / p.list->tableView()->verticalHeader()->defaultSectionSize();
}
BENCHMARK(BM_PageDown)->Unit(benchmark::kMicrosecond);

void BM_EndThenHome(benchmark::State &state)
{
    MillionRowPane &p = pane();
    for (auto _ : state) {
        p.press(Qt::Key_End);
        p.press(Qt::Key_Home);
    }
}
BENCHMARK(BM_EndThenHome)->Unit(benchmark::kMicrosecond);

void BM_SelectAllThenOne(benchmark::State &state)
{
    MillionRowPane &p = pane();
    for (auto _ : state) {
        p.list->selectAll();
        p.document.setSelectedSubtitleIndexes(IndexSet(rowCount / 2));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SelectAllThenOne)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

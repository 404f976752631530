// One edit in a document of a million subtitles with the quality marks on: the edit
// itself (the controller) and the problem index following it. Without marks for
// comparison, the full check that opening a file or changing a limit costs, and Fix All.
#include "model/quality/ProblemIndex.h"
#include "model/quality/QualityFixes.h"
#include "model/SubtitleController.h"
#include "model/SubtitleControllerDelegate.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const int subtitleCount = qEnvironmentVariableIsSet("CUEWRIGHT_BENCH_ROWS")
                              ? qEnvironmentVariableIntValue("CUEWRIGHT_BENCH_ROWS")
                              : 1'000'000;

// Passes the controller's reports on to the index, as the document does.
class Feeder : public SubtitleControllerDelegate
{
public:
    ProblemIndex *index = nullptr;
    void didReloadSubtitles(SubtitleController &) override
    {
        if (index)
            index->reload();
    }
    void didUpdateSubtitles(SubtitleController &, const IndexSet &indexes, const QList<SubtitleIndexUpdate> &updates,
                            const IndexSet &newIndexes) override
    {
        if (index)
            index->subtitlesUpdated(indexes, updates, newIndexes);
    }
    void didReorderSubtitles(SubtitleController &, const IndexSet &indexes, const std::vector<int> &newPositions,
                             const IndexSet &newIndexes) override
    {
        if (index)
            index->subtitlesReordered(indexes, newPositions, newIndexes);
    }
    void didInsertSubtitles(SubtitleController &, const IndexSet &indexes) override
    {
        if (index)
            index->subtitlesInserted(indexes);
    }
    void didRemoveSubtitles(SubtitleController &, const SubtitleList &subtitles, const IndexSet &indexes) override
    {
        if (index)
            index->subtitlesRemoved(subtitles, indexes);
    }
};

SubtitleList millionSubtitles()
{
    SubtitleList subtitles;
    subtitles.reserve(subtitleCount);
    for (int i = 0; i < subtitleCount; ++i) {
        // Every tenth one runs into the next, every seventh is in italics with an accent.
        const double start = i * 3.0;
        const double end = start + (i % 10 == 0 ? 3.5 : 2.0);
        const QString text = i % 7 == 0 ? QStringLiteral("<i>Café number %1</i>\nand its second line").arg(i)
                                        : QStringLiteral("Subtitle number %1").arg(i);
        subtitles.append(Subtitle::create(text, start, end));
    }
    return subtitles;
}

struct Document
{
    explicit Document(bool marks)
    {
        controller.setDelegate(&feeder);
        controller.setSubtitles(millionSubtitles());
        if (marks) {
            index = std::make_unique<ProblemIndex>(controller);
            feeder.index = index.get();
        }
    }
    SubtitleController controller;
    Feeder feeder;
    std::unique_ptr<ProblemIndex> index;
};

// A text edit, an end that overlaps the next subtitle and back, and a start that moves
// the subtitle past its neighbour and back: the edits a user makes, in the middle of the
// list where moving entries costs most.
void runEdits(benchmark::State &state, Document &document)
{
    const int middle = subtitleCount / 2;
    int step = 0;
    for (auto _ : state) {
        switch (step++ % 4) {
        case 0:
            document.controller.setText(QStringLiteral("An edited text that is quite a bit longer than before"), middle);
            break;
        case 1:
            document.controller.setEnd(middle, middle * 3.0 + 4);
            break;
        case 2:
            document.controller.setStart(middle, middle * 3.0 + 3.5); // moves after its neighbour
            break;
        case 3:
            document.controller.setStart(middle + 1, middle * 3.0); // and back
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_EditWithMarks(benchmark::State &state)
{
    static Document document(true);
    runEdits(state, document);
}
BENCHMARK(BM_EditWithMarks)->Unit(benchmark::kMicrosecond);

void BM_EditWithoutMarks(benchmark::State &state)
{
    static Document document(false);
    runEdits(state, document);
}
BENCHMARK(BM_EditWithoutMarks)->Unit(benchmark::kMicrosecond);

// Opening a file or changing a limit checks every subtitle once.
void BM_CheckEverySubtitle(benchmark::State &state)
{
    static Document document(false);
    for (auto _ : state) {
        ProblemIndex index(document.controller);
        benchmark::DoNotOptimize(index.subtitlesWithProblems());
    }
}
BENCHMARK(BM_CheckEverySubtitle)->Unit(benchmark::kMillisecond);

// Fix All: every tenth subtitle runs into the next, so a tenth of the list and their
// neighbours change in one update, which the index then follows.
void BM_FixAll(benchmark::State &state)
{
    std::unique_ptr<Document> document;
    for (auto _ : state) {
        state.PauseTiming();
        document.reset();
        document = std::make_unique<Document>(true);
        state.ResumeTiming();
        const QualityFixes::Outcome outcome = QualityFixes::fixAll(document->controller, *document->index);
        benchmark::DoNotOptimize(outcome.changedSubtitles);
    }
}
BENCHMARK(BM_FixAll)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();

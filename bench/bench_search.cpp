// Finding and replacing over a long list: Replace All of plain text and of an expression
// over a million subtitles, and how soon an expression the engine gives up on is
// reported (40 a's and a b make (a+)+$ try every split of the a's).
#include "model/text/SubtitleSearch.h"

#include <benchmark/benchmark.h>

namespace {

SubtitleList realisticList(int count)
{
    static const QString lines[] = {
        QStringLiteral("Where were you last night?"),
        QStringLiteral("- I was at the café.\n- Again?"),
        QStringLiteral("He said the bridge is closed."),
        QStringLiteral("Große Straße, number forty-two."),
    };
    SubtitleList subtitles;
    subtitles.reserve(count);
    for (int i = 0; i < count; ++i)
        subtitles.append(Subtitle::create(lines[i % 4], i * 3.0, i * 3.0 + 2));
    return subtitles;
}

void replaceAll(benchmark::State &state, const QString &find, const QString &replacement, bool expression)
{
    const SubtitleList subtitles = realisticList(int(state.range(0)));
    const SubtitleSearch search(find, {false, false, expression});
    for (auto _ : state) {
        SubtitleSearch::Replacement result;
        SubtitleSearch::Progress progress;
        search.replaceAll(subtitles, replacement, result, progress);
        benchmark::DoNotOptimize(result.count);
    }
}

void BM_ReplaceAllPlainText(benchmark::State &state)
{
    replaceAll(state, QStringLiteral("the"), QStringLiteral("a"), false);
}

void BM_ReplaceAllExpression(benchmark::State &state)
{
    replaceAll(state, QStringLiteral("(\\w+) (\\w+)\\?"), QStringLiteral("\\2 \\1?"), true);
}

void BM_FindNextToTheEnd(benchmark::State &state)
{
    const SubtitleList subtitles = realisticList(int(state.range(0)));
    const SubtitleSearch search(QStringLiteral("not there"), {});
    for (auto _ : state) {
        SubtitleSearch::Progress progress;
        benchmark::DoNotOptimize(search.find(subtitles, 0, 0, false, progress));
    }
}

void BM_TooComplexReported(benchmark::State &state)
{
    SubtitleList subtitles;
    for (int i = 0; i < state.range(0); ++i)
        subtitles.append(Subtitle::create(QString(40, u'a') + u'b', i * 3.0, i * 3.0 + 2));
    const SubtitleSearch search(QStringLiteral("(a+)+$"), {false, false, true});
    for (auto _ : state) {
        SubtitleSearch::Progress progress;
        benchmark::DoNotOptimize(search.find(subtitles, 0, 0, false, progress));
        if (!progress.tooComplex)
            state.SkipWithError("the engine was expected to give up");
    }
}

} // namespace

BENCHMARK(BM_ReplaceAllPlainText)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAllExpression)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNextToTheEnd)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TooComplexReported)->Arg(5000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

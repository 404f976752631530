// What noticing other programs' changes costs at open and save: the identity of a file
// (a stat and a BLAKE2b digest of its bytes) against reading it as the editor does, and the
// look a save takes before writing when nothing changed (a stat).
#include "document/FileIdentity.h"
#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"
#include "format/SubtitleParser.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {

const QString &subtitleFile(int count)
{
    static QTemporaryDir dir;
    static QHash<int, QString> paths;
    auto it = paths.find(count);
    if (it == paths.end()) {
        SubtitleList list;
        for (int i = 0; i < count; ++i)
            list.append(Subtitle::create(QStringLiteral("A single line of dialogue, %1.").arg(i), i * 2.5,
                                                   i * 2.5 + 2));
        const QString path = dir.filePath(QStringLiteral("%1.srt").arg(count));
        if (!SubtitleFile::write(path, list, TextEncoding::Utf8))
            qFatal("cannot write the benchmark file");
        it = paths.insert(count, path);
    }
    return *it;
}

void identityOfFile(benchmark::State &state)
{
    const QString &path = subtitleFile(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(FileIdentity::of(path));
}

void readFile(benchmark::State &state)
{
    const QString &path = subtitleFile(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(SubtitleFile::read(path, TextEncoding::Utf8));
}

void unchangedBeforeSave(benchmark::State &state)
{
    const QString &path = subtitleFile(int(state.range(0)));
    const FileIdentity known = FileIdentity::of(path);
    for (auto _ : state)
        benchmark::DoNotOptimize(known.changedAt(path));
}

BENCHMARK(identityOfFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(readFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(unchangedBeforeSave)->Arg(1000000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

// Parse and serialize speed on generated SRT texts. `--benchmark_filter` picks one.
#include "format/SubtitleParser.h"
#include "format/TolerantSubtitleReader.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>

namespace {

QString generatedSrt(int count)
{
    SubtitleList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double start = i * 2.5;
        const QString text = i % 3 == 0 ? QStringLiteral("Subtitle number %1,\non two lines.").arg(i)
                                        : QStringLiteral("A single line of dialogue, %1.").arg(i);
        list.append(Subtitle::create(text, start, start + 2.0));
    }
    return SubtitleParser::shared().serialize(list);
}

const QString &cachedSrt(int count)
{
    static QHash<int, QString> cache;
    auto it = cache.find(count);
    if (it == cache.end())
        it = cache.insert(count, generatedSrt(count));
    return *it;
}

void parse(benchmark::State &state)
{
    const QString &text = cachedSrt(int(state.range(0)));
    for (auto _ : state) {
        auto result = SubtitleParser::shared().parse(text);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}

void serialize(benchmark::State &state)
{
    const auto list = SubtitleParser::shared().parse(cachedSrt(int(state.range(0)))).value();
    for (auto _ : state) {
        QString text = SubtitleParser::shared().serialize(list);
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same text as UTF-8 bytes, as a UTF-8 file is read.
void parseUtf8(benchmark::State &state)
{
    const QByteArray bytes = cachedSrt(int(state.range(0))).toUtf8();
    for (auto _ : state) {
        auto result = SubtitleParser::shared().parseUtf8(bytes);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void serializeUtf8(benchmark::State &state)
{
    const auto list = SubtitleParser::shared().parse(cachedSrt(int(state.range(0)))).value();
    for (auto _ : state) {
        auto bytes = SubtitleParser::shared().serializeUtf8(list, false, false);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The repairing read of a file the strict reader refuses at its first line (numbered
// from 0): every subtitle goes through the tolerant path.
void repair(benchmark::State &state)
{
    const QString text = QStringLiteral("0\n00:00:00,000 --> 00:00:00,500\nAdvert\n\n") + cachedSrt(int(state.range(0)));
    for (auto _ : state) {
        auto result = TolerantSubtitleReader::read(text);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}

BENCHMARK(parse)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(repair)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(serialize)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(parseUtf8)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(serializeUtf8)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // `cuewright-bench --write-srt N FILE` writes the generated text, so other tools
    // can be measured on the very same file.
    if (argc == 4 && QByteArray(argv[1]) == "--write-srt") {
        QFile file(QString::fromLocal8Bit(argv[3]));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(cachedSrt(QByteArray(argv[2]).toInt()).toUtf8());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

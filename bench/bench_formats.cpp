// Reading and writing each subtitle format on generated files of 10,000 subtitles with
// italics, colours and two-line texts, and writing one back with a subtitle edited (the
// work an ASS document's drawing by the player redoes after each change).
#include "format/SubtitleFormatIo.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

SubtitleList generated(int count)
{
    SubtitleList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double start = i * 2.5;
        const QString text = i % 3 == 0 ? QStringLiteral("<i>Subtitle number %1,</i>\non two lines.").arg(i)
                                        : QStringLiteral("A <font color=\"#ffff00\">single</font> line, %1.").arg(i);
        list.append(Subtitle::create(text, start, start + 2.0));
    }
    return list;
}

const QString &fileIn(SubtitleFormat::Id format)
{
    static QHash<int, QString> cache;
    auto it = cache.find(format);
    if (it == cache.end())
        it = cache.insert(format, SubtitleFormatIo::write(format, generated(10000), nullptr));
    return *it;
}

void read(benchmark::State &state)
{
    const auto format = SubtitleFormat::Id(state.range(0));
    const QString &text = fileIn(format);
    for (auto _ : state) {
        auto result = SubtitleFormatIo::read(format, text);
        benchmark::DoNotOptimize(result);
    }
    state.SetLabel(SubtitleFormat::shortName(format).toStdString());
    state.SetItemsProcessed(state.iterations() * 10000);
}

void writeWithOneEdited(benchmark::State &state)
{
    const auto format = SubtitleFormat::Id(state.range(0));
    const FormatReading reading = SubtitleFormatIo::read(format, fileIn(format)).value();
    reading.subtitles[5000]->setText(QStringLiteral("Edited."));
    for (auto _ : state) {
        QString text = SubtitleFormatIo::write(format, reading.subtitles, reading.keep.get());
        benchmark::DoNotOptimize(text);
    }
    state.SetLabel(SubtitleFormat::shortName(format).toStdString());
    state.SetItemsProcessed(state.iterations() * 10000);
}

void formats(benchmark::internal::Benchmark *bench)
{
    for (const SubtitleFormat::Id format : {SubtitleFormat::Srt, SubtitleFormat::WebVtt, SubtitleFormat::Ass, SubtitleFormat::Ttml, SubtitleFormat::EbuStl})
        bench->Arg(format);
    bench->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(read)->Apply(formats);
BENCHMARK(writeWithOneEdited)->Apply(formats);
BENCHMARK_MAIN();

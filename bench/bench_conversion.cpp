// Reading and writing a generated file of a million subtitles the way `cuewright --convert`
// does, once with plain ASCII texts and once with accented ones (é, ß, ø on every line,
// as most European subtitles have), side by side: the two should cost the same.
// The texts are those of bench/make-srt. The files are on a temporary folder, read from
// the page cache after the first run. `CUEWRIGHT_BENCH_ROWS` sets the count. Reading and
// writing use two threads: the CPU column is the whole process's time, steadier than the
// wall time when other programs share the cores.
#include "document/SubtitleFile.h"
#include "format/SubtitleParser.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

enum Texts { Ascii, Accented };

const int subtitleCount = qEnvironmentVariableIsSet("CUEWRIGHT_BENCH_ROWS")
                              ? qEnvironmentVariableIntValue("CUEWRIGHT_BENCH_ROWS")
                              : 1'000'000;

QByteArray stamp(qint64 ms)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld,%03lld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                  ms % 1000);
    return buffer;
}

// The file make-srt writes: two text lines a subtitle, the accented ones as long in
// characters as the plain ones.
QByteArray generated(Texts texts)
{
    const QByteArray first = texts == Accented ? "Untertitel Nummer %1, groß wie das Café" : "Subtitle line number %1, with some text";
    const QByteArray second = texts == Accented ? "og så en linje, ø" : "and a second line";
    QByteArray file;
    file.reserve(qsizetype(subtitleCount) * 110);
    for (int i = 0; i < subtitleCount; ++i) {
        const QByteArray number = QByteArray::number(i + 1);
        file += number + '\n' + stamp(i * 3000LL) + " --> " + stamp(i * 3000LL + 2000) + '\n';
        file += QByteArray(first).replace("%1", number) + '\n' + second + "\n\n";
    }
    return file;
}

struct Files
{
    QTemporaryDir folder;
    QString input[2];
};

Files &files()
{
    static Files instance;
    static bool written = false;
    if (!written) {
        for (Texts texts : {Ascii, Accented}) {
            instance.input[texts] = instance.folder.filePath(texts == Ascii ? "ascii.srt" : "accented.srt");
            QFile file(instance.input[texts]);
            if (!file.open(QIODevice::WriteOnly) || file.write(generated(texts)) < 0)
                qFatal("cannot write the generated file");
        }
        written = true;
    }
    return instance;
}

void label(benchmark::State &state)
{
    state.SetLabel(state.range(0) == Ascii ? "ascii" : "accented");
    state.SetItemsProcessed(state.iterations() * subtitleCount);
    state.SetBytesProcessed(state.iterations() * QFile(files().input[state.range(0)]).size());
}

// Reading the file as a document or `--convert` does.
void readFile(benchmark::State &state)
{
    const QString &input = files().input[state.range(0)];
    for (auto _ : state) {
        auto contents = SubtitleFile::read(input, TextEncoding::Automatic);
        if (!contents)
            state.SkipWithError("the generated file does not read");
        benchmark::DoNotOptimize(contents);
    }
    label(state);
}

// Writing the subtitles back as UTF-8, as read.
void writeFile(benchmark::State &state)
{
    const QString &input = files().input[state.range(0)];
    const auto contents = SubtitleFile::read(input, TextEncoding::Automatic);
    const QString output = files().folder.filePath("written.srt");
    for (auto _ : state) {
        if (!SubtitleFile::write(output, contents.value().subtitles, TextEncoding::Utf8, contents.value().format))
            state.SkipWithError("the file was not written");
    }
    label(state);
}

// The parser alone on the file's bytes in memory.
void parseBytes(benchmark::State &state)
{
    const QByteArray bytes = generated(Texts(state.range(0)));
    for (auto _ : state) {
        auto subtitles = SubtitleParser::shared().parseUtf8(bytes);
        benchmark::DoNotOptimize(subtitles);
    }
    label(state);
}

// The writer alone, into memory.
void serializeBytes(benchmark::State &state)
{
    const auto subtitles = SubtitleParser::shared().parseUtf8(generated(Texts(state.range(0)))).value();
    for (auto _ : state) {
        auto bytes = SubtitleParser::shared().serializeUtf8(subtitles, false, false);
        benchmark::DoNotOptimize(bytes);
    }
    label(state);
}

BENCHMARK(readFile)->Arg(Ascii)->Arg(Accented)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(writeFile)->Arg(Ascii)->Arg(Accented)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(parseBytes)->Arg(Ascii)->Arg(Accented)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(serializeBytes)->Arg(Ascii)->Arg(Accented)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace

BENCHMARK_MAIN();

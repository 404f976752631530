#include "app/commandline/QualityCommand.h"

#include "app/commandline/CommandLine.h"
#include "app/commandline/CommandLineOutput.h"
#include "app/commandline/FixedCopy.h"
#include "document/QualityProfiles.h"
#include "document/SaveTarget.h"
#include "document/SubtitleFile.h"
#include "format/QualityReportWriter.h"
#include "media/ShotChangesCommand.h"
#include "model/quality/ProblemIndex.h"
#include "model/quality/QualityFixes.h"
#include "model/quality/QualityReport.h"
#include "model/SubtitleController.h"
#include "system/ParallelHalves.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QFile>
#include <QTextStream>

#include <atomic>
#include <cmath>
#include <limits>

namespace {

// What one file gave: the rows of the file that is reported (the fixed copy with --fix).
struct FileResult
{
    QString reported;
    std::optional<QString> error;
    std::vector<QualityReport::Row> rows;
    QString fixSummary;
    qsizetype repairs = 0;
};

// Writes the fixed copy next to the file and returns its rows; nothing is written when
// the fixes change nothing. A format the program only reads is fixed into SRT.
FileResult fixed(const QString &path, const SubtitleFile::Contents &contents, const QualityReport &report,
                 const CommandLine::Request &options)
{
    FileResult result{path, {}, {}, {}};
    SubtitleController controller;
    controller.setSubtitles(contents.subtitles);
    ProblemIndex index(controller);
    index.setLimits(report.limits());
    index.setFrameRate(report.videoRate());
    index.setShotChanges(report.shotChanges());
    const QualityFixes::Outcome outcome = QualityFixes::fixAll(controller, index);
    result.fixSummary = outcome.summary();
    if (outcome.changedSubtitles == 0) {
        result.rows = QualityCommand::check(report, controller.subtitles());
        return result;
    }
    const bool sameFormat = SubtitleFormat::isWritable(contents.subtitleFormat);
    const SubtitleFormat::Id format = sameFormat ? contents.subtitleFormat : SubtitleFormat::Srt;
    const QString target = FixedCopy::pathFor(path, format);
    result.reported = target;
    QStringList inputs{path};
    if (!options.video.isEmpty())
        inputs.append(options.video);
    if (const auto allowed = CommandLineOutput::check(target, inputs); !allowed) {
        result.error = allowed.error();
        return result;
    }
    const int encoding = SubtitleFile::encodingFor(format, contents.encoding);
    const TextFileFormat text = contents.format.forWriting(contents.encoding, encoding);
    const auto bytes = SubtitleFile::encoded(controller.subtitles(), encoding,
                                             {text, format, sameFormat ? contents.keep.get() : nullptr});
    if (!bytes) {
        result.error = bytes.error().message;
        return result;
    }
    if (const auto written = FixedCopy::write(target, path, bytes.value()); !written) {
        result.error = written.error();
        return result;
    }
    result.fixSummary += u' ' + QualityCommand::tr("Written to %1.").arg(target);
    result.rows = QualityCommand::check(report, controller.subtitles());
    return result;
}

FileResult checkFile(const QString &path, const CommandLine::Request &options, const QualityReport &report)
{
    if (!SaveTarget::isFaithful(path))
        return {path, QualityCommand::tr("The file cannot be read because its name is not valid UTF-8 text."), {}, {}};
    const auto reading = options.repair ? SubtitleFile::Reading::Repairing : SubtitleFile::Reading::Strict;
    const auto contents = SubtitleFile::read(path, TextEncoding::Automatic, reading, options.frameRate);
    if (!contents)
        return {path, contents.error(), {}, {}};
    FileResult result{path, {}, QualityCommand::check(report, contents.value().subtitles), {}};
    if (options.fix && !result.rows.empty())
        result = fixed(path, contents.value(), report, options);
    result.repairs = contents.value().repairs.size() + contents.value().unlistedRepairs;
    return result;
}

// Files and folders as the files they stand for, in the order given. What `--fix` wrote
// in a folder is passed over, and said so: checked again, it would be fixed again.
QStringList expanded(const QStringList &paths, QTextStream &err)
{
    QStringList files;
    for (const QString &path : paths) {
        if (!QFileInfo(path).isDir()) {
            files.append(path);
            continue;
        }
        QStringList skipped;
        files += FixedCopy::withoutCopies(QualityCommand::subtitleFiles(path), skipped);
        if (!skipped.isEmpty())
            err << QualityCommand::printable(path) << QLatin1String(": ")
                << QualityCommand::tr("skipped %n fixed copy file(s) (NAME.fixed.EXT beside NAME.EXT); name one to check it.",
                                      nullptr, int(skipped.size()))
                << '\n';
    }
    return files;
}

// Any text file may be called ".txt": in a folder, only one whose first lines are MPL2 counts.
bool isMpl2Text(const QString &path)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) != 0)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return SubtitleFormat::detect(QString::fromUtf8(file.read(4096))) == SubtitleFormat::Mpl2;
}

QString jsonString(const QString &text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            quoted += u'\\' + QString(c);
        else if (c.unicode() < 0x20)
            quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            quoted += c;
    }
    return quoted + u'"';
}

QString jsonNumber(double value)
{
    return std::isfinite(value) ? QString::number(value, 'g', 10) : QStringLiteral("null");
}

void writeText(const FileResult &result, QTextStream &out)
{
    const QString name = QualityCommand::printable(result.reported);
    QString lines;
    for (const QualityReport::Row &row : result.rows) {
        lines += name + u':' + QString::number(row.number) + QLatin1String(": ") + QualityReport::id(row.kind);
        const QString value = QualityReportWriter::shownValue(row);
        if (!value.isEmpty()) {
            const QString unit = QualityReport::unit(row);
            lines += QLatin1String(": ") + value + u' ' + unit + QLatin1String(" (")
                     + QualityReport::number(row.limit, row) + u' ' + unit + u')';
        }
        lines += u'\n';
        // In parts, so that a million lines never wait in memory at once.
        if (lines.size() > 1 << 16) {
            out << lines;
            lines.clear();
        }
    }
    out << lines;
}

void writeJson(const FileResult &result, const QString &path, bool first, QTextStream &out)
{
    QString text = first ? QStringLiteral("\n    {") : QStringLiteral(",\n    {");
    text += QLatin1String("\"file\": ") + jsonString(path);
    if (result.reported != path)
        text += QLatin1String(", \"fixed\": ") + jsonString(result.reported);
    if (result.error) {
        out << text << QLatin1String(", \"error\": ") << jsonString(*result.error) << u'}';
        return;
    }
    text += QLatin1String(", \"problems\": [");
    bool firstRow = true;
    for (const QualityReport::Row &row : result.rows) {
        text += (firstRow ? QLatin1String("\n      ") : QLatin1String(",\n      "));
        firstRow = false;
        text += QLatin1String("{\"number\": ") + QString::number(row.number) + QLatin1String(", \"start\": ")
                + jsonNumber(row.start) + QLatin1String(", \"end\": ") + jsonNumber(row.end) + QLatin1String(", \"kind\": \"")
                + QualityReport::id(row.kind) + QLatin1String("\", \"value\": ") + jsonNumber(row.value)
                + QLatin1String(", \"limit\": ") + jsonNumber(row.limit) + QLatin1String(", \"unit\": \"")
                + QualityReport::unit(row) + QLatin1String("\"}");
    }
    text += firstRow ? QLatin1String("]}") : QLatin1String("\n    ]}");
    out << text;
}

} // namespace

std::vector<QualityReport::Row> QualityCommand::check(const QualityReport &report, const SubtitleList &subtitles)
{
    std::vector<QualityReport::Row> rows;
    const qsizetype count = subtitles.size();
    if (count < halvesFrom) {
        report.check(subtitles, 0, count, rows);
        return rows;
    }
    std::vector<QualityReport::Row> later;
    const qsizetype middle = count / 2;
    ParallelHalves::run([&] { report.check(subtitles, 0, middle, rows); },
                        [&] { report.check(subtitles, middle, count, later); });
    rows.insert(rows.end(), later.begin(), later.end());
    return rows;
}

QString QualityCommand::printable(const QString &path)
{
    QString text;
    text.reserve(path.size());
    for (const QChar c : path) {
        if (c == u'\\')
            text += QLatin1String("\\\\");
        else if (c == u'\n')
            text += QLatin1String("\\n");
        else if (c == u'\r')
            text += QLatin1String("\\r");
        else if (c == u'\t')
            text += QLatin1String("\\t");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Separator_Line
                 || c.category() == QChar::Separator_Paragraph || c.unicode() == 0x85)
            text += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            text += c;
    }
    return text;
}

QStringList QualityCommand::subtitleFiles(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (SubtitleFormat::fromFileName(path) || isMpl2Text(path))
            files.append(path);
    }
    files.sort();
    return files;
}

int QualityCommand::run(const CommandLine::Request &request, QTextStream &out, QTextStream &err)
{
    const auto profile = QualityProfiles().find(request.operands.first());
    if (!profile) {
        err << profile.error() << '\n';
        return WrongArguments;
    }
    CommandLine::Request given = request;
    given.operands.removeFirst(); // the profile: the rest are the files and folders
    // A folder or several files have no one film: its cuts would be checked against
    // subtitles of other films.
    if (!given.video.isEmpty() && (given.operands.size() != 1 || QFileInfo(given.operands.first()).isDir())) {
        err << tr("The option \"--video\" goes with one subtitle file, the one timed to that video; "
                  "check a folder or several files without it.\n");
        return WrongArguments;
    }
    ShotChanges shotChanges;
    if (!given.video.isEmpty()) {
        auto scanned = ShotChangesCommand::find(given.video);
        if (!scanned) {
            err << printable(scanned.error()) << '\n';
            return Unreadable;
        }
        shotChanges = ShotChanges(std::move(scanned.value().times));
        if (given.frameRate == 0)
            given.frameRate = scanned.value().frameRate;
    }
    const QualityReport report(profile.value().limitsFor(given.language), given.frameRate, std::move(shotChanges));
    const QStringList files = expanded(given.operands, err);

    // Two workers take the next file until none is left; each result has its own place.
    std::vector<FileResult> results(size_t(files.size()));
    std::atomic<qsizetype> nextFile = 0;
    const auto work = [&] {
        for (qsizetype i = nextFile++; i < files.size(); i = nextFile++)
            results[size_t(i)] = checkFile(files[i], given, report);
    };
    if (files.size() > 1)
        ParallelHalves::run(work, work);
    else
        work();

    int status = NoProblems;
    qsizetype refused = 0;
    if (given.json)
        out << QLatin1String("{\"profile\": ") << jsonString(profile.value().name) << QLatin1String(", \"files\": [");
    for (qsizetype i = 0; i < files.size(); ++i) {
        const FileResult &result = results[size_t(i)];
        if (result.repairs > 0)
            err << printable(files[i]) << QLatin1String(": ") << tr("read with %n repair(s)", nullptr, int(result.repairs)) << '\n';
        if (!result.fixSummary.isEmpty())
            err << printable(files[i]) << QLatin1String(": ") << result.fixSummary << '\n';
        if (result.error) {
            err << printable(result.reported) << QLatin1String(": ") << *result.error << '\n';
            status = Unreadable;
            refused += result.reported == files[i] ? 1 : 0;
        } else if (!result.rows.empty() && status == NoProblems) {
            status = Problems;
        }
        if (given.json)
            writeJson(result, files[i], i == 0, out);
        else
            writeText(result, out);
    }
    if (given.json)
        out << (files.isEmpty() ? QLatin1String("]}\n") : QLatin1String("\n  ]}\n"));
    if (refused > 0)
        err << (given.repair ? tr("%1 of %n file(s) could not be read.", nullptr, int(files.size())).arg(refused)
                                       : tr("%1 of %n file(s) could not be read; --repair reads what plainly means one thing.",
                                            nullptr, int(files.size())).arg(refused))
            << '\n';
    return status;
}

#pragma once

#include "app/commandline/CommandLine.h"
#include "model/quality/QualityReport.h"

#include <QCoreApplication>
#include <QStringList>

#include <vector>

class QTextStream;

// `cuewright --qc PROFILE [--json] [--fix] [--repair] [--fps RATE] [--language CODE] FILE_OR_FOLDER…`
// (or `--video VIDEO FILE`, which checks the film's shot changes too): every problem of
// every file against a quality profile, one line each ("film.srt:12: too-fast: 23.4 cps
// (20 cps)") or one JSON document. A folder stands for the subtitle files in it and its
// subfolders, by path. Files are checked two at a time and a long file in two halves; the
// output keeps the order of the files whatever the threads do.
class QualityCommand
{
    Q_DECLARE_TR_FUNCTIONS(QualityCommand)

public:
    enum Status { NoProblems = 0, Problems = 1, WrongArguments = 2, Unreadable = 3 };

    // The request's operands are the profile, then the files and folders. Returns the exit
    // status: an unreadable file outweighs a problem.
    static int run(const CommandLine::Request &request, QTextStream &out, QTextStream &err);

    // The subtitle files (by the extensions the program reads) in `folder` and below,
    // sorted by path (a ".txt" only when its first lines are MPL2); hidden files and links
    // to folders are passed over.
    static QStringList subtitleFiles(const QString &folder);
    // The report's rows of `subtitles`, a long list checked in two halves at once.
    static std::vector<QualityReport::Row> check(const QualityReport &report, const SubtitleList &subtitles);
    static constexpr qsizetype halvesFrom = 50000;

    // A path as a line of the report may hold it: a line break, a control character or a
    // backslash in a name is written as an escape, so that no name forges a line.
    static QString printable(const QString &path);
};

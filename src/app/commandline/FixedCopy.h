#pragma once

#include "format/SubtitleFormat.h"
#include "model/Expected.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QStringList>

// The copy `--qc --fix` writes beside a file, under a name the program chooses itself.
// Since the user never named it, it is written only where it harms nothing: as a new
// file renamed into place, never through a link, and over an existing file only when that
// is a fixed copy this program made of the same file. Each copy is marked so in an
// extended attribute; a file without the mark (or with other names) is left alone.
class FixedCopy
{
    Q_DECLARE_TR_FUNCTIONS(FixedCopy)

public:
    // The copy of `path` written in `format`: "film.srt" gives "film.fixed.srt", and a name
    // whose suffix is no written format's takes the format's own ("film.sub" as SRT gives
    // "film.fixed.srt").
    static QString pathFor(const QString &path, SubtitleFormat::Id format);
    // `files` without the fixed copies of others among them, which go to `skipped`.
    static QStringList withoutCopies(const QStringList &files, QStringList &skipped);
    // Writes `bytes` as the fixed copy of `source` at `path`, or says why not.
    [[nodiscard]] static Expected<void, QString> write(const QString &path, const QString &source, const QByteArray &bytes);
};

#include "app/commandline/CommandLineOutput.h"

#include "document/SaveTarget.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

Expected<SubtitleFormat::Id, QString> CommandLineOutput::check(const QString &output, const QStringList &inputs)
{
    if (!SaveTarget::isFaithful(output))
        return tr("The file cannot be written because its name is not valid UTF-8 text.");
    // Writing through a link would change a file the command does not name.
    if (QFileInfo(output).isSymLink())
        return tr("The file is a symbolic link; name the file it leads to, so that nothing is written through the link.");
    for (const QString &input : inputs) {
        if (sameFile(output, input))
            return tr("The file is the input “%1”; name another file to write, so that the input stays as it is.").arg(input);
    }
    if (const auto allowed = SaveTarget::check(output); !allowed)
        return allowed.error();
    const QString suffix = QFileInfo(output).suffix();
    if (suffix.isEmpty())
        return SubtitleFormat::Srt;
    const auto named = SubtitleFormat::fromFileName(output);
    if (named && SubtitleFormat::isWritable(*named))
        return *named;
    if (named)
        return tr("%1 files are read, not written; name the output after a format that is (.srt, .vtt, .ass, .ssa, .ttml).")
            .arg(SubtitleFormat::name(*named));
    return tr("“.%1” is not the suffix of a subtitle format; name the output after one that is written (.srt, .vtt, .ass, .ssa, .ttml).")
        .arg(suffix);
}

bool CommandLineOutput::sameFile(const QString &first, const QString &second)
{
    struct stat a = {};
    struct stat b = {};
    return ::stat(QFile::encodeName(first).constData(), &a) == 0 && ::stat(QFile::encodeName(second).constData(), &b) == 0
           && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

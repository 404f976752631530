#include "app/commandline/FixedCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// Holds the name of the file the copy was made from.
constexpr char markName[] = "user.cuewright.fixed-from";

QByteArray markOf(const QByteArray &path)
{
    QByteArray value(4096, Qt::Uninitialized);
    const ssize_t size = ::lgetxattr(path.constData(), markName, value.data(), size_t(value.size()));
    return size < 0 ? QByteArray() : value.first(size);
}

// Into place without replacing a file that appeared meanwhile.
bool renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: a new name cannot replace either.
    if (::link(from.constData(), to.constData()) != 0)
        return false;
    ::unlink(from.constData());
    return true;
}

// "f/film.srt" gives "f/film"; a name that is all suffix (".srt") is kept whole.
QString withoutSuffix(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    const qsizetype slash = path.lastIndexOf(u'/');
    return dot > slash + 1 ? path.first(dot) : path;
}

} // namespace

QString FixedCopy::pathFor(const QString &path, SubtitleFormat::Id format)
{
    // Built from the path as given, so that the line printed names it as the user did.
    const auto named = SubtitleFormat::fromFileName(path);
    const QString suffix = named && SubtitleFormat::isWritable(*named) ? QFileInfo(path).suffix()
                                                                        : SubtitleFormat::extensions(format).constFirst();
    return withoutSuffix(path) + QStringLiteral(".fixed.") + suffix;
}

QStringList FixedCopy::withoutCopies(const QStringList &files, QStringList &skipped)
{
    QSet<QString> bases;
    for (const QString &file : files)
        bases.insert(withoutSuffix(file));
    const QLatin1String fixed(".fixed");
    QStringList kept;
    for (const QString &file : files) {
        const QString base = withoutSuffix(file);
        const bool copy = base.endsWith(fixed) && bases.contains(base.chopped(fixed.size()));
        (copy ? skipped : kept).append(file);
    }
    return kept;
}

Expected<void, QString> FixedCopy::write(const QString &path, const QString &source, const QByteArray &bytes)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray mark = QFile::encodeName(QFileInfo(source).fileName());
    struct stat existing = {};
    const bool exists = ::lstat(target.constData(), &existing) == 0;
    if (exists && S_ISLNK(existing.st_mode))
        return tr("A symbolic link has the name of the fixed copy; nothing was written through it.");
    if (exists && (!S_ISREG(existing.st_mode) || existing.st_nlink != 1 || markOf(target) != mark))
        return tr("A file that is not a fixed copy of “%1” has this name and was left as it is; move it away to have the copy written.")
            .arg(QFileInfo(source).fileName());

    QTemporaryFile file(QFileInfo(path).dir().filePath(QStringLiteral(".%1.XXXXXX").arg(QFileInfo(path).fileName())));
    if (!file.open())
        return tr("The fixed copy could not be written.\n%1").arg(file.errorString());
    file.setPermissions(QFileInfo(source).permissions());
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0)
        return tr("The fixed copy could not be written.\n%1").arg(file.errorString());
    // Without the mark (a file system that keeps no attributes) the copy is still
    // written; only a later run will not replace it.
    ::fsetxattr(file.handle(), markName, mark.constData(), size_t(mark.size()), 0);
    const QByteArray temporary = QFile::encodeName(file.fileName());
    const bool renamed = exists ? ::rename(temporary.constData(), target.constData()) == 0
                                : renameNoReplace(temporary, target);
    if (!renamed)
        return tr("The fixed copy could not be written.\n%1").arg(qt_error_string(errno));
    file.setAutoRemove(false);
    return {};
}

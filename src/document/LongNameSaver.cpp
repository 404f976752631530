#include "document/LongNameSaver.h"

#include "document/FileAttributes.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// QSaveFile adds a dot and six characters to the name.
constexpr int temporarySuffixLength = 7;

} // namespace

bool LongNameSaver::isNeeded(const QString &path)
{
    return QFile::encodeName(QFileInfo(path).fileName()).size() + temporarySuffixLength > NAME_MAX;
}

Expected<void, QString> LongNameSaver::write(const QString &path, const QByteArray &bytes)
{
    // Through a symlink, the file it points to is replaced, as QSaveFile does.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    QTemporaryFile temporary(QFileInfo(target).absolutePath() + QStringLiteral("/.cuewright-XXXXXX"));
    if (!temporary.open())
        return tr("The file could not be saved.\n%1").arg(temporary.errorString());
    if (QFileInfo::exists(target)) {
        FileAttributes::copy(target, temporary.handle());
    } else {
        // A new file gets the usual mode, not the temporary file's private one.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(temporary.handle(), 0666 & ~mask);
    }
    errno = 0;
    if (temporary.write(bytes) != bytes.size() || !temporary.flush() || ::fsync(temporary.handle()) != 0)
        return tr("The file could not be saved.\n%1").arg(qt_error_string(errno));
    if (::rename(QFile::encodeName(temporary.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        return tr("The file could not be saved.\n%1").arg(qt_error_string(errno));
    temporary.setAutoRemove(false);
    return {};
}

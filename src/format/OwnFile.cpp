#include "format/OwnFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString UnfinishedMark = QStringLiteral(".new-");
constexpr qsizetype UnfinishedTailLength = 6; // the XXXXXX of mkostemp
constexpr qint64 UnfinishedAgeSeconds = 60 * 60;

// The process's umask, without changing it even for a moment (other threads create files).
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(mask & 0777);
            }
        }
    }
    return 022;
}

bool writeAll(int descriptor, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(descriptor, bytes.data() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

Expected<QByteArray, QString> OwnFile::read(const QString &path, qint64 maximumSize, Links links)
{
    // Without blocking: opening a pipe for reading would wait for a writer.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == Links::Followed ? 0 : O_NOFOLLOW);
    const int descriptor = ::open(QFile::encodeName(path).constData(), flags);
    if (descriptor < 0) {
        if (errno == ELOOP && links != Links::Followed)
            return tr("“%1” is a symbolic link, which is never followed.").arg(path);
        return tr("“%1” cannot be read.\n%2").arg(path, qt_error_string(errno));
    }
    struct stat info {};
    QString refusal;
    if (::fstat(descriptor, &info) != 0)
        refusal = tr("“%1” cannot be read.\n%2").arg(path, qt_error_string(errno));
    else if (!S_ISREG(info.st_mode))
        refusal = tr("“%1” is not a regular file.").arg(path);
    else if (links == Links::Refused && info.st_nlink != 1)
        refusal = tr("“%1” has other names (hard links), so it may be another program's file.").arg(path);
    QByteArray bytes;
    if (refusal.isEmpty() && info.st_size <= maximumSize) {
        // One byte more than measured tells a file that grew since.
        bytes.resize(qsizetype(std::min<qint64>(info.st_size, maximumSize) + 1));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(descriptor, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                refusal = tr("“%1” cannot be read.\n%2").arg(path, qt_error_string(errno));
                break;
            }
            if (got == 0)
                break; // shortened meanwhile: what is there
            done += got;
        }
        bytes.truncate(done);
    }
    ::close(descriptor);
    if (refusal.isEmpty() && (info.st_size > maximumSize || bytes.size() > maximumSize))
        refusal = tr("“%1” is larger than %2 MB.").arg(path).arg(maximumSize / (1024 * 1024));
    if (!refusal.isEmpty())
        return refusal;
    return bytes;
}

Expected<void, QString> OwnFile::write(const QString &path, QByteArrayView bytes, mode_t mode)
{
    const QByteArray target = QFile::encodeName(path);
    // mkostemp makes the file with O_EXCL: nothing that was there is written into.
    QByteArray temporary = target + QFile::encodeName(UnfinishedMark) + "XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        return tr("“%1” cannot be written.\n%2").arg(path, qt_error_string(errno));
    const bool written = ::fchmod(descriptor, mode & ~currentUmask()) == 0 && writeAll(descriptor, bytes)
                      && ::fsync(descriptor) == 0;
    const int writeError = errno;
    if (::close(descriptor) != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.constData());
        return tr("“%1” cannot be written.\n%2").arg(path, qt_error_string(error));
    }
    // rename() replaces a symbolic link at the name itself, never what it points to.
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.constData());
        return tr("“%1” cannot be written.\n%2").arg(path, qt_error_string(renameError));
    }
    return {};
}

void OwnFile::removeUnfinishedWrites(const QString &folder, const QString &names)
{
    const QDir dir(folder);
    const QRegularExpression finished(QRegularExpression::wildcardToRegularExpression(names));
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-UnfinishedAgeSeconds);
    const QFileInfoList found = dir.entryInfoList({QLatin1Char('*') + UnfinishedMark + QLatin1Char('*')},
                                                  QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &file : found) {
        const QString name = file.fileName();
        const qsizetype mark = name.size() - UnfinishedTailLength - UnfinishedMark.size();
        if (mark <= 0 || !QStringView(name).sliced(mark).startsWith(UnfinishedMark)
            || !finished.match(name.left(mark)).hasMatch() || file.isSymLink() || file.lastModified().toUTC() >= before)
            continue;
        QFile::remove(file.absoluteFilePath());
    }
}

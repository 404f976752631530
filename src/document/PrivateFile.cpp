#include "document/PrivateFile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int descriptor, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(descriptor, bytes.data() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

std::optional<QString> PrivateFile::replace(const QString &path, QByteArrayView bytes)
{
    const QByteArray target = QFile::encodeName(path);
    // mkstemp makes the file with O_EXCL and mode 0600: nothing else is written into.
    QByteArray temporary = target + ".new-XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        return tr("“%1” cannot be written.\n%2").arg(path, systemMessage(errno));
    const bool written = writeAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    const int writeError = errno;
    if (::close(descriptor) != 0 || !written) {
        ::unlink(temporary.constData());
        return tr("“%1” cannot be written.\n%2").arg(path, systemMessage(written ? errno : writeError));
    }
    // rename replaces a symbolic link at the name itself, never what it points to.
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.constData());
        return tr("“%1” cannot be written.\n%2").arg(path, systemMessage(renameError));
    }
    return std::nullopt;
}

Expected<QByteArray, QString> PrivateFile::read(const QString &path, qint64 maximumSize)
{
    // Non-blocking, so that a pipe put at the name cannot hold the program.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ELOOP)
            return tr("“%1” is a symbolic link, which is never followed.").arg(path);
        return tr("“%1” cannot be read.\n%2").arg(path, systemMessage(errno));
    }
    struct stat info {};
    QString refusal;
    if (::fstat(descriptor, &info) != 0)
        refusal = tr("“%1” cannot be read.\n%2").arg(path, systemMessage(errno));
    else if (!S_ISREG(info.st_mode))
        refusal = tr("“%1” is not a regular file.").arg(path);
    else if (info.st_size > maximumSize)
        refusal = tr("“%1” is larger than %2 MB.").arg(path).arg(maximumSize / (1024 * 1024));
    QByteArray bytes;
    if (refusal.isEmpty()) {
        bytes.resize(qsizetype(info.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(descriptor, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                refusal = tr("“%1” cannot be read.\n%2").arg(path, systemMessage(errno));
                break;
            }
            if (got == 0)
                break; // shortened meanwhile: what is there
            done += got;
        }
        bytes.truncate(done);
    }
    ::close(descriptor);
    if (!refusal.isEmpty())
        return refusal;
    return bytes;
}

#include "format/OwnFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<QByteArray> OwnFile::read(const QString &path, qint64 maximumSize, Links links)
{
    // Without blocking: opening a pipe for reading would wait for a writer.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == Links::Refused ? O_NOFOLLOW : 0);
    const int descriptor = ::open(QFile::encodeName(path).constData(), flags);
    if (descriptor < 0)
        return std::nullopt;
    struct stat info {};
    QByteArray bytes;
    const bool usable = ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maximumSize
                     && (links == Links::Followed || info.st_nlink == 1);
    if (usable) {
        // One byte more than allowed tells a file that grew since it was measured.
        bytes.resize(maximumSize + 1 > info.st_size ? info.st_size + 1 : maximumSize + 1);
        qsizetype length = 0;
        while (length < bytes.size()) {
            const ssize_t got = ::read(descriptor, bytes.data() + length, size_t(bytes.size() - length));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            length += got;
        }
        bytes.truncate(length);
    }
    ::close(descriptor);
    if (!usable || bytes.size() > maximumSize)
        return std::nullopt;
    return bytes;
}

std::optional<QString> OwnFile::write(const QString &path, const QByteArray &bytes, mode_t mode)
{
    const QString folder = QFileInfo(path).absolutePath();
    QByteArray temporary;
    int descriptor = -1;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporary = QFile::encodeName(folder + QStringLiteral("/.cuewright-%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        descriptor = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (descriptor < 0 && errno != EEXIST)
            break;
    }
    if (descriptor < 0)
        return qt_error_string(errno);
    int error = 0;
    qsizetype written = 0;
    while (written < bytes.size() && error == 0) {
        const ssize_t put = ::write(descriptor, bytes.constData() + written, size_t(bytes.size() - written));
        if (put > 0)
            written += put;
        else if (put == 0 || errno != EINTR)
            error = put == 0 ? ENOSPC : errno;
    }
    if (error == 0 && ::fsync(descriptor) != 0)
        error = errno;
    ::close(descriptor);
    // rename() replaces a link at the name, not the file it points to.
    if (error == 0 && ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return qt_error_string(error);
    }
    return std::nullopt;
}

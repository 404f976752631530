#include "document/InPlaceWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Copies `size` bytes from one descriptor to another, from the start of both.
bool copyAll(int from, int to, off_t size)
{
    QByteArray buffer(1024 * 1024, Qt::Uninitialized);
    for (off_t done = 0; done < size;) {
        const ssize_t got = ::pread(from, buffer.data(), size_t(std::min<off_t>(buffer.size(), size - done)), done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        for (ssize_t put = 0; put < got;) {
            const ssize_t wrote = ::pwrite(to, buffer.constData() + put, size_t(got - put), done + put);
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote <= 0)
                return false;
            put += wrote;
        }
        done += got;
    }
    return ::ftruncate(to, size) == 0 && ::fsync(to) == 0;
}

void syncFolder(const QString &folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

// A new private file in the kept folder, named after the file so the user can tell
// whose content it holds; its descriptor and path, or -1.
std::pair<int, QString> makeKeptFile(const QString &path)
{
    const QString folder = InPlaceWriter::keptFolder();
    if (!QDir().mkpath(folder))
        return {-1, {}};
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    const QString name = QFileInfo(path).fileName();
    for (int number = 1; number < 1000; ++number) {
        const QString kept = folder + u'/' + (number == 1 ? name : QStringLiteral("%1 (%2)").arg(name).arg(number));
        const int descriptor = ::open(QFile::encodeName(kept).constData(),
                                      O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (descriptor >= 0)
            return {descriptor, kept};
        if (errno != EEXIST)
            break;
    }
    return {-1, {}};
}

} // namespace

QString InPlaceWriter::keptFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/kept-while-saving");
}

bool InPlaceWriter::isNeeded(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    // Through a symlink, the folder that matters is the one of the file it points to.
    const QString folder = QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath();
    // The program's own files (unsaved work kept for recovery) are always replaced: a
    // second name there was not made by the program and is not written through.
    const QString ownData = QFileInfo(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).canonicalFilePath();
    if (!ownData.isEmpty() && (folder == ownData || folder.startsWith(ownData + u'/')))
        return false;
    return info.st_nlink > 1 || ::access(QFile::encodeName(folder).constData(), W_OK) != 0;
}

Expected<void, QString> InPlaceWriter::write(const QString &path, const std::function<bool(QFileDevice &)> &fill)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    struct stat info {};
    if (descriptor < 0 || ::fstat(descriptor, &info) != 0) {
        const QString reason = qt_error_string(errno);
        if (descriptor >= 0)
            ::close(descriptor);
        return tr("The file could not be saved.\n%1").arg(reason);
    }

    const auto [keptDescriptor, kept] = makeKeptFile(path);
    if (keptDescriptor < 0 || !copyAll(descriptor, keptDescriptor, info.st_size)) {
        const QString reason = qt_error_string(errno);
        if (keptDescriptor >= 0) {
            ::close(keptDescriptor);
            QFile::remove(kept);
        }
        ::close(descriptor);
        return tr("The file could not be saved, because its content could not be kept safe while it is written.\n%1")
            .arg(reason);
    }
    syncFolder(keptFolder());

    QFile file;
    errno = 0;
    bool written = file.open(descriptor, QIODevice::ReadWrite, QFileDevice::DontCloseHandle) && fill(file) && file.flush()
                && ::ftruncate(descriptor, file.pos()) == 0 && ::fsync(descriptor) == 0;
    const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : qt_error_string(errno);
    file.close();

    Expected<void, QString> result;
    bool keepCopy = false;
    if (!written) {
        keepCopy = !copyAll(keptDescriptor, descriptor, info.st_size);
        result = keepCopy ? tr("The file could not be saved, and its old content could not be put back: it is kept in %1.\n%2")
                                .arg(kept, reason)
                          : tr("The file could not be saved.\n%1").arg(reason);
    }
    ::close(keptDescriptor);
    ::close(descriptor);
    if (!keepCopy)
        QFile::remove(kept);
    return result;
}

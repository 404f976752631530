#include "document/InPlaceWriter.h"

#include "format/OwnFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>

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

// A new private folder for one save's kept copy, under the kept folder; empty when none
// can be made.
QString makeSaveFolder()
{
    const QString folder = InPlaceWriter::keptFolder();
    if (!QDir().mkpath(folder))
        return {};
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    QByteArray name = QFile::encodeName(folder + QStringLiteral("/save-XXXXXX"));
    return ::mkdtemp(name.data()) ? QFile::decodeName(name) : QString();
}

// Which file is being written and what it was, so that the next start can tell a file
// left half written from one the save never touched.
QByteArray noteOf(const QString &path, const struct stat &info)
{
    const QJsonObject note{
        {QStringLiteral("path"), QFileInfo(path).absoluteFilePath()},
        {QStringLiteral("device"), QString::number(quint64(info.st_dev))},
        {QStringLiteral("inode"), QString::number(quint64(info.st_ino))},
        {QStringLiteral("size"), QString::number(qint64(info.st_size))},
        {QStringLiteral("modifiedNs"), QString::number(qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec)},
        {QStringLiteral("startedAt"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)},
    };
    return QJsonDocument(note).toJson();
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

    const QString folder = makeSaveFolder();
    QLockFile lock(folder + u'/' + lockName());
    lock.setStaleLockTime(0);
    const QString kept = folder + u'/' + QFileInfo(path).fileName();
    const QString note = folder + u'/' + noteName();
    const int keptDescriptor = folder.isEmpty() || !lock.tryLock(0)
                                 ? -1
                                 : ::open(QFile::encodeName(kept).constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    const auto forgetKept = [&] {
        QFile::remove(note);
        syncFolder(folder);
        QFile::remove(kept);
        lock.unlock();
        QDir().rmdir(folder);
    };
    if (keptDescriptor < 0 || !copyAll(descriptor, keptDescriptor, info.st_size)
        || !OwnFile::write(note, noteOf(path, info), 0600)) {
        const QString reason = qt_error_string(errno);
        if (keptDescriptor >= 0)
            ::close(keptDescriptor);
        if (!folder.isEmpty())
            forgetKept();
        ::close(descriptor);
        return tr("The file could not be saved, because its content could not be kept safe while it is written.\n%1")
            .arg(reason);
    }
    syncFolder(folder);

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
    // The note goes first: once it is gone, the file is whole again. A copy kept because
    // the old content could not be put back keeps its note, and is offered at the next start.
    if (!keepCopy)
        forgetKept();
    return result;
}

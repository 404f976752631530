#include "document/InterruptedSave.h"

#include "format/OwnFile.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

#include <sys/stat.h>

namespace {

constexpr qint64 noteLimit = 64 * 1024;
// A folder a running save has made but not locked yet is this young at most.
constexpr int unlockedGraceSeconds = 60;

// Whether the note names a file that a save began to write and did not finish: the same
// file as then, changed since.
bool leftHalfWritten(const QJsonObject &note)
{
    struct stat info {};
    const QString path = note.value(QStringLiteral("path")).toString();
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    const auto noted = [&note](const char *key) { return note.value(QLatin1String(key)).toString().toLongLong(); };
    if (qint64(info.st_dev) != noted("device") || qint64(info.st_ino) != noted("inode"))
        return false;
    const qint64 modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return qint64(info.st_size) != noted("size") || modifiedNs != noted("modifiedNs");
}

} // namespace

QList<InterruptedSave> InterruptedSave::claim(const QString &folder)
{
    QList<InterruptedSave> result;
    const QDateTime young = QDateTime::currentDateTimeUtc().addSecs(-unlockedGraceSeconds);
    for (const QFileInfo &save : QDir(folder).entryInfoList({QStringLiteral("save-*")}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        const QString lockPath = save.absoluteFilePath() + u'/' + InPlaceWriter::lockName();
        if (!QFileInfo::exists(lockPath) && save.lastModified().toUTC() > young)
            continue;
        auto lock = std::make_shared<QLockFile>(lockPath);
        lock->setStaleLockTime(0); // a live save keeps its folder however long it runs
        if (!lock->tryLock(0))
            continue;
        const auto note = OwnFile::read(save.absoluteFilePath() + u'/' + InPlaceWriter::noteName(), noteLimit);
        const QJsonObject noted = note ? QJsonDocument::fromJson(note.value()).object() : QJsonObject();
        InterruptedSave found;
        found.m_folder = save.absoluteFilePath();
        found.m_lock = lock;
        found.path = noted.value(QStringLiteral("path")).toString();
        found.keptPath = found.m_folder + u'/' + QFileInfo(found.path).fileName();
        found.startedAt = QDateTime::fromString(noted.value(QStringLiteral("startedAt")).toString(), Qt::ISODateWithMs);
        const QFileInfo kept(found.keptPath);
        if (leftHalfWritten(noted) && kept.isFile() && !kept.isSymLink())
            result.append(found);
        else
            found.discard();
    }
    return result;
}

Expected<void, QString> InterruptedSave::putBack() const
{
    QFile kept(keptPath);
    if (!kept.open(QIODevice::ReadOnly))
        return tr("The kept content of “%1” cannot be read.\n%2").arg(QFileInfo(path).fileName(), kept.errorString());
    // Into the file, as the interrupted save wrote: its other names see it too.
    auto written = InPlaceWriter::write(path, [&kept](QFileDevice &file) {
        while (!kept.atEnd()) {
            const QByteArray chunk = kept.read(1024 * 1024);
            if (chunk.isEmpty() || file.write(chunk) != chunk.size())
                return false;
        }
        return true;
    });
    if (written)
        discard();
    return written;
}

void InterruptedSave::discard() const
{
    QDir(m_folder).removeRecursively();
    if (m_lock)
        m_lock->unlock();
}

#include "app/RecoveryStore.h"

#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>
#include <cmath>

namespace {

constexpr QFile::Permissions privateFile = QFile::ReadOwner | QFile::WriteOwner;

} // namespace

RecoveryStore::RecoveryStore(QString directory)
    : m_directory(std::move(directory))
{
}

QString RecoveryStore::defaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
}

QString RecoveryStore::newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString RecoveryStore::textPath(const QString &id) const
{
    return m_directory + u'/' + id + QStringLiteral(".srt");
}

QString RecoveryStore::infoPath(const QString &id) const
{
    return m_directory + u'/' + id + QStringLiteral(".json");
}

std::optional<QString> RecoveryStore::makePrivateFolder() const
{
    if (!QDir().mkpath(m_directory)
        || !QFile::setPermissions(m_directory, privateFile | QFile::ExeOwner))
        return QObject::tr("The folder %1 cannot be created.").arg(m_directory);
    return std::nullopt;
}

QByteArray RecoveryStore::serialize(const Description &description)
{
    QJsonObject info;
    info.insert(QStringLiteral("originalPath"), description.originalPath);
    if (description.encoding)
        info.insert(QStringLiteral("encoding"), *description.encoding);
    info.insert(QStringLiteral("savedAt"), description.savedAt.toUTC().toString(Qt::ISODateWithMs));
    if (description.base.exists())
        info.insert(QStringLiteral("base"), QJsonObject::fromVariantMap(description.base.toVariant()));
    return QJsonDocument(info).toJson();
}

RecoveryStore::Description RecoveryStore::parseDescription(const QByteArray &bytes)
{
    const QJsonObject info = QJsonDocument::fromJson(bytes).object();
    Description description;
    description.originalPath = info.value(QStringLiteral("originalPath")).toString();
    // An encoding number is a whole positive number; anything else means none.
    const double encoding = info.value(QStringLiteral("encoding")).toDouble(-1);
    if (encoding >= 1 && encoding <= 1e6 && encoding == std::floor(encoding))
        description.encoding = int(encoding);
    description.savedAt = QDateTime::fromString(info.value(QStringLiteral("savedAt")).toString(), Qt::ISODateWithMs);
    description.base = FileIdentity::fromVariant(info.value(QStringLiteral("base")).toObject().toVariantMap());
    return description;
}

std::optional<QString> RecoveryStore::save(const QString &id, const SubtitleList &subtitles,
                                           const Description &description)
{
    if (auto error = makePrivateFolder())
        return error;
    // The text first: a kill between the two writes leaves a text without its
    // description, which is still offered.
    if (auto error = SubtitleFile::write(textPath(id), subtitles, TextEncoding::Utf8))
        return error;
    QFile::setPermissions(textPath(id), privateFile);

    Description written = description;
    written.savedAt = QDateTime::currentDateTimeUtc();
    QSaveFile file(infoPath(id));
    if (!file.open(QIODevice::WriteOnly) || file.write(serialize(written)) < 0 || !file.commit())
        return file.errorString();
    QFile::setPermissions(infoPath(id), privateFile);
    return std::nullopt;
}

void RecoveryStore::remove(const QString &id)
{
    QFile::remove(infoPath(id));
    QFile::remove(textPath(id));
}

std::unique_ptr<QLockFile> RecoveryStore::lock(const QString &id) const
{
    if (makePrivateFolder())
        return nullptr;
    auto lock = std::make_unique<QLockFile>(m_directory + u'/' + id + QStringLiteral(".lock"));
    // A live owner keeps its entry however long it runs; only a dead owner's lock is stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

QList<RecoveryStore::Entry> RecoveryStore::entries() const
{
    QList<Entry> result;
    const QDir dir(m_directory);
    for (const QFileInfo &textFile : dir.entryInfoList({QStringLiteral("*.srt")}, QDir::Files)) {
        Entry entry;
        entry.id = textFile.completeBaseName();
        entry.recoveryPath = textFile.absoluteFilePath();
        QFile file(infoPath(entry.id));
        if (file.open(QIODevice::ReadOnly))
            static_cast<Description &>(entry) = parseDescription(file.read(1024 * 1024));
        if (!entry.savedAt.isValid())
            entry.savedAt = textFile.lastModified().toUTC();
        result.append(entry);
    }
    std::sort(result.begin(), result.end(), [](const Entry &a, const Entry &b) { return a.savedAt < b.savedAt; });
    return result;
}

QList<RecoveryStore::Entry> RecoveryStore::claimOrphans() const
{
    QList<Entry> result;
    for (Entry &entry : entries()) {
        std::unique_ptr<QLockFile> owned = lock(entry.id);
        if (!owned)
            continue; // its process is still running
        entry.lock = std::move(owned);
        result.append(entry);
    }
    return result;
}

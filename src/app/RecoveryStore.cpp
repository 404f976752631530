#include "app/RecoveryStore.h"

#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

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

std::optional<QString> RecoveryStore::save(const QString &id, const SubtitleList &subtitles,
                                           const QString &originalPath, std::optional<int> encoding)
{
    if (!QDir().mkpath(m_directory))
        return QObject::tr("The folder %1 cannot be created.").arg(m_directory);
    if (auto error = SubtitleFile::write(textPath(id), subtitles, TextEncoding::Utf8))
        return error;

    QJsonObject info;
    info.insert(QStringLiteral("originalPath"), originalPath);
    if (encoding)
        info.insert(QStringLiteral("encoding"), *encoding);
    info.insert(QStringLiteral("savedAt"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    QSaveFile file(infoPath(id));
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(info).toJson()) < 0 || !file.commit())
        return file.errorString();
    return std::nullopt;
}

void RecoveryStore::remove(const QString &id)
{
    QFile::remove(infoPath(id));
    QFile::remove(textPath(id));
}

QList<RecoveryStore::Entry> RecoveryStore::entries() const
{
    QList<Entry> result;
    const QDir dir(m_directory);
    for (const QFileInfo &infoFile : dir.entryInfoList({QStringLiteral("*.json")}, QDir::Files)) {
        QFile file(infoFile.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject info = QJsonDocument::fromJson(file.readAll()).object();
        Entry entry;
        entry.id = infoFile.completeBaseName();
        entry.recoveryPath = textPath(entry.id);
        if (!QFileInfo::exists(entry.recoveryPath))
            continue; // killed between the two writes: the text is what matters
        entry.originalPath = info.value(QStringLiteral("originalPath")).toString();
        if (info.contains(QStringLiteral("encoding")))
            entry.encoding = info.value(QStringLiteral("encoding")).toInt();
        entry.savedAt = QDateTime::fromString(info.value(QStringLiteral("savedAt")).toString(), Qt::ISODateWithMs);
        result.append(entry);
    }
    std::sort(result.begin(), result.end(), [](const Entry &a, const Entry &b) { return a.savedAt < b.savedAt; });
    return result;
}

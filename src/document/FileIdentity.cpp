#include "document/FileIdentity.h"

#include <QCryptographicHash>
#include <QFile>

#include <sys/stat.h>

FileIdentity FileIdentity::stat(const QString &path)
{
    FileIdentity identity;
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return identity;
    identity.m_exists = true;
    identity.m_device = info.st_dev;
    identity.m_inode = info.st_ino;
    identity.m_size = info.st_size;
    identity.m_modifiedNs = int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return identity;
}

FileIdentity FileIdentity::of(const QString &path)
{
    FileIdentity identity = stat(path);
    if (!identity.m_exists)
        return identity;
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Blake2b_256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return identity; // unreadable: no digest, so any later look counts as a change
    identity.m_digest = hash.result();
    return identity;
}

FileIdentity FileIdentity::confirmedAt(const QString &path) const
{
    FileIdentity identity = *this;
    if (!sameMetadata(stat(path)))
        identity.m_digest.clear();
    return identity;
}

bool FileIdentity::isSameFileAs(const FileIdentity &other) const
{
    return m_exists && other.m_exists && m_device == other.m_device && m_inode == other.m_inode;
}

bool FileIdentity::sameMetadata(const FileIdentity &other) const
{
    return m_exists == other.m_exists && m_device == other.m_device && m_inode == other.m_inode
        && m_size == other.m_size && m_modifiedNs == other.m_modifiedNs;
}

bool FileIdentity::changedAt(const QString &path) const
{
    const FileIdentity now = stat(path);
    if (!now.m_exists)
        return false;
    if (!m_exists)
        return true;
    if (sameMetadata(now) && !m_digest.isEmpty())
        return false;
    if (now.m_size != m_size)
        return true;
    const FileIdentity looked = of(path);
    return looked.m_digest.isEmpty() || looked.m_digest != m_digest;
}

QVariantMap FileIdentity::toVariant() const
{
    if (!m_exists)
        return {};
    return {{QStringLiteral("device"), QString::number(m_device)},
            {QStringLiteral("inode"), QString::number(m_inode)},
            {QStringLiteral("size"), QString::number(m_size)},
            {QStringLiteral("modifiedNs"), QString::number(m_modifiedNs)},
            {QStringLiteral("digest"), QString::fromLatin1(m_digest.toHex())}};
}

FileIdentity FileIdentity::fromVariant(const QVariantMap &map)
{
    FileIdentity identity;
    bool ok[4] = {};
    identity.m_device = map.value(QStringLiteral("device")).toString().toULongLong(&ok[0]);
    identity.m_inode = map.value(QStringLiteral("inode")).toString().toULongLong(&ok[1]);
    identity.m_size = map.value(QStringLiteral("size")).toString().toLongLong(&ok[2]);
    identity.m_modifiedNs = map.value(QStringLiteral("modifiedNs")).toString().toLongLong(&ok[3]);
    const QByteArray digest = QByteArray::fromHex(map.value(QStringLiteral("digest")).toString().toLatin1());
    if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || identity.m_size < 0 || digest.size() != 32)
        return {};
    identity.m_digest = digest;
    identity.m_exists = true;
    return identity;
}

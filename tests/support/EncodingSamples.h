#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QString>

// The iconv-made samples of tests/data/encodings: samples/<text>.<ENCODING>[-bom].srt,
// each made from source/<text>.srt (UTF-8).
namespace EncodingSamples {

inline QString directory()
{
    return qEnvironmentVariable("CUEWRIGHT_TEST_DATA") + QStringLiteral("/encodings");
}

inline QString samplePath(const QString &fileName)
{
    return directory() + QStringLiteral("/samples/") + fileName;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Gives a file, made empty if it is not there, the modification time `when`.
inline bool touch(const QString &path, const QDateTime &when)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime);
}

// The text a sample was made from.
inline QString sourceText(const QString &sampleFileName)
{
    const QString name = sampleFileName.section(u'.', 0, 0);
    return QString::fromUtf8(readAll(directory() + QStringLiteral("/source/") + name + QStringLiteral(".srt")));
}

inline QStringList sampleFileNames()
{
    return QDir(directory() + QStringLiteral("/samples")).entryList({QStringLiteral("*.srt")}, QDir::Files, QDir::Name);
}

} // namespace EncodingSamples

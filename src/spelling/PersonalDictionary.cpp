#include "spelling/PersonalDictionary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

QString PersonalDictionary::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/personal-words.txt");
}

PersonalDictionary::PersonalDictionary(QString path)
    : m_path(std::move(path))
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        const QString word = line.trimmed();
        if (!word.isEmpty())
            m_words.insert(word);
    }
}

std::optional<QString> PersonalDictionary::add(const QString &word)
{
    const QString trimmed = word.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(u'\n') || m_words.contains(trimmed))
        return std::nullopt;
    m_words.insert(trimmed);
    QStringList sorted(m_words.cbegin(), m_words.cend());
    std::sort(sorted.begin(), sorted.end());
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(sorted.join(u'\n').toUtf8() + '\n') < 0 || !file.commit())
        return QCoreApplication::translate("PersonalDictionary", "The word was not saved in %1: %2")
            .arg(m_path, file.errorString());
    return std::nullopt;
}

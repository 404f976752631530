#include "spelling/PersonalDictionary.h"

#include "format/OwnFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

QString PersonalDictionary::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/personal-words.txt");
}

PersonalDictionary::PersonalDictionary(QString path)
    : m_path(std::move(path))
{
    // Only a regular file of sensible size: a pipe would block the window, a link to a
    // device fill the memory.
    const auto bytes = OwnFile::read(m_path, maximumSize, OwnFile::Links::Followed);
    if (!bytes) {
        const QFileInfo info(m_path);
        m_unreadable = info.exists() || info.isSymLink();
        return;
    }
    const QStringList lines = QString::fromUtf8(bytes.value()).split(u'\n');
    for (const QString &line : lines) {
        const QString word = line.trimmed();
        if (!word.isEmpty())
            m_words.insert(word);
    }
}

Expected<void, QString> PersonalDictionary::add(const QString &word)
{
    const QString trimmed = word.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(u'\n') || m_words.contains(trimmed))
        return {};
    m_words.insert(trimmed);
    // Saving the list without what the file holds would lose the user's words.
    if (m_unreadable)
        return QCoreApplication::translate("PersonalDictionary",
                                           "The word was not saved in %1: it is not a regular file of at most %2 MB.")
            .arg(m_path)
            .arg(maximumSize / (1024 * 1024));
    QStringList sorted(m_words.cbegin(), m_words.cend());
    std::sort(sorted.begin(), sorted.end());
    const QString folder = QFileInfo(m_path).absolutePath();
    QDir().mkpath(folder);
    OwnFile::removeUnfinishedWrites(folder, QFileInfo(m_path).fileName());
    // A new file takes the list's name; a link there is replaced, not written through.
    if (const auto written = OwnFile::write(m_path, sorted.join(u'\n').toUtf8() + '\n'); !written)
        return QCoreApplication::translate("PersonalDictionary", "The word was not saved.\n%1").arg(written.error());
    return {};
}

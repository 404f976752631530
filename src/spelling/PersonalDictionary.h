#pragma once

#include "model/Expected.h"

#include <QSet>
#include <QString>

// The words a user added to the dictionary, one a line in a UTF-8 file; the same for
// every language.
class PersonalDictionary
{
public:
    // A larger file is not read (nor replaced by a shorter list).
    static constexpr qint64 maximumSize = 16 * 1024 * 1024;

    // The file under the user's data folder.
    static QString defaultPath();

    explicit PersonalDictionary(QString path);

    bool contains(const QString &word) const { return m_words.contains(word); }
    // Adds the word and saves the list at once (atomically); the message when saving failed.
    Expected<void, QString> add(const QString &word);

private:
    QString m_path;
    QSet<QString> m_words;
    bool m_unreadable = false; // there, but not a word list that may be read
};

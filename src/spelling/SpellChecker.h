#pragma once

#include "model/Expected.h"

#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

// One Hunspell dictionary: whether a word is spelt right, and how it might be meant.
class SpellChecker
{
public:
    // Opens the dictionary `<base>.aff` / `<base>.dic`; a message for the user otherwise.
    static Expected<std::shared_ptr<SpellChecker>, QString> open(const QString &affPath, const QString &dicPath);
    ~SpellChecker();

    bool isCorrect(const QString &word) const;
    QStringList suggestions(const QString &word) const;

private:
    explicit SpellChecker(std::unique_ptr<Hunspell> hunspell);
    std::string encoded(const QString &word) const;

    std::unique_ptr<Hunspell> m_hunspell;
    bool m_utf8 = true; // otherwise the dictionary is in ISO 8859-1
};

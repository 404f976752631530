#include "spelling/SpellChecker.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <hunspell.hxx>

SpellChecker::SpellChecker(std::unique_ptr<Hunspell> hunspell)
    : m_hunspell(std::move(hunspell))
{
    const QString encoding = QString::fromStdString(m_hunspell->get_dict_encoding()).toUpper();
    m_utf8 = encoding == QStringLiteral("UTF-8");
}

SpellChecker::~SpellChecker() = default;

Expected<std::shared_ptr<SpellChecker>, QString> SpellChecker::open(const QString &affPath, const QString &dicPath)
{
    for (const QString &path : {affPath, dicPath}) {
        if (!QFileInfo(path).isFile() || !QFileInfo(path).isReadable())
            return QCoreApplication::translate("SpellChecker", "The dictionary file %1 cannot be read.").arg(path);
    }
    auto hunspell = std::make_unique<Hunspell>(QFile::encodeName(affPath).constData(),
                                               QFile::encodeName(dicPath).constData());
    const QString encoding = QString::fromStdString(hunspell->get_dict_encoding()).toUpper();
    if (encoding != QStringLiteral("UTF-8") && encoding != QStringLiteral("ISO8859-1"))
        return QCoreApplication::translate("SpellChecker", "The dictionary %1 is in %2, which is not supported.")
            .arg(dicPath, encoding);
    return std::shared_ptr<SpellChecker>(new SpellChecker(std::move(hunspell)));
}

std::string SpellChecker::encoded(const QString &word) const
{
    return m_utf8 ? word.toStdString() : word.toLatin1().toStdString();
}

bool SpellChecker::isCorrect(const QString &word) const
{
    // A word the dictionary's encoding cannot even write is not in it.
    if (!m_utf8 && QString::fromLatin1(word.toLatin1()) != word)
        return false;
    return m_hunspell->spell(encoded(word));
}

QStringList SpellChecker::suggestions(const QString &word) const
{
    QStringList result;
    for (const std::string &suggestion : m_hunspell->suggest(encoded(word)))
        result << (m_utf8 ? QString::fromStdString(suggestion) : QString::fromLatin1(suggestion));
    return result;
}

#include "speech/LetterPronunciation.h"

#include <QStringList>

#include <array>
#include <utility>

namespace {
// Longest spellings first, so that "tch" wins over "t".
constexpr std::array<std::pair<const char *, const char *>, 37> spellings{{
    {"tch", "CH"}, {"igh", "AY"}, {"ch", "CH"}, {"sh", "SH"}, {"th", "TH"}, {"ph", "F"},  {"ng", "NG"},
    {"ck", "K"},   {"wh", "W"},   {"qu", "K W"}, {"ee", "IY"}, {"ea", "IY"}, {"oo", "UW"}, {"ou", "AW"},
    {"ow", "OW"},  {"ai", "EY"},  {"ay", "EY"}, {"oi", "OY"}, {"oy", "OY"}, {"au", "AO"}, {"aw", "AO"},
    {"ue", "UW"},  {"ie", "IY"},  {"a", "AE"},  {"b", "B"},   {"d", "D"},   {"e", "EH"},  {"f", "F"},
    {"g", "G"},    {"h", "HH"},   {"i", "IH"},  {"j", "JH"},  {"k", "K"},   {"l", "L"},   {"m", "M"},
    {"n", "N"},    {"o", "AA"},
}};
constexpr std::array<std::pair<char, const char *>, 9> lateLetters{{
    {'p', "P"}, {'r', "R"}, {'s', "S"}, {'t', "T"}, {'u', "AH"}, {'v', "V"}, {'w', "W"}, {'x', "K S"}, {'z', "Z"},
}};

bool isVowel(QChar c)
{
    return QStringLiteral("aeiouy").contains(c);
}
} // namespace

QString LetterPronunciation::phones(const QString &word)
{
    QString letters;
    for (QChar c : word.toLower().normalized(QString::NormalizationForm_D)) {
        if (c >= u'a' && c <= u'z')
            letters += c;
    }
    // A final silent e after a consonant ("name"), and doubled letters said once.
    if (letters.size() > 2 && letters.endsWith(u'e') && !isVowel(letters.at(letters.size() - 2)))
        letters.chop(1);
    QStringList phones;
    for (qsizetype i = 0; i < letters.size();) {
        if (i > 0 && letters.at(i) == letters.at(i - 1) && !isVowel(letters.at(i))) {
            ++i;
            continue;
        }
        const QStringView rest = QStringView(letters).mid(i);
        bool matched = false;
        for (const auto &[spelling, sound] : spellings) {
            if (rest.startsWith(QLatin1String(spelling))) {
                phones << QString::fromLatin1(sound);
                i += qsizetype(qstrlen(spelling));
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        const QChar c = letters.at(i++);
        if (c == u'c') {
            phones << (i < letters.size() && QStringLiteral("eiy").contains(letters.at(i)) ? QStringLiteral("S")
                                                                                          : QStringLiteral("K"));
        } else if (c == u'y') {
            phones << (i == 1 ? QStringLiteral("Y") : QStringLiteral("IY"));
        } else {
            for (const auto &[letter, sound] : lateLetters) {
                if (c == QLatin1Char(letter))
                    phones << QString::fromLatin1(sound);
            }
        }
    }
    return phones.join(u' ');
}

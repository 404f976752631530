#include "document/TextPlausibility.h"

#include <QChar>
#include <QList>

#include <algorithm>

namespace {

// Wrong readings of a word cost more than a right one gains: one misread word in a
// short text outweighs a plausible one.
constexpr double goodWord = 1;
constexpr double mixedScripts = -3;
constexpr double latinWithoutAscii = -2;
constexpr double capitalAfterSmall = -2;
constexpr double symbolInsideWord = -3;
constexpr double oddSymbol = -1;
constexpr double controlCharacter = -4;
constexpr double foreignLetter = -1;

// Hiragana, Katakana and Han make one word in Japanese: one script here.
QChar::Script scriptOf(uint c)
{
    if (c < 0x80)
        return QChar::Script_Latin;
    const QChar::Script script = QChar::script(c);
    if (script == QChar::Script_Hiragana || script == QChar::Script_Katakana)
        return QChar::Script_Han;
    return script;
}

// The letters the languages of a script use most; a misread word of that script is
// made mostly of others. Scripts without an entry count every clean word as plausible.
QStringView frequentLetters(QChar::Script script)
{
    switch (script) {
    case QChar::Script_Cyrillic:
        return u"оеаинтсрвлі";
    case QChar::Script_Greek:
        return u"αοειτνσςηάίό";
    case QChar::Script_Hebrew:
        return u"יוהלאמתרבשנ";
    case QChar::Script_Arabic:
        return u"اليمنورهبت";
    default:
        return {};
    }
}

// The letters beyond ASCII of the languages written in Latin letters: a wrong reading of
// one of them gives letters that no single language uses together.
constexpr const char16_t *latinAlphabets[] = {
    u"àâæçéèêëîïôœùûüÿ",      // French
    u"äöüß",                  // German
    u"áéíóúñü",               // Spanish
    u"áâãàçéêíóôõú",          // Portuguese
    u"àèéìíîòóùú",            // Italian
    u"ąćęłńóśźż",             // Polish
    u"áčďéěíňóřšťúůýž",       // Czech
    u"áäčďéíĺľňóôŕšťúýž",     // Slovak
    u"áéíóöőúüű",             // Hungarian
    u"ăâîșşțţ",               // Romanian
    u"çğıöşü",                // Turkish
    u"čćđšž",                 // Croatian, Slovene, Bosnian
    u"åäöæøéü",               // Nordic
    u"ąčęėįšųūž",             // Lithuanian
    u"āčēģīķļņšūž",           // Latvian
    u"äõöüšž",                // Estonian
};

bool isWordCharacter(uint c)
{
    return QChar::isLetter(c) || QChar::isMark(c);
}

bool isControl(uint c)
{
    if (c == u'\n' || c == u'\r' || c == u'\t')
        return false;
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Other_PrivateUse || category == QChar::Other_NotAssigned
           || c == 0xFFFD;
}

bool isAmong(QStringView characters, uint c)
{
    return c < 0x10000 && characters.contains(QChar(char16_t(c)));
}

// Quotes and dashes, which may stand inside a word too (l’homme).
bool isJoiningPunctuation(uint c)
{
    return QChar::isSpace(c) || isAmong(u"‘’‚„“”«»‹›–—…·", c);
}

bool isPunctuation(uint c)
{
    const QChar::Category category = QChar::category(c);
    return QChar::isSpace(c) || (category >= QChar::Punctuation_Connector && category <= QChar::Punctuation_Other);
}

// Signs that writing outside ASCII uses between words, never inside them.
bool isUsualSign(uint c)
{
    return isAmong(u"¡¿°№€§©®", c);
}

// The Latin alphabet that holds most of the text's letters beyond ASCII.
QStringView likeliestLatinAlphabet(const QList<uint> &characters)
{
    QStringView best;
    qsizetype bestCount = -1;
    for (const char16_t *alphabet : latinAlphabets) {
        qsizetype count = 0;
        for (uint c : characters)
            count += c >= 0x80 && isAmong(alphabet, QChar::toLower(c));
        if (count > bestCount) {
            best = alphabet;
            bestCount = count;
        }
    }
    return best;
}

// Thai vowel and tone marks stand on a consonant (or on another mark), and the vowels
// written before a consonant have one after them: a wrong reading breaks both.
bool isWellFormedThai(const QList<uint> &word)
{
    const auto isConsonant = [](uint c) { return c >= 0x0E01 && c <= 0x0E2E; };
    for (qsizetype i = 0; i < word.size(); ++i) {
        const uint c = word[i];
        if (c < 0x0E00 || c > 0x0E7F)
            continue;
        if (QChar::isMark(c) && (i == 0 || !(isConsonant(word[i - 1]) || QChar::isMark(word[i - 1]))))
            return false;
        if (c >= 0x0E40 && c <= 0x0E44 && (i + 1 == word.size() || !isConsonant(word[i + 1])))
            return false;
    }
    return true;
}

double wordValue(const QList<uint> &word, QStringView latinAlphabet)
{
    QChar::Script script = QChar::Script_Common;
    bool mixed = false;
    bool hasAscii = false;
    bool capitalInside = false;
    bool foreignLatin = false;
    qsizetype letters = 0;
    qsizetype frequent = 0;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const uint c = word[i];
        if (!QChar::isLetter(c))
            continue;
        ++letters;
        hasAscii |= c < 0x80;
        const QChar::Script own = scriptOf(c);
        if (script == QChar::Script_Common)
            script = own;
        else if (own != script)
            mixed = true;
        if (i > 0 && QChar::isUpper(c) && QChar::isLower(word[i - 1]))
            capitalInside = true;
        foreignLatin |= c >= 0x80 && own == QChar::Script_Latin && !isAmong(latinAlphabet, QChar::toLower(c));
    }
    if (mixed)
        return mixedScripts;
    if (capitalInside)
        return capitalAfterSmall;
    if (script == QChar::Script_Latin && !hasAscii && letters >= 2)
        return latinWithoutAscii;
    if (foreignLatin)
        return foreignLetter;
    if (script == QChar::Script_Thai && !isWellFormedThai(word))
        return mixedScripts;
    const QStringView common = frequentLetters(script);
    if (common.isEmpty() || letters == 0)
        return goodWord;
    for (uint c : word)
        frequent += isAmong(common, QChar::toLower(c));
    // From a little below nothing for a word without common letters to a good word's
    // worth for one of three quarters or more.
    return std::clamp(2.0 * double(frequent) / double(letters) - 0.5, -0.5, goodWord);
}

} // namespace

TextPlausibility::Score TextPlausibility::of(QStringView text)
{
    const QList<uint> characters = text.toUcs4();
    const QStringView latinAlphabet = likeliestLatinAlphabet(characters);
    Score score;
    QList<uint> word;
    bool wordHasNonAscii = false;
    const auto endWord = [&] {
        if (wordHasNonAscii) {
            score.value += wordValue(word, latinAlphabet);
            ++score.words;
        }
        word.clear();
        wordHasNonAscii = false;
    };
    for (qsizetype i = 0; i < characters.size(); ++i) {
        const uint c = characters[i];
        if (isWordCharacter(c)) {
            word.append(c);
            wordHasNonAscii |= c >= 0x80;
            continue;
        }
        if (c >= 0x80 || isControl(c)) {
            const bool before = !word.isEmpty();
            const bool after = i + 1 < characters.size() && isWordCharacter(characters[i + 1]);
            if (isControl(c))
                score.value += controlCharacter;
            else if (isPunctuation(c)) {
                // Writing without spaces (Chinese, Japanese) has its punctuation beside
                // letters; only the Latin-1 signs a wrong reading makes sit inside words.
                if (c < 0x2000 && before && after && !isJoiningPunctuation(c))
                    score.value += symbolInsideWord;
            } else if (isUsualSign(c) ? before && after : before || after)
                score.value += symbolInsideWord;
            else if (!isUsualSign(c))
                score.value += oddSymbol;
        }
        endWord();
    }
    endWord();
    return score;
}

#include "model/text/SpokenWords.h"

#include "model/quality/QualityCheck.h"

#include <QHash>
#include <QRegularExpression>

namespace {
const char *const ones[] = {"zero",    "one",     "two",       "three",    "four",     "five",    "six",
                            "seven",   "eight",   "nine",      "ten",      "eleven",   "twelve",  "thirteen",
                            "fourteen", "fifteen", "sixteen",  "seventeen", "eighteen", "nineteen"};
const char *const tens[] = {"", "", "twenty", "thirty", "forty", "fifty", "sixty", "seventy", "eighty", "ninety"};

void belowHundred(int value, QStringList &words)
{
    if (value < 20) {
        words << QString::fromLatin1(ones[value]);
        return;
    }
    words << QString::fromLatin1(tens[value / 10]);
    if (value % 10)
        words << QString::fromLatin1(ones[value % 10]);
}

void belowThousand(int value, QStringList &words)
{
    if (value >= 100) {
        words << QString::fromLatin1(ones[value / 100]) << QStringLiteral("hundred");
        if (value % 100)
            words << QStringLiteral("and");
    }
    if (value % 100 || value < 100)
        belowHundred(value % 100, words);
}

QString currencyName(QChar symbol, bool plural)
{
    switch (symbol.unicode()) {
    case u'£':
        return plural ? QStringLiteral("pounds") : QStringLiteral("pound");
    case u'$':
        return plural ? QStringLiteral("dollars") : QStringLiteral("dollar");
    case u'€':
        return plural ? QStringLiteral("euros") : QStringLiteral("euro");
    default:
        return {};
    }
}
// Abbreviations are said as the words they stand for; the dictionary lacks most of them.
QString spokenAbbreviation(const QString &word)
{
    static const QHash<QString, QString> said{
        {QStringLiteral("dr"), QStringLiteral("doctor")},   {QStringLiteral("mr"), QStringLiteral("mister")},
        {QStringLiteral("mrs"), QStringLiteral("missus")},  {QStringLiteral("ms"), QStringLiteral("miz")},
        {QStringLiteral("st"), QStringLiteral("saint")},    {QStringLiteral("prof"), QStringLiteral("professor")},
        {QStringLiteral("sgt"), QStringLiteral("sergeant")}, {QStringLiteral("capt"), QStringLiteral("captain")},
        {QStringLiteral("lt"), QStringLiteral("lieutenant")}, {QStringLiteral("gen"), QStringLiteral("general")},
        {QStringLiteral("jr"), QStringLiteral("junior")},   {QStringLiteral("sr"), QStringLiteral("senior")},
        {QStringLiteral("vs"), QStringLiteral("versus")},   {QStringLiteral("etc"), QStringLiteral("etcetera")},
    };
    return said.value(word, word);
}
} // namespace

QStringList SpokenWords::number(qint64 value, bool asYear)
{
    QStringList words;
    if (value < 0 || value >= 1'000'000'000)
        return words; // read digit by digit is as likely as anything: left to the caller
    // 1990 is "nineteen ninety", 2015 "twenty fifteen"; 2000 to 2009 are read as numbers.
    if (asYear && value >= 1100 && value <= 2099 && !(value >= 2000 && value <= 2009) && value % 100 != 0) {
        belowHundred(int(value / 100), words);
        if (value % 100 < 10)
            words << QStringLiteral("oh");
        belowHundred(int(value % 100), words);
        return words;
    }
    if (value >= 1'000'000) {
        belowThousand(int(value / 1'000'000), words);
        words << QStringLiteral("million");
        value %= 1'000'000;
        if (value == 0)
            return words;
    }
    if (value >= 1000) {
        belowThousand(int(value / 1000), words);
        words << QStringLiteral("thousand");
        value %= 1000;
        if (value == 0)
            return words;
        if (value < 100)
            words << QStringLiteral("and");
    }
    if (value > 0 || words.isEmpty())
        belowThousand(int(value), words);
    return words;
}

QStringList SpokenWords::of(const QString &text)
{
    static const QRegularExpression token(QStringLiteral("([£$€]?)(\\d+(?:,\\d{3})*)(%?)|[\\p{L}\\p{M}]+(?:['’][\\p{L}]+)*"));
    QStringList words;
    const QString plain = QualityCheck::withoutTags(text).toLower();
    for (auto it = token.globalMatch(plain); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedLength(2) == 0) {
            const QString word = match.captured(0).replace(u'’', u'\'');
            // Only before a full stop: "St" in "St. Paul" is a saint, "st" alone is not a word.
            const bool abbreviated = match.capturedEnd(0) < plain.size() && plain.at(match.capturedEnd(0)) == u'.';
            words << (abbreviated ? spokenAbbreviation(word) : word);
            continue;
        }
        QString digits = match.captured(2);
        const bool grouped = digits.contains(u',');
        digits.remove(u',');
        bool ok = false;
        const qint64 value = digits.toLongLong(&ok);
        if (!ok)
            continue;
        const QChar currency = match.capturedLength(1) ? match.captured(1).at(0) : QChar();
        words << number(value, !grouped && currency.isNull() && digits.size() == 4);
        if (!currency.isNull())
            words << currencyName(currency, value != 1);
        if (match.capturedLength(3))
            words << QStringLiteral("percent");
    }
    return words;
}

double SpokenWords::sayingSeconds(const QStringList &words)
{
    qsizetype letters = 0;
    for (const QString &word : words)
        letters += word.size();
    return 0.2 + 0.07 * double(letters);
}

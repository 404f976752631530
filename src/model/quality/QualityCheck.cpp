#include "model/quality/QualityCheck.h"

#include <QLocale>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Below U+0300 every character is a grapheme of its own (combining marks start there).
bool isPlain(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x300 && c != u'<' && c != u'{';
    });
}

bool isCounted(char32_t c, QualityLimits::Characters counted)
{
    switch (counted) {
    case QualityLimits::Characters::All:
        return true;
    case QualityLimits::Characters::WithoutSpaces:
        return !QChar::isSpace(c);
    case QualityLimits::Characters::LettersAndDigits:
        return QChar::isLetterOrNumber(c);
    }
    return true;
}

// Characters that steer how text is laid out but show nothing: the direction marks,
// embeddings, overrides and isolates of right-to-left text, zero-width spaces and word
// joiners, and a byte order mark. A reader sees none of them.
bool isInvisible(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0x061C || (u >= 0x200B && u <= 0x200F && u != 0x200C && u != 0x200D) || (u >= 0x202A && u <= 0x202E)
        || (u >= 0x2060 && u <= 0x2064) || (u >= 0x2066 && u <= 0x2069) || u == 0xFEFF;
}

// What a line shows: without tags and invisible characters.
QString shownText(QStringView line)
{
    QString shown = QualityCheck::withoutTags(line);
    shown.removeIf(isInvisible);
    return shown;
}

} // namespace

qsizetype QualityCheck::tagEnd(QStringView text, qsizetype from)
{
    const QChar c = text[from];
    if (c == u'<') {
        qsizetype k = from + 1;
        if (k < text.size() && text[k] == u'/')
            ++k;
        if (k >= text.size() || !(text[k].isLetter() && text[k].unicode() < 0x80))
            return -1;
        const qsizetype close = text.indexOf(u'>', k);
        return close < 0 ? -1 : close + 1;
    }
    if (c == u'{' && from + 1 < text.size() && text[from + 1] == u'\\') {
        const qsizetype close = text.indexOf(u'}', from + 2);
        return close < 0 ? -1 : close + 1;
    }
    return -1;
}

QString QualityCheck::withoutTags(QStringView text)
{
    QString result;
    result.reserve(text.size());
    qsizetype k = 0;
    while (k < text.size()) {
        const qsizetype end = tagEnd(text, k);
        if (end < 0)
            result.append(text[k++]);
        else
            k = end;
    }
    return result;
}

int QualityCheck::graphemeCount(QStringView text, QualityLimits::Characters counted)
{
    const bool all = counted == QualityLimits::Characters::All;
    if (isPlain(text)) {
        if (all)
            return int(text.size());
        return int(std::count_if(text.begin(), text.end(), [counted](QChar c) { return isCounted(c.unicode(), counted); }));
    }
    // A grapheme counts by its first character: a letter with its accents is a letter.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), int(text.size()));
    int count = 0;
    qsizetype from = 0;
    for (qsizetype to = finder.toNextBoundary(); to > 0; from = to, to = finder.toNextBoundary()) {
        if (all) {
            ++count;
            continue;
        }
        char32_t first = text[from].unicode();
        if (text[from].isHighSurrogate() && from + 1 < to && text[from + 1].isLowSurrogate())
            first = QChar::surrogateToUcs4(text[from], text[from + 1]);
        count += isCounted(first, counted) ? 1 : 0;
    }
    return count;
}

int QualityCheck::visibleLength(QStringView line)
{
    if (isPlain(line))
        return int(line.trimmed().size());
    const QString visible = shownText(line);
    return graphemeCount(QStringView(visible).trimmed());
}

QualityCheck::TextMeasure QualityCheck::measure(QStringView text, QualityLimits::Characters reading)
{
    TextMeasure measure;
    qsizetype from = 0;
    while (from <= text.size()) {
        qsizetype lineEnd = text.indexOf(u'\n', from);
        if (lineEnd < 0)
            lineEnd = text.size();
        const QStringView line = text.sliced(from, lineEnd - from);
        const int length = visibleLength(line);
        if (length > 0) {
            ++measure.lines;
            measure.longestLine = std::max(measure.longestLine, length);
            if (reading == QualityLimits::Characters::All)
                measure.counted += length;
            else if (isPlain(line))
                measure.counted += graphemeCount(line.trimmed(), reading);
            else
                measure.counted += graphemeCount(QStringView(shownText(line)).trimmed(), reading);
        }
        from = lineEnd + 1;
    }
    return measure;
}

QualityCheck::TextMeasure QualityCheck::measure(QStringView text, const QualityLimits &limits)
{
    if (limits.readingUnit == QualityLimits::ReadingUnit::CharactersPerSecond)
        return measure(text, limits.readingCharacters);
    TextMeasure result = measure(text);
    result.counted = result.lines > 0 ? wordCount(text) : 0;
    return result;
}

int QualityCheck::wordCount(QStringView text)
{
    int words = 0;
    qsizetype from = 0;
    while (from <= text.size()) {
        qsizetype lineEnd = text.indexOf(u'\n', from);
        if (lineEnd < 0)
            lineEnd = text.size();
        const QString line = shownText(text.sliced(from, lineEnd - from));
        // A word is a run between spaces with a letter or a digit in it, so a lone
        // speaker's dash or "..." is none, and "-Yes" one. Dashes and an ellipsis
        // between words split them as a space would.
        bool inWord = false;
        for (const char32_t c : QStringView(line).toUcs4()) {
            if (QChar::isSpace(c) || c == U'\u2014' || c == U'\u2015' || c == U'\u2026')
                inWord = false;
            else if (!inWord && QChar::isLetterOrNumber(c)) {
                inWord = true;
                ++words;
            }
        }
        from = lineEnd + 1;
    }
    return words;
}

double QualityCheck::readingSpeed(int counted, double duration)
{
    if (counted == 0)
        return 0;
    if (duration <= 0)
        return std::numeric_limits<double>::infinity();
    return counted / duration;
}

double QualityCheck::readingSpeed(const Subtitle &subtitle, const QualityLimits &limits)
{
    return limits.inReadingUnit(readingSpeed(measure(subtitle.text(), limits).counted, duration(subtitle)));
}

QString QualityCheck::shownReadingSpeed(double speed, const QualityLimits &limits)
{
    if (!std::isfinite(speed))
        return QStringLiteral("∞");
    return shownNumber(speed, limits.readingUnit == QualityLimits::ReadingUnit::WordsPerMinute ? 0 : 1);
}

QualityCheck::Problems QualityCheck::check(const Subtitle &subtitle, const Subtitle *next,
                                           const QualityLimits &limits, double minGap)
{
    Problems problems;
    if (next) {
        if (subtitle.end > next->start + tolerance)
            problems |= Overlap;
        else if (next->start - subtitle.end < minGap - tolerance)
            problems |= GapTooSmall;
    }
    const double length = duration(subtitle);
    if (length < limits.minDuration - tolerance)
        problems |= TooShort;
    if (length > limits.maxDuration + tolerance)
        problems |= TooLong;
    const TextMeasure text = measure(subtitle.text(), limits);
    if (text.counted > 0 && text.counted > limits.maxReadingPerSecond() * (length + tolerance))
        problems |= TooFast;
    if (text.longestLine > limits.maxLineLength)
        problems |= LineTooLong;
    if (text.lines > limits.maxLines)
        problems |= TooManyLines;
    return problems;
}

QString QualityCheck::name(Problem problem)
{
    switch (problem) {
    case Overlap:
        return tr("Overlap");
    case GapTooSmall:
        return tr("Gap too small");
    case TooShort:
        return tr("Too short");
    case TooLong:
        return tr("Too long");
    case TooFast:
        return tr("Too fast");
    case LineTooLong:
        return tr("Line too long");
    case TooManyLines:
        return tr("Too many lines");
    case StartNearShotChange:
        return tr("Start near a shot change");
    case EndNearShotChange:
        return tr("End near a shot change");
    case Untranslated:
        return tr("Untranslated");
    case NoMatchingOriginal:
        return tr("No original at these times");
    case NotAligned:
        return tr("Not found in the speech");
    }
    return {};
}

QString QualityCheck::shownNumber(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

QString QualityCheck::describe(Problem problem, const Subtitle &subtitle, const Subtitle *next,
                               const QualityLimits &limits, double minGap)
{
    const double length = duration(subtitle);
    const auto seconds = [](double value) { return shownNumber(value, 3); };
    switch (problem) {
    case Overlap:
        return tr("Runs %L1 s into the next subtitle").arg(seconds(next ? subtitle.end - next->start : 0.0));
    case GapTooSmall:
        return tr("%L1 s before the next subtitle; at least %L2 s")
            .arg(seconds(next ? next->start - subtitle.end : 0.0))
            .arg(seconds(minGap));
    case TooShort:
        return tr("%L1 s on screen; at least %L2 s").arg(seconds(length)).arg(seconds(limits.minDuration));
    case TooLong:
        return tr("%L1 s on screen; at most %L2 s").arg(seconds(length)).arg(seconds(limits.maxDuration));
    case TooFast: {
        const QString shown = shownReadingSpeed(readingSpeed(subtitle, limits), limits);
        const QString limit = QLocale().toString(limits.maxReadingSpeed);
        if (limits.readingUnit == QualityLimits::ReadingUnit::WordsPerMinute)
            return tr("%1 words per minute; at most %L2").arg(shown, limit);
        return tr("%1 characters per second; at most %L2").arg(shown, limit);
    }
    case LineTooLong:
        return tr("A line of %1 characters; at most %2").arg(measure(subtitle.text()).longestLine).arg(limits.maxLineLength);
    case TooManyLines:
        return tr("%1 lines; at most %2").arg(measure(subtitle.text()).lines).arg(limits.maxLines);
    case StartNearShotChange:
    case EndNearShotChange:
        break; // the problem index, which knows the shot changes, says these
    case Untranslated:
        return measure(subtitle.text()).counted == 0 ? tr("No text yet")
                                                        : tr("The same text as the original line");
    case NoMatchingOriginal:
        return tr("No original line starts at %L1 s and ends at %L2 s").arg(seconds(subtitle.start)).arg(seconds(subtitle.end));
    case NotAligned:
        return tr("Aligning to the speech left it where it was: its words were not found");
    }
    return {};
}

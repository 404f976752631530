#include "format/MarkupTokenizer.h"

#include <optional>

namespace {

using Kind = MarkupTokenizer::Kind;
using Token = MarkupTokenizer::Token;

// Each tag is matched by hand from where it starts, looking no further than the next
// delimiter of its kind: a subtitle of many tags is then read in one pass.
class TagScanner
{
public:
    explicit TagScanner(QStringView text)
        : m_text(text)
    {
    }

    // The tag starting at `start`, if it is one the formats know.
    std::optional<Token> tagAt(qsizetype start) const
    {
        return m_text[start] == u'{' ? braceTag(start) : angleTag(start);
    }

private:
    static bool isAsciiSpace(QChar c)
    {
        return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v';
    }
    static bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
    static bool isAlphanumeric(QChar c)
    {
        return isDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    }

    QChar at(qsizetype i) const { return i < m_text.size() ? m_text[i] : QChar(); }
    qsizetype skipSpaces(qsizetype i) const
    {
        while (i < m_text.size() && isAsciiSpace(m_text[i]))
            ++i;
        return i;
    }
    qsizetype skipDigits(qsizetype i) const
    {
        while (i < m_text.size() && isDigit(m_text[i]))
            ++i;
        return i;
    }
    // Whether `word` (lower case ASCII) is at `i`, in any case.
    bool hasWord(qsizetype i, QLatin1StringView word) const
    {
        return i + word.size() <= m_text.size() && m_text.sliced(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
    }
    // The first of `a` or `b` from `i` on; the text's size when neither comes.
    qsizetype findEither(qsizetype i, char16_t a, char16_t b) const
    {
        while (i < m_text.size() && m_text[i] != a && m_text[i] != b)
            ++i;
        return i;
    }
    Token token(Kind kind, qsizetype start, qsizetype end, QString value = {}, bool closing = false) const
    {
        return Token{kind, m_text.sliced(start, end - start), std::move(value), closing};
    }

    // {\anN}, or any other block of ASS overrides: braces around text holding a backslash.
    std::optional<Token> braceTag(qsizetype start) const
    {
        if (m_text.sliced(start + 1).startsWith(u"\\an") && at(start + 4) >= u'1' && at(start + 4) <= u'9' && at(start + 5) == u'}')
            return token(Kind::Position, start, start + 6, QString(m_text[start + 4]));
        const qsizetype close = findEither(start + 1, u'{', u'}');
        if (close >= m_text.size() || m_text[close] != u'}' || !m_text.sliced(start + 1, close - start - 1).contains(u'\\'))
            return std::nullopt;
        return token(Kind::AssOverride, start, close + 1);
    }

    std::optional<Token> angleTag(qsizetype start) const
    {
        const bool closing = at(start + 1) == u'/';
        const qsizetype name = start + 1 + closing;
        // <i>, <b>, <u> in either case
        const QChar letter = at(name).toLower();
        if ((letter == u'i' || letter == u'b' || letter == u'u') && at(name + 1) == u'>')
            return token(letter == u'i' ? Kind::Italic : letter == u'b' ? Kind::Bold : Kind::Underline, start, name + 2, {}, closing);
        if (hasWord(name, QLatin1StringView("font"))) {
            if (closing) {
                const qsizetype end = skipSpaces(name + 4);
                if (at(end) == u'>')
                    return token(Kind::Color, start, end + 1, {}, true);
            } else if (const auto color = fontColor(start, name + 4)) {
                return color;
            }
        }
        if (const auto tag = webVttTag(start, name, closing))
            return tag;
        if (!closing)
            return timestamp(start);
        return std::nullopt;
    }

    // <font color="#ffff00">, quotes optional; after "<font" at `i`.
    std::optional<Token> fontColor(qsizetype start, qsizetype i) const
    {
        const qsizetype spaced = skipSpaces(i);
        if (spaced == i || !hasWord(spaced, QLatin1StringView("color")))
            return std::nullopt;
        i = skipSpaces(spaced + 5);
        if (at(i) != u'=')
            return std::nullopt;
        i = skipSpaces(i + 1);
        if (at(i) == u'"' || at(i) == u'\'')
            ++i;
        const qsizetype valueStart = i;
        if (at(i) == u'#')
            ++i;
        const qsizetype digits = i;
        while (i < m_text.size() && isAlphanumeric(m_text[i]))
            ++i;
        if (i == digits)
            return std::nullopt;
        const qsizetype valueEnd = i;
        if (at(i) == u'"' || at(i) == u'\'')
            ++i;
        i = skipSpaces(i);
        if (at(i) != u'>')
            return std::nullopt;
        return token(Kind::Color, start, i + 1, m_text.sliced(valueStart, valueEnd - valueStart).toString());
    }

    // <c.class>, <v Speaker>, <lang en>, <ruby>, <rt> and their ends, in lower case.
    std::optional<Token> webVttTag(qsizetype start, qsizetype name, bool closing) const
    {
        qsizetype i = name;
        while (i < m_text.size() && m_text[i] >= u'a' && m_text[i] <= u'z')
            ++i;
        const QStringView word = m_text.sliced(name, i - name);
        if (word != u"c" && word != u"v" && word != u"lang" && word != u"ruby" && word != u"rt")
            return std::nullopt;
        if (at(i) != u'>') {
            if (i >= m_text.size() || (m_text[i] != u'.' && !isAsciiSpace(m_text[i])))
                return std::nullopt;
            i = findEither(i + 1, u'<', u'>');
            if (i >= m_text.size() || m_text[i] != u'>')
                return std::nullopt;
        }
        return token(Kind::WebVttTag, start, i + 1, word.toString(), closing);
    }

    // <mm:ss.ttt> or <h:mm:ss.ttt>, hours of any number of digits.
    std::optional<Token> timestamp(qsizetype start) const
    {
        const qsizetype first = start + 1;
        const qsizetype firstEnd = skipDigits(first);
        if (firstEnd == first || at(firstEnd) != u':')
            return std::nullopt;
        const qsizetype second = firstEnd + 1;
        const qsizetype secondEnd = skipDigits(second);
        if (secondEnd - second != 2)
            return std::nullopt;
        qsizetype seconds = second; // where the two digits of the seconds are
        if (at(secondEnd) == u':') {
            seconds = secondEnd + 1;
            if (skipDigits(seconds) - seconds != 2)
                return std::nullopt;
        } else if (firstEnd - first != 2) {
            return std::nullopt;
        }
        if (at(seconds + 2) != u'.')
            return std::nullopt;
        const qsizetype fraction = seconds + 3;
        if (skipDigits(fraction) - fraction != 3 || at(fraction + 3) != u'>')
            return std::nullopt;
        return token(Kind::WebVttTag, start, fraction + 4, QStringLiteral("timestamp"));
    }

    QStringView m_text;
};

} // namespace

bool MarkupTokenizer::isLineBreak(QChar c)
{
    return c == u'\n' || isSeparator(c);
}

bool MarkupTokenizer::isSeparator(QChar c)
{
    return c == QChar(0x2028) || c == QChar(0x2029) || c == QChar(0x0085);
}

QList<MarkupTokenizer::Token> MarkupTokenizer::tokenize(QStringView text)
{
    QList<Token> tokens;
    const TagScanner scanner(text);
    qsizetype textStart = 0;
    const auto flushText = [&](qsizetype upTo) {
        if (upTo > textStart)
            tokens.append({Kind::Text, text.sliced(textStart, upTo - textStart)});
    };
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (isLineBreak(c)) {
            flushText(i);
            tokens.append({Kind::LineBreak, text.sliced(i, 1)});
            textStart = ++i;
            continue;
        }
        if (c == u'<' || c == u'{') {
            if (auto tag = scanner.tagAt(i)) {
                flushText(i);
                i += tag->raw.size();
                tokens.append(std::move(*tag));
                textStart = i;
                continue;
            }
        }
        ++i;
    }
    flushText(i);
    return tokens;
}

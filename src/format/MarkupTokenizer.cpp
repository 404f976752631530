#include "format/MarkupTokenizer.h"

#include <QRegularExpression>

namespace {

using Kind = MarkupTokenizer::Kind;
using Token = MarkupTokenizer::Token;

// A tag at the start of `rest`, if it is one the formats know.
std::optional<Token> tagAt(QStringView rest)
{
    static const QRegularExpression simple(QStringLiteral(R"(^<(/?)([ibu])>)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression fontOpen(QStringLiteral(R"(^<font\s+color\s*=\s*["']?(#?[0-9A-Za-z]+)["']?\s*>)"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression fontClose(QStringLiteral(R"(^</font\s*>)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression position(QStringLiteral(R"(^\{\\an([1-9])\})"));
    static const QRegularExpression override(QStringLiteral(R"(^\{[^{}]*\\[^{}]*\})"));
    static const QRegularExpression webVtt(QStringLiteral(R"(^<(/?)(c|v|lang|ruby|rt)(?:[.\s][^<>]*)?>)"));
    static const QRegularExpression timestamp(QStringLiteral(R"(^<(?:\d+:)?\d\d:\d\d\.\d\d\d>)"));

    if (auto match = simple.match(rest); match.hasMatch()) {
        const QChar letter = match.capturedView(2).at(0).toLower();
        const Kind kind = letter == u'i' ? Kind::Italic : letter == u'b' ? Kind::Bold : Kind::Underline;
        return Token{kind, match.capturedView(0), {}, !match.capturedView(1).isEmpty()};
    }
    if (auto match = fontOpen.match(rest); match.hasMatch())
        return Token{Kind::Color, match.capturedView(0), match.captured(1), false};
    if (auto match = fontClose.match(rest); match.hasMatch())
        return Token{Kind::Color, match.capturedView(0), {}, true};
    if (auto match = position.match(rest); match.hasMatch())
        return Token{Kind::Position, match.capturedView(0), match.captured(1), false};
    if (auto match = override.match(rest); match.hasMatch())
        return Token{Kind::AssOverride, match.capturedView(0), {}, false};
    if (auto match = webVtt.match(rest); match.hasMatch())
        return Token{Kind::WebVttTag, match.capturedView(0), match.captured(2), !match.capturedView(1).isEmpty()};
    if (auto match = timestamp.match(rest); match.hasMatch())
        return Token{Kind::WebVttTag, match.capturedView(0), QStringLiteral("timestamp"), false};
    return std::nullopt;
}

} // namespace

QList<MarkupTokenizer::Token> MarkupTokenizer::tokenize(QStringView text)
{
    QList<Token> tokens;
    qsizetype textStart = 0;
    const auto flushText = [&](qsizetype upTo) {
        if (upTo > textStart)
            tokens.append({Kind::Text, text.sliced(textStart, upTo - textStart)});
    };
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'\n') {
            flushText(i);
            tokens.append({Kind::LineBreak, text.sliced(i, 1)});
            textStart = ++i;
            continue;
        }
        if (c == u'<' || c == u'{') {
            if (const auto tag = tagAt(text.sliced(i))) {
                flushText(i);
                tokens.append(*tag);
                i += tag->raw.size();
                textStart = i;
                continue;
            }
        }
        ++i;
    }
    flushText(i);
    return tokens;
}

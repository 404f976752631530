#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Splits a subtitle's text, as the program keeps it, into what each format has to write.
// The texts use SRT's tags for what every format can say (<i>, <b>, <u>, <font color>,
// {\anN}, line feeds); tags of one format only stay in the text as that format wrote them
// ({\pos(…)} and other ASS override blocks; WebVTT's <c.class>, <v Speaker>, <lang>,
// <ruby>, <rt> and timestamps) for its writer to put back and others to leave out.
class MarkupTokenizer
{
public:
    enum class Kind {
        Text,
        LineBreak,
        Italic,
        Bold,
        Underline,
        Color, // `value` is the colour as written ("#ffff00", "yellow"); empty when closing
        Position, // {\anN}: `value` is N
        AssOverride, // any other {…} block holding a backslash
        WebVttTag, // `value` is the tag's name: "c", "v", "lang", "ruby", "rt" or "timestamp"
    };
    struct Token
    {
        Kind kind;
        QStringView raw; // exactly as the text has it
        QString value = {};
        bool closing = false;
    };

    static QList<Token> tokenize(QStringView text);

    // A line feed, or a separator that SRT reads as a line break: U+2028, U+2029, U+0085.
    // The other formats have no such character, so every writer breaks the line there.
    static bool isLineBreak(QChar c);
    static bool isSeparator(QChar c);
};

#pragma once

#include <QString>

#include <optional>

// Breaks a subtitle's text into lines again, at the spaces that balance the lines best.
class LineBalancer
{
public:
    // The words of `text` on as few lines as keep every line within `maxLineLength`
    // visible characters, with the longest line as short as it can be (and, among equal
    // ones, the lines as even as they can be). Nothing when no breaking into at most
    // `maxLines` lines fits: a word longer than a line, or simply too much text.
    static std::optional<QString> rebreak(const QString &text, int maxLineLength, int maxLines);
};

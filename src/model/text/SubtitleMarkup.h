#pragma once

#include <QString>
#include <QtCore/qnamespace.h>

// The formatting that SRT texts carry as tags: <i>, <b>, <u>, <font color="…"> and the
// position tag {\anN}.
class SubtitleMarkup
{
public:
    // A text ready for a rich-text label: the known tags as formatting, every other
    // character as written (unknown tags included) and every line break kept.
    struct Rendered
    {
        QString html;
        bool top = false; // {\an7}, {\an8} or {\an9}
        Qt::Alignment horizontal = Qt::AlignHCenter;
    };
    static Rendered render(const QString &text);

    // The words as a screen reader reads them: no tags, the lines joined by spaces.
    static QString spoken(QStringView text);

    // Italic on or off: a text wholly in <i>…</i> loses them, any other gets them.
    static QString toggledItalic(const QString &text);

    // The same for the part of `text` from `start` to `end`, which afterwards covers the
    // same words; start and end are updated.
    static QString toggledItalic(const QString &text, int &start, int &end);

    // A formatting tag (`tag` 'i' for <i>, 'b' for <b>, …) on or off for the part of `text`
    // from `start` to `end`: off when every visible character there has it already, on
    // otherwise. An empty part stands for the word at the caret; with no word there, or
    // nothing visible in the part, the text comes back unchanged. The tag's pairs are
    // rewritten so that each run of formatted words has one, however the part met the old
    // ones. start and end are moved to cover the same characters (a caret stays a caret).
    static QString toggledTag(const QString &text, QChar tag, int &start, int &end);
};

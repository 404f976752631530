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

    // Italic on or off: a text wholly in <i>…</i> loses them, any other gets them.
    static QString toggledItalic(const QString &text);

    // The same for the part of `text` from `start` to `end`, which afterwards covers the
    // same words; start and end are updated.
    static QString toggledItalic(const QString &text, int &start, int &end);
};

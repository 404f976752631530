#pragma once

#include <QList>
#include <Qt>

class SubtitleView;

// What a drag starting under the pointer would do, and to which blocks: one block for
// the three block actions, the left and right neighbour for the gap between them.
struct SubtitleViewAction
{
    enum class Kind { MoveSubtitle, MoveStart, MoveEnd, MoveEmptySpace };

    Kind kind = Kind::MoveSubtitle;
    QList<SubtitleView *> activeViews;

    static Qt::CursorShape cursorShape(Kind kind);

    friend bool operator==(const SubtitleViewAction &, const SubtitleViewAction &) = default;
};

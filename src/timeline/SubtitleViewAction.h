#pragma once

#include "model/Subtitle.h"

#include <Qt>

// What a drag starting under the pointer would do, and to which subtitles' blocks: one
// for the three block actions, the left and right neighbour for the gap between them.
struct SubtitleViewAction
{
    enum class Kind { MoveSubtitle, MoveStart, MoveEnd, MoveEmptySpace };

    Kind kind = Kind::MoveSubtitle;
    SubtitleList subtitles;

    static Qt::CursorShape cursorShape(Kind kind);

    friend bool operator==(const SubtitleViewAction &, const SubtitleViewAction &) = default;
};

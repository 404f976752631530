#include "timeline/SubtitleViewAction.h"

Qt::CursorShape SubtitleViewAction::cursorShape(Kind kind)
{
    switch (kind) {
    case Kind::MoveSubtitle:
        return Qt::OpenHandCursor;
    case Kind::MoveStart:
    case Kind::MoveEnd:
        return Qt::SizeHorCursor;
    case Kind::MoveEmptySpace:
        return Qt::SplitHCursor;
    }
    return Qt::ArrowCursor;
}

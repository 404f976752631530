#pragma once

#include <QDebug>

// One subtitle that an update moved from list position oldIndex to newIndex.
struct SubtitleIndexUpdate
{
    int oldIndex = 0;
    int newIndex = 0;

    friend bool operator==(const SubtitleIndexUpdate &, const SubtitleIndexUpdate &) = default;
};

inline QDebug operator<<(QDebug debug, const SubtitleIndexUpdate &update)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << update.oldIndex << "->" << update.newIndex;
    return debug;
}

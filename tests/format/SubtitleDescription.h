#pragma once

#include "model/Subtitle.h"

#include <QStringList>

// A list of subtitles as one line a test compares: "text@start-end|...".
inline QString describeSubtitles(const SubtitleList &subtitles)
{
    QStringList parts;
    for (const SubtitlePtr &subtitle : subtitles)
        parts << QStringLiteral("%1@%2-%3").arg(subtitle->text()).arg(subtitle->start).arg(subtitle->end);
    return parts.join(u'|');
}

#pragma once

#include "model/IndexSet.h"
#include "model/Subtitle.h"

#include <QStringList>

// Subtitles as one line a test writes and compares: "text@start-end|…", in list order.
inline QString describeSubtitles(const SubtitleList &subtitles)
{
    QStringList parts;
    for (const SubtitlePtr &subtitle : subtitles)
        parts << QStringLiteral("%1@%2-%3").arg(subtitle->text()).arg(subtitle->start).arg(subtitle->end);
    return parts.join(u'|');
}

// Reads that line back; the text and its @ may be left out. When `selected` is given, it
// gets every subtitle but those marked with a leading *.
inline SubtitleList subtitlesFrom(const QString &description, IndexSet *selected = nullptr)
{
    SubtitleList list;
    for (QString part : description.split(u'|', Qt::SkipEmptyParts)) {
        if (part.startsWith(u'*'))
            part.remove(0, 1);
        else if (selected)
            selected->insert(int(list.size()));
        const QString times = part.section(u'@', -1);
        list.append(Subtitle::create(part.section(u'@', 0, -2), times.section(u'-', 0, 0).toDouble(), times.section(u'-', 1).toDouble()));
    }
    return list;
}

inline QStringList textsOf(const SubtitleList &subtitles)
{
    QStringList texts;
    for (const SubtitlePtr &subtitle : subtitles)
        texts << subtitle->text();
    return texts;
}

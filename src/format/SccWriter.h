#pragma once

#include "format/FormatKeep.h"
#include "model/Subtitle.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Writes subtitles as pop-on SCC captions: each one's codes are sent in the frames before
// it shows, so that its end of caption falls on its start frame, and an erase falls on its
// end frame unless the next one shows then. A file read unchanged is written back as read.
class SccWriter
{
    Q_DECLARE_TR_FUNCTIONS(SccWriter)

public:
    static QString write(const SubtitleList &subtitles, const FormatKeep *keep);
    // What writing changes: texts that do not fit 32 columns and 4 rows, characters and
    // styles captions do not have, captions that cannot be sent in time and how late they show.
    static QStringList losses(const SubtitleList &subtitles, const FormatKeep *keep);
};

#pragma once

#include "format/FormatKeep.h"
#include "model/Subtitle.h"

#include <QString>
#include <QStringView>

#include <optional>

// Who speaks a subtitle, as the formats that name one say it: WebVTT in the text, with a
// <v Name> tag at its start; ASS in the event's Name field, which the keep holds. A
// conversion between them carries the speaker across instead of leaving it out.
class SpeakerText
{
public:
    // The name of the voice the text begins with (after a {\anN}), or empty.
    static QString voiceOf(QStringView text);
    // The text begun by a voice tag for `speaker`, unless it has a voice or no speaker is given.
    static QString withVoice(const QString &text, const QString &speaker);
    // The speaker an ASS or SSA keep holds for the subtitle: its event's Name field.
    static QString speakerOf(const FormatKeep &keep, const Subtitle &subtitle);
    // The subtitles with the speakers of an ASS or SSA keep as voices in their texts;
    // nothing when none has a speaker to add.
    static std::optional<SubtitleList> voiced(const SubtitleList &subtitles, const FormatKeep &keep);
};

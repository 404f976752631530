#pragma once

#include "format/SubtitleFormat.h"
#include "model/Subtitle.h"

#include <QCoreApplication>
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

// What a file in a format other than SRT holds beyond the subtitles' times and texts:
// its header and styles, and for each subtitle the cue as the file had it and the parts
// the program does not edit (style, layer, margins, cue settings, identifier…). Writing
// the same format again puts back every cue whose time and text are unchanged exactly as
// it was read, and keeps the other parts of the changed ones.
//
// The reader that made it fills it; afterwards it is only read, so documents, saves and
// the command line may share it.
class FormatKeep
{
    Q_DECLARE_TR_FUNCTIONS(FormatKeep)

public:
    struct Cue
    {
        // What came between the previous cue and this one, exactly (blank lines, notes,
        // comment events…): written before it.
        QString before;
        // The cue exactly as the file had it, without what ends it.
        QString source;
        // The subtitle as read from `source`: while the subtitle still has these values,
        // `source` is written back.
        double start = 0;
        double end = 0;
        QString text;
        // The format's own parts of the cue, in the format's own order (the writer's
        // business: the names of an ASS event's fields, a WebVTT cue's identifier and settings…).
        QStringList fields;
        // Where the cue was in the file, counted from 0.
        qsizetype order = 0;

        bool isUnchanged(const Subtitle &subtitle) const
        {
            return subtitle.start == start && subtitle.end == end && subtitle.text() == text;
        }
        bool timesUnchanged(const Subtitle &subtitle) const { return subtitle.start == start && subtitle.end == end; }
        bool textUnchanged(const Subtitle &subtitle) const { return subtitle.text() == text; }
    };

    // What writing in another format may lose, counted as the reader found it.
    enum class Part {
        Header, // text before the subtitles (WebVTT's header, [Script Info])
        StyleDefinitions, // ASS styles, WebVTT STYLE blocks, TTML styling
        Styles, // subtitles with a style of their own
        Layers,
        Margins,
        Effects,
        Speakers, // ASS actor names, WebVTT voices
        Identifiers, // WebVTT cue identifiers, TTML ids
        CueSettings, // WebVTT position, line, align, size
        Regions, // WebVTT REGION blocks, TTML layout
        Notes, // WebVTT NOTE blocks, ASS comment events, unknown sections
    };

    explicit FormatKeep(SubtitleFormat::Id format)
        : m_format(format)
    {
    }

    SubtitleFormat::Id format() const { return m_format; }

    // Everything before the first cue, and after the last, exactly.
    QString header;
    QString trailer;
    // File-wide values the writer needs (an ASS file's event field order, TTML's frame rate…).
    QStringList fileFields;

    // The file's text, for a reader whose cues view into it (QString::fromRawData) rather
    // than hold copies, so that a big file's cues cost little beyond the file itself.
    void holdText(const QString &text) { m_text = text; }
    // A part of the held text as a string that views it: valid while this keep lives.
    QString view(QStringView part) const
    {
        Q_ASSERT(part.isEmpty() || (part.data() >= m_text.constData() && part.data() + part.size() <= m_text.constData() + m_text.size()));
        return QString::fromRawData(part.data(), part.size());
    }

    void keep(const SubtitlePtr &subtitle, Cue cue);
    const Cue *cue(const Subtitle &subtitle) const;
    qsizetype cueCount() const { return m_cues.size(); }

    void count(Part part, qsizetype howMany = 1) { m_parts[part] += howMany; }
    const QMap<Part, qsizetype> &parts() const { return m_parts; }
    // A part as the user reads it in a list of what a conversion loses: "styles of 12 subtitles".
    static QString describe(Part part, qsizetype howMany);

    // The subtitles in the order to write them: the ones read from the file in the file's
    // order, every other one after the subtitle before it in `subtitles`. A file that was
    // in time order stays in the list's order.
    SubtitleList inWritingOrder(const SubtitleList &subtitles) const;

private:
    SubtitleFormat::Id m_format;
    QString m_text;
    QHash<const Subtitle *, Cue> m_cues;
    // The subtitles the cues belong to, so that no other can take one's address.
    QList<SubtitlePtr> m_subtitles;
    QMap<Part, qsizetype> m_parts;
};

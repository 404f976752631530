#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

// The part of a TTML style the program's tags can say: italic, bold, underline and a
// colour ("#rrggbb"; empty for the default white). Reader and writer share it, and the
// writer of a kept file writes a changed text against the style its paragraph already has.
struct TtmlStyle
{
    bool italic = false;
    bool bold = false;
    bool underline = false;
    QString color;

    // From TTML style properties by local name ("fontStyle" → "italic", …).
    static TtmlStyle fromProperties(const QHash<QString, QString> &properties);
    // A colour as TTML writes it ("#rgb", "#rrggbbaa", "rgb(…)", "yellow") as "#rrggbb";
    // empty for white, transparent and what it cannot read.
    static QString colorOf(QStringView value);

    // The tts attributes (qualified "tts:…") that make text of `base` look like this one.
    QList<QPair<QString, QString>> attributesOver(const TtmlStyle &base) const;

    // As one field of a kept cue, and back.
    QString encoded() const;
    static TtmlStyle decoded(QStringView field);

    friend bool operator==(const TtmlStyle &, const TtmlStyle &) = default;
};

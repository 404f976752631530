#pragma once

#include <QAccessibleWidget>
#include <QCoreApplication>

#include <optional>

class Document;
class TimelineStrip;
class TimelineViewController;

// What a screen reader makes of the timeline, which is drawn rather than built of widgets:
// its name says the subtitle under the playback cursor (the selected one while no video
// gives a cursor), with its number and times, and its description the subtitles either
// side. The timeline tells the reader when either changes (TimelineViewController).
class TimelineAccessible : public QAccessibleWidget
{
    Q_DECLARE_TR_FUNCTIONS(TimelineAccessible)

public:
    explicit TimelineAccessible(TimelineStrip *strip);

    // Makes every TimelineStrip answer with this interface; once is enough.
    static void install();

    // The subtitle the timeline speaks of, and its neighbours: positions in the list, -1
    // for none. Between subtitles, the ones before and after the cursor.
    struct Subject
    {
        int shown = -1;
        int previous = -1;
        int next = -1;
    };
    static Subject subjectOf(const TimelineViewController &timeline);
    // The subtitle a key takes the selection to (Left, Right, Home, End), or -1.
    static int neighbourOf(const TimelineViewController &timeline, Qt::Key key);
    static QString name(const TimelineViewController &timeline);
    static QString description(const TimelineViewController &timeline);

    QString text(QAccessible::Text t) const override;

private:
    static QString said(Document &document, int position, std::optional<int> count = std::nullopt);
    const TimelineViewController &timeline() const;
};

#include "timeline/TimelineAccessible.h"

#include "document/Document.h"
#include "model/SubtitleController.h"
#include "model/text/SubtitleMarkup.h"
#include "timeline/TimelineStrip.h"
#include "timeline/TimelineViewController.h"

#include <QAccessible>

namespace {

QAccessibleInterface *timelineInterface(const QString &, QObject *object)
{
    if (auto *strip = qobject_cast<TimelineStrip *>(object))
        return new TimelineAccessible(strip);
    return nullptr;
}

} // namespace

// "subtitle 3, 00:00:05,000 to 00:00:07,500: Hello there", numbered as the list numbers
// it; "subtitle 3 of 12, …" with the count.
QString TimelineAccessible::said(Document &document, int position, std::optional<int> count)
{
    const Subtitle &subtitle = *document.subtitleController().at(position);
    const TimeDisplay display = document.timeDisplay();
    const QString number = count ? tr("subtitle %1 of %2").arg(position + 1).arg(*count)
                                 : tr("subtitle %1").arg(position + 1);
    return tr("%1, %2 to %3: %4", "subtitle, start, end, text")
        .arg(number, display.format(subtitle.start), display.format(subtitle.end),
             SubtitleMarkup::spoken(subtitle.text()));
}

TimelineAccessible::TimelineAccessible(TimelineStrip *strip)
    : QAccessibleWidget(strip, QAccessible::Canvas)
{
}

void TimelineAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&timelineInterface);
        return true;
    }();
    Q_UNUSED(installed)
}

const TimelineViewController &TimelineAccessible::timeline() const
{
    return *static_cast<const TimelineStrip *>(widget())->timeline();
}

TimelineAccessible::Subject TimelineAccessible::subjectOf(const TimelineViewController &timeline)
{
    const SubtitleController &controller = timeline.document()->subtitleController();
    const SubtitleList &subtitles = controller.subtitles();
    const int count = controller.count();
    Subject subject;
    if (timeline.isCursorShown()) {
        const double time = timeline.currentTime();
        if (const std::optional<int> shown = SubtitleController::indexShownAt(subtitles, time)) {
            subject.shown = *shown;
        } else {
            const int started = SubtitleController::countStartedBy(subtitles, time);
            subject.previous = started - 1;
            subject.next = started < count ? started : -1;
            return subject;
        }
    } else if (!timeline.selectedSubtitles().isEmpty()) {
        subject.shown = controller.indexOf(timeline.selectedSubtitles().first());
    }
    if (subject.shown < 0) {
        subject.next = count > 0 ? 0 : -1;
        return subject;
    }
    subject.previous = subject.shown - 1;
    subject.next = subject.shown + 1 < count ? subject.shown + 1 : -1;
    return subject;
}

int TimelineAccessible::neighbourOf(const TimelineViewController &timeline, Qt::Key key)
{
    const int count = timeline.document()->subtitleController().count();
    if (count == 0)
        return -1;
    switch (key) {
    case Qt::Key_Left: return subjectOf(timeline).previous;
    case Qt::Key_Right: return subjectOf(timeline).next;
    case Qt::Key_Home: return 0;
    case Qt::Key_End: return count - 1;
    default: return -1;
    }
}

QString TimelineAccessible::name(const TimelineViewController &timeline)
{
    Document &document = *timeline.document();
    const int count = document.subtitleController().count();
    const Subject subject = subjectOf(timeline);
    QString where;
    if (count == 0)
        where = tr("no subtitles");
    else if (subject.shown >= 0)
        where = said(document, subject.shown, count);
    else if (!timeline.isCursorShown())
        where = tr("no subtitle selected");
    else if (subject.previous >= 0 && subject.next >= 0)
        where = tr("between subtitles %1 and %2").arg(subject.previous + 1).arg(subject.next + 1);
    else if (subject.next >= 0)
        where = tr("before subtitle 1");
    else
        where = tr("after subtitle %1").arg(count);
    return tr("Timeline, %1").arg(where);
}

QString TimelineAccessible::description(const TimelineViewController &timeline)
{
    Document &document = *timeline.document();
    const Subject subject = subjectOf(timeline);
    QStringList parts;
    if (subject.previous >= 0)
        parts << tr("Previous: %1.").arg(said(document, subject.previous));
    if (subject.next >= 0)
        parts << tr("Next: %1.").arg(said(document, subject.next));
    parts << tr("Left and Right select the previous and next subtitle, Home and End the first and last.");
    return parts.join(u' ');
}

QString TimelineAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return name(timeline());
    case QAccessible::Description:
        return description(timeline());
    default:
        return QAccessibleWidget::text(t);
    }
}

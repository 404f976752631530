#pragma once

#include "document/Document.h"
#include "media/MediaSession.h"
#include "timeline/TimelineViewController.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <memory>

using Times = QList<std::pair<double, double>>;

// A document with subtitles and a 600-point-wide timeline pane at magnification 1
// (30 points per second, no scroll offset).
struct TimelineFixture
{
    static constexpr int paneWidth = 600;
    static constexpr int rowY = TimelineViewController::rulerHeight + 30; // inside the block row

    Document document;
    MediaSession media;
    std::unique_ptr<TimelineViewController> timeline;

    explicit TimelineFixture(const Times &times)
    {
        document.attachController();
        media.setCaches({});
        media.serve(&document.undoManager(), &document.problemIndex());
        SubtitleList subtitles;
        int n = 0;
        for (const auto &[start, end] : times)
            subtitles.append(Subtitle::create(QStringLiteral("Subtitle %1").arg(++n), start, end));
        document.subtitleController().setSubtitles(subtitles);
        timeline = std::make_unique<TimelineViewController>(&document, &media);
        timeline->resize(paneWidth, 150);
        timeline->show();
        QApplication::processEvents();
    }

    SubtitlePtr at(int index) { return document.subtitleController().at(index); }
    // Each subtitle's start and end, in list order.
    Times times()
    {
        Times result;
        for (const SubtitlePtr &s : document.subtitleController().subtitles())
            result.append({s->start, s->end});
        return result;
    }
    QWidget *strip() const { return timeline->contentView(); }

    void send(QEvent::Type type, QPointF position, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, position, strip()->mapToGlobal(position), button, buttons, modifiers);
        QApplication::sendEvent(strip(), &event);
    }
    void hover(QPointF position) { send(QEvent::MouseMove, position, Qt::NoButton); }
    // Presses at `from`, moves to each point in turn holding the button, releases at the last.
    void drag(QPointF from, const QList<QPointF> &path, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              bool release = true)
    {
        hover(from);
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
        for (const QPointF &point : path)
            send(QEvent::MouseMove, point, Qt::LeftButton, modifiers);
        if (release)
            send(QEvent::MouseButtonRelease, path.isEmpty() ? from : path.last(), Qt::NoButton, modifiers);
    }
    void click(QPointF position, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        hover(position);
        QTest::mouseClick(strip(), Qt::LeftButton, modifiers, position.toPoint());
    }
    // Ends the undo step of the current turn of the event loop, as returning to it would.
    void endTurn() { document.undoManager().closeEventGroup(); }
};

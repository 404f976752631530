#pragma once

#include <QWidget>

// Tells a screen reader the subtitle that the video shows, for those who asked for it
// (Playback ▸ Announce Subtitles). Qt has no announcement before 6.8, so this is an object
// of its own, a notification, as a live region is: each subtitle becomes its name, with
// the events of a name changed and of a notification shown, which a screen reader speaks
// wherever the keyboard is.
class SubtitleAnnouncer : public QWidget
{
    Q_OBJECT

public:
    explicit SubtitleAnnouncer(QWidget *parent);

    // An empty text says nothing and keeps the last one.
    void announce(const QString &text);
    QString lastAnnounced() const { return m_text; }

private:
    QString m_text;
};

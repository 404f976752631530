#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class AudioWaveform;
class Document;
class VideoPlayerViewController;

// Keeps a document's speech with its video: the waveform read for the timeline finds the
// speech in the same decoding, and what it finds goes into the document as it comes.
// Another video, or none, takes the old speech away at once. Made before the timeline
// hears of a new waveform, so that detection is asked for before the reading starts.
class SpeechTracking : public QObject
{
    Q_OBJECT

public:
    SpeechTracking(Document *document, VideoPlayerViewController *player, QObject *parent = nullptr);

private:
    void waveformChanged(const std::shared_ptr<AudioWaveform> &waveform);

    QPointer<Document> m_document;
    AudioWaveform *m_waveform = nullptr; // the one whose speech counts; the timeline owns it
};

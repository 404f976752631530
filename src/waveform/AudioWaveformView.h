#pragma once

#include <QWidget>

#include <memory>

class AudioWaveform;
class QPainter;

// Draws a waveform's envelope mirrored about the middle, filling in as batches arrive.
// The view shows a window onto a time scale: a time t lies at
// x = t × pointsPerSecond − offset, whatever the zoom and the length of the audio.
class AudioWaveformView : public QWidget
{
    Q_OBJECT

public:
    explicit AudioWaveformView(QWidget *parent = nullptr);
    ~AudioWaveformView() override;

    std::shared_ptr<AudioWaveform> audioWaveform() const;
    void setAudioWaveform(std::shared_ptr<AudioWaveform> waveform);
    void setTimeScale(double pointsPerSecond, double offset);
    double pointsPerSecond() const { return m_pointsPerSecond; }
    double offset() const { return m_offset; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawProgress(QPainter &painter, const AudioWaveform &waveform);

    std::shared_ptr<AudioWaveform> m_audioWaveform;
    double m_pointsPerSecond = 30;
    double m_offset = 0;
};

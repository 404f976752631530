#pragma once

#include <QWidget>

#include <memory>

class AudioWaveform;
class QPainter;

// Draws a waveform's envelope mirrored about the middle, filling in as batches arrive.
class AudioWaveformView : public QWidget
{
    Q_OBJECT

public:
    explicit AudioWaveformView(QWidget *parent = nullptr);
    ~AudioWaveformView() override;

    std::shared_ptr<AudioWaveform> audioWaveform() const;
    void setAudioWaveform(std::shared_ptr<AudioWaveform> waveform);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawProgress(QPainter &painter, const AudioWaveform &waveform);

    std::shared_ptr<AudioWaveform> m_audioWaveform;
};

#pragma once

#include <QObject>

// How the timeline shows the sound, the same in every window: its loudness (the
// waveform), its pitches over time (the sonogram), or both. Read from the settings once,
// written back and announced when the user chooses another.
class AudioViewSettings : public QObject
{
    Q_OBJECT

public:
    enum class View { Waveform, Sonogram, Both };

    static AudioViewSettings *shared();

    View view() const { return m_view; }
    void setView(View view);
    bool showsWaveform() const { return m_view != View::Sonogram; }
    bool showsSonogram() const { return m_view != View::Waveform; }

signals:
    void viewChanged(AudioViewSettings::View view);

private:
    AudioViewSettings();

    View m_view = View::Waveform;
};

#include "document/AudioViewSettings.h"

#include <QCoreApplication>
#include <QSettings>

namespace {

const QString settingsKey = QStringLiteral("audioView");

// Kept by name: a settings file anyone may edit reads better, and a name that is not
// one of these is the waveform.
QString nameOf(AudioViewSettings::View view)
{
    switch (view) {
    case AudioViewSettings::View::Sonogram:
        return QStringLiteral("spectrogram");
    case AudioViewSettings::View::Both:
        return QStringLiteral("both");
    case AudioViewSettings::View::Waveform:
        break;
    }
    return QStringLiteral("waveform");
}

} // namespace

AudioViewSettings::AudioViewSettings()
    : QObject(QCoreApplication::instance())
{
    const QString stored = QSettings().value(settingsKey).toString();
    for (const View view : {View::Sonogram, View::Both}) {
        if (stored == nameOf(view))
            m_view = view;
    }
}

AudioViewSettings *AudioViewSettings::shared()
{
    static AudioViewSettings *instance = new AudioViewSettings;
    return instance;
}

void AudioViewSettings::setView(View view)
{
    if (view == m_view)
        return;
    m_view = view;
    QSettings().setValue(settingsKey, nameOf(view));
    emit viewChanged(view);
}

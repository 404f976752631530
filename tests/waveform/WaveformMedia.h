#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

// The generated audio files of the waveform tests, made once per test run.
class WaveformMedia
{
public:
    bool generate()
    {
        if (!m_dir.isValid())
            return false;
        const QString script = qEnvironmentVariable("CUEWRIGHT_TEST_DATA") + QStringLiteral("/waveform/generate.sh");
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral("sh"), {script, m_dir.path()});
        return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit
               && process.exitCode() == 0;
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

#include "media/SpeechCommand.h"

#include "format/SubtitleWriter.h"
#include "media/SpeechDetection.h"

#include <QTextStream>

int SpeechCommand::run(const QString &path, int audioTrack, QTextStream &out, QTextStream &err)
{
    const auto speech = SpeechDetection::detect(path, audioTrack);
    if (!speech) {
        err << speech.error() << Qt::endl;
        return 1;
    }
    for (const SpeechStretch &stretch : speech.value().stretches())
        out << SubtitleWriter::formatTime(stretch.start) << " --> " << SubtitleWriter::formatTime(stretch.end) << '\n';
    out.flush();
    return 0;
}

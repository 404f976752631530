#include "media/ShotChangesCommand.h"

#include "format/SubtitleWriter.h"
#include "media/MediaSession.h"

#include <QFileInfo>
#include <QTextStream>

Expected<ShotChangesCommand::Cuts, QString> ShotChangesCommand::find(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return tr("%1: not a file").arg(path);
    MediaSession session;
    session.setAnalyses({.sound = false, .sonogram = false, .shotChanges = true});
    QString failure;
    QObject::connect(&session, &MediaSession::shotScanFailed, [&failure](const QString &message) { failure = message; });
    bool complete = false;
    QObject::connect(&session, &MediaSession::shotScanFinished, [&complete](bool whole) { complete = whole; });
    session.start(QFileInfo(path).absoluteFilePath());
    session.waitUntilFinished();
    if (!complete) {
        if (failure.isEmpty())
            return tr("%1: the video could not be scanned to its end").arg(path);
        // A message about opening the file names it already; one about its pictures does not.
        return failure.contains(path) ? failure : tr("%1: %2").arg(path, failure);
    }
    const std::vector<double> &times = session.shotChanges().times();
    return Cuts{times, session.frameRate()};
}

int ShotChangesCommand::run(const QString &path, QTextStream &out, QTextStream &err)
{
    const auto cuts = find(path);
    if (!cuts) {
        err << cuts.error() << Qt::endl;
        return 1;
    }
    for (double time : cuts.value().times)
        out << SubtitleWriter::formatTime(time) << '\n';
    out.flush();
    return 0;
}

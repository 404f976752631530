#include "media/AudioTrack.h"

#include "decoding/FfmpegDecoding.h"

#include <QFileInfo>
#include <QLocale>

using namespace FfmpegDecoding;

namespace {

QString tag(const AVStream *stream, const char *key)
{
    const AVDictionaryEntry *entry = ffmpeg().av_dict_get(stream->metadata, key, nullptr, 0);
    return entry ? QString::fromUtf8(entry->value).trimmed() : QString();
}

// The language's name where Qt knows the code, otherwise the code as the file gives it.
QString languageName(const QString &code)
{
    const QLocale::Language language = QLocale::codeToLanguage(code);
    return language == QLocale::AnyLanguage ? code : QLocale::languageToString(language);
}

} // namespace

QString AudioTrack::label() const
{
    const QString language = this->language.isEmpty() ? QString() : languageName(this->language);
    if (!language.isEmpty() && !title.isEmpty())
        return tr("%1: %2 — %3").arg(number).arg(language, title);
    if (!language.isEmpty() || !title.isEmpty())
        return tr("%1: %2").arg(number).arg(language.isEmpty() ? title : language);
    return tr("Track %1").arg(number);
}

std::optional<QList<AudioTrack>> AudioTrack::probe(const QString &path)
{
    QList<AudioTrack> tracks;
    Format format;
    if (!FfmpegLibrary::open() || openFile(path, format) < 0)
        return std::nullopt;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream *stream = format->streams[i];
        if (stream->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
            continue;
        AudioTrack track;
        track.number = int(tracks.size()) + 1;
        track.language = tag(stream, "language");
        // ISO 639-2's "undetermined" and "no linguistic content" name no language.
        if (track.language == QLatin1String("und") || track.language == QLatin1String("zxx"))
            track.language.clear();
        track.title = tag(stream, "title");
        tracks.append(track);
    }
    return tracks;
}

QString AudioTrack::missing(const QString &path, int wanted, const QList<AudioTrack> &tracks)
{
    if (wanted >= 1 && wanted <= tracks.size())
        return {};
    const QString name = QFileInfo(path).fileName();
    if (tracks.isEmpty())
        return tr("%1 has no sound: there is no audio track %2.").arg(name).arg(wanted);
    return tr("%1 has no audio track %2: it has %n audio track(s).", nullptr, int(tracks.size())).arg(name).arg(wanted);
}

QString AudioTrack::missingIn(const QString &path, int wanted)
{
    const std::optional<QList<AudioTrack>> tracks = probe(path);
    return tracks ? missing(path, wanted, *tracks) : QString();
}

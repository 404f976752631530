#include "decoding/FfmpegDecoding.h"

#include <QFile>
#include <QFileInfo>

#include <mutex>

namespace FfmpegDecoding {

QString errorText(int code)
{
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    ffmpeg().av_strerror(code, buffer, sizeof buffer);
    return QString::fromUtf8(buffer);
}

int openFile(const QString &path, Format &format)
{
    // FFmpeg's own chatter about damaged files would flood the terminal; a failed reading
    // reports itself once, to whoever asked for it.
    static std::once_flag quiet;
    std::call_once(quiet, [] { ffmpeg().av_log_set_level(AV_LOG_QUIET); });

    format.reset();
    const QFileInfo info(path);
    if (!info.isFile())
        return AVERROR(ENOENT);
    // A name is a file, never a URL ("pipe:0", "http:...").
    const QByteArray url = "file:" + QFile::encodeName(info.absoluteFilePath());
    AVDictionary *options = nullptr;
    ffmpeg().av_dict_set(&options, "protocol_whitelist", "file", 0);
    AVFormatContext *opened = nullptr;
    const int result = ffmpeg().avformat_open_input(&opened, url.constData(), nullptr, &options);
    ffmpeg().av_dict_free(&options);
    if (result < 0)
        return result;
    format.reset(opened);
    if (const int found = ffmpeg().avformat_find_stream_info(opened, nullptr); found < 0) {
        format.reset();
        return found;
    }
    return 0;
}

bool seek(AVFormatContext *format, AVCodecContext *codec, const AVStream *stream, double seconds)
{
    const int64_t target =
        ffmpeg().av_rescale_q(int64_t(seconds * AV_TIME_BASE), AV_TIME_BASE_Q, stream->time_base);
    if (ffmpeg().av_seek_frame(format, stream->index, target, AVSEEK_FLAG_BACKWARD) < 0)
        return false;
    ffmpeg().avcodec_flush_buffers(codec);
    return true;
}

int receiveFrame(AVFormatContext *format, AVCodecContext *codec, int stream, AVPacket *packet, AVFrame *frame,
                 bool &draining)
{
    for (;;) {
        int result = ffmpeg().avcodec_receive_frame(codec, frame);
        if (result == 0 || result == AVERROR_EOF)
            return result;
        if (result != AVERROR(EAGAIN))
            return result;
        if (draining)
            return AVERROR_EOF;

        result = ffmpeg().av_read_frame(format, packet);
        if (result == AVERROR_EOF) {
            draining = true;
            ffmpeg().avcodec_send_packet(codec, nullptr);
            continue;
        }
        if (result < 0)
            return result;
        if (packet->stream_index == stream) {
            result = ffmpeg().avcodec_send_packet(codec, packet);
            if (result < 0 && result != AVERROR_INVALIDDATA) {
                ffmpeg().av_packet_unref(packet);
                return result;
            }
        }
        ffmpeg().av_packet_unref(packet);
    }
}

} // namespace FfmpegDecoding

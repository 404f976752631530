#pragma once

#include "decoding/FfmpegLibrary.h"

#include <QString>

#include <memory>

// What every reading of a media file with FFmpeg does alike: owning its contexts, opening
// a file (never a URL), and pumping packets of one stream through its decoder.
namespace FfmpegDecoding {

struct FormatDeleter {
    void operator()(AVFormatContext *context) const { ffmpeg().avformat_close_input(&context); }
};
struct CodecDeleter {
    void operator()(AVCodecContext *context) const { ffmpeg().avcodec_free_context(&context); }
};
struct FrameDeleter {
    void operator()(AVFrame *frame) const { ffmpeg().av_frame_free(&frame); }
};
struct PacketDeleter {
    void operator()(AVPacket *packet) const { ffmpeg().av_packet_free(&packet); }
};
using Format = std::unique_ptr<AVFormatContext, FormatDeleter>;
using Codec = std::unique_ptr<AVCodecContext, CodecDeleter>;
using Frame = std::unique_ptr<AVFrame, FrameDeleter>;
using Packet = std::unique_ptr<AVPacket, PacketDeleter>;

QString errorText(int code);

// Opens a regular file by its name (a FIFO or a device would block the reading forever)
// and reads its streams' parameters; on failure `format` stays empty and the result is
// FFmpeg's error code (AVERROR(ENOENT) for what is not a regular file).
int openFile(const QString &path, Format &format);

// Goes to the packet of `stream` at or before `seconds` on the file's own clock and empties
// the decoder; false when the file cannot seek.
bool seek(AVFormatContext *format, AVCodecContext *codec, const AVStream *stream, double seconds);

// The next decoded frame of `stream` into `frame`: 0, AVERROR_EOF at the end, or another
// error. A damaged packet is skipped, as players do. `draining` is set once the file is read.
int receiveFrame(AVFormatContext *format, AVCodecContext *codec, int stream, AVPacket *packet, AVFrame *frame,
                 bool &draining);

} // namespace FfmpegDecoding

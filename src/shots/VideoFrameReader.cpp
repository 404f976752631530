#include "shots/VideoFrameReader.h"

#include "shots/SmallFrame.h"
#include "decoding/FfmpegDecoding.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

using namespace FfmpegDecoding;

namespace {

// Box-averages one plane into `out` (outWidth x outHeight). Every second row of a box
// tall enough is enough for a thumbnail and halves the reading of a large frame.
template <typename Sample>
void shrinkPlane(const uint8_t *data, int stride, int width, int height, int shift, uint8_t *out, int outWidth,
                 int outHeight)
{
    std::array<int, SmallFrame::width + 1> columns{};
    for (int x = 0; x <= outWidth; ++x)
        columns[x] = x * width / outWidth;
    std::array<uint32_t, SmallFrame::width> sums{};
    for (int y = 0; y < outHeight; ++y) {
        const int top = y * height / outHeight;
        const int bottom = std::max(top + 1, (y + 1) * height / outHeight);
        const int step = bottom - top >= 4 ? 2 : 1;
        sums.fill(0);
        int rows = 0;
        for (int row = top; row < bottom; row += step, ++rows) {
            const auto *line = reinterpret_cast<const Sample *>(data + ptrdiff_t(row) * stride);
            for (int x = 0; x < outWidth; ++x) {
                uint32_t sum = 0;
                for (int column = columns[x]; column < columns[x + 1]; ++column)
                    sum += line[column];
                sums[x] += sum;
            }
        }
        for (int x = 0; x < outWidth; ++x) {
            const uint32_t count = uint32_t(rows) * uint32_t(std::max(1, columns[x + 1] - columns[x]));
            out[y * outWidth + x] = uint8_t(std::min<uint32_t>(255, (sums[x] / count) >> shift));
        }
    }
}

} // namespace

struct VideoFrameReader::Private
{
    Format format;
    Codec codec;
    Frame frame{ffmpeg().av_frame_alloc()};
    Packet packet{ffmpeg().av_packet_alloc()};
    AVStream *stream = nullptr;
    const AVCodec *decoder = nullptr;
    int threads = 1;
    double origin = 0;
    double duration = 0;
    double frameRate = 0;
    double lastTime = -1;
    bool draining = false;
    QString error;

    QString openDecoder();
    bool shrink(SmallFrame &out);
};

VideoFrameReader::VideoFrameReader(std::unique_ptr<Private> d)
    : d(std::move(d))
{
}

VideoFrameReader::~VideoFrameReader() = default;

Expected<std::unique_ptr<VideoFrameReader>, QString> VideoFrameReader::open(const QString &path)
{
    if (const auto library = FfmpegLibrary::open(); !library)
        return library.error();
    const QFileInfo info(path);
    if (!info.exists())
        return tr("The file \"%1\" does not exist.").arg(path);
    if (!info.isFile())
        return tr("\"%1\" is not a file.").arg(path);
    auto d = std::make_unique<Private>();
    if (const int opened = openFile(path, d->format); opened < 0)
        return tr("\"%1\" could not be read as a video: %2").arg(path, errorText(opened));
    AVFormatContext *format = d->format.get();

    for (unsigned i = 0; i < format->nb_streams; ++i) {
        AVStream *stream = format->streams[i];
        // A cover picture is a video stream of one frame, not the film.
        const bool isVideo = stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO
                             && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC);
        if (!d->stream && isVideo)
            d->stream = stream;
        else
            stream->discard = AVDISCARD_ALL;
    }
    if (!d->stream)
        return tr("\"%1\" has no video stream.").arg(path);
    d->decoder = ffmpeg().avcodec_find_decoder(d->stream->codecpar->codec_id);
    if (!d->decoder)
        return tr("\"%1\": there is no decoder for its video.").arg(path);
    if (const QString failure = d->openDecoder(); !failure.isEmpty())
        return tr("\"%1\": its video could not be decoded: %2").arg(path, failure);

    if (format->start_time != AV_NOPTS_VALUE)
        d->origin = double(format->start_time) / AV_TIME_BASE;
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        d->duration = double(format->duration) / AV_TIME_BASE;
    else if (d->stream->duration != AV_NOPTS_VALUE && d->stream->duration > 0)
        d->duration = d->stream->duration * av_q2d(d->stream->time_base);
    const AVRational rate = ffmpeg().av_guess_frame_rate(format, d->stream, nullptr);
    if (rate.num > 0 && rate.den > 0)
        d->frameRate = av_q2d(rate);
    return std::unique_ptr<VideoFrameReader>(new VideoFrameReader(std::move(d)));
}

QString VideoFrameReader::Private::openDecoder()
{
    codec.reset(ffmpeg().avcodec_alloc_context3(decoder));
    if (!codec)
        return errorText(AVERROR(ENOMEM));
    if (const int copied = ffmpeg().avcodec_parameters_to_context(codec.get(), stream->codecpar); copied < 0)
        return errorText(copied);
    codec->pkt_timebase = stream->time_base;
    codec->thread_count = threads;
    codec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    // Blocking artefacts do not move a thumbnail; the filter costs a fair part of decoding.
    codec->skip_loop_filter = AVDISCARD_ALL;
    if (const int opened = ffmpeg().avcodec_open2(codec.get(), decoder, nullptr); opened < 0)
        return errorText(opened);
    draining = false;
    return {};
}

double VideoFrameReader::duration() const
{
    return d->duration;
}

double VideoFrameReader::frameRate() const
{
    return d->frameRate;
}

QString VideoFrameReader::errorString() const
{
    return d->error;
}

void VideoFrameReader::setThreadCount(int threads)
{
    threads = std::max(1, threads);
    if (threads == d->threads)
        return;
    d->threads = threads;
    if (const QString failure = d->openDecoder(); !failure.isEmpty())
        d->error = failure;
}

bool VideoFrameReader::seek(double seconds)
{
    if (!FfmpegDecoding::seek(d->format.get(), d->codec.get(), d->stream, seconds + d->origin))
        return false;
    d->draining = false;
    d->lastTime = -1;
    return true;
}

bool VideoFrameReader::Private::shrink(SmallFrame &out)
{
    const AVPixFmtDescriptor *layout = ffmpeg().av_pix_fmt_desc_get(AVPixelFormat(frame->format));
    // Planar YUV or grey, 8 to 16 bits: what software decoders give for film.
    if (!layout || (layout->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM))
        || (layout->flags & AV_PIX_FMT_FLAG_BE) || layout->comp[0].depth > 16
        || (layout->nb_components >= 3 && !(layout->flags & AV_PIX_FMT_FLAG_PLANAR))) {
        error = tr("the picture format %1 is not supported").arg(QString::fromUtf8(layout ? layout->name : "?"));
        return false;
    }
    const int depth = layout->comp[0].depth;
    const int shift = std::max(0, depth - 8);
    const bool wide = depth > 8;
    const auto plane = [&](int index, int width, int height, uint8_t *target, int outWidth, int outHeight) {
        if (wide)
            shrinkPlane<uint16_t>(frame->data[index], frame->linesize[index], width, height, shift, target, outWidth,
                                  outHeight);
        else
            shrinkPlane<uint8_t>(frame->data[index], frame->linesize[index], width, height, 0, target, outWidth,
                                 outHeight);
    };
    plane(0, frame->width, frame->height, out.luma.data(), SmallFrame::width, SmallFrame::height);
    if (layout->nb_components >= 3) {
        const int chromaWidth = -((-frame->width) >> layout->log2_chroma_w);
        const int chromaHeight = -((-frame->height) >> layout->log2_chroma_h);
        plane(layout->comp[1].plane, chromaWidth, chromaHeight, out.u.data(), SmallFrame::chromaWidth,
              SmallFrame::chromaHeight);
        plane(layout->comp[2].plane, chromaWidth, chromaHeight, out.v.data(), SmallFrame::chromaWidth,
              SmallFrame::chromaHeight);
    } else {
        out.u.fill(128);
        out.v.fill(128);
    }
    return true;
}

VideoFrameReader::Status VideoFrameReader::read(SmallFrame &out)
{
    if (!d->error.isEmpty())
        return Status::Failed;
    for (;;) {
        const int result = receiveFrame(d->format.get(), d->codec.get(), d->stream->index, d->packet.get(),
                                        d->frame.get(), d->draining);
        if (result == AVERROR_EOF)
            return Status::End;
        if (result < 0) {
            d->error = errorText(result);
            return Status::Failed;
        }
        const bool usable = d->frame->width > 0 && d->frame->height > 0;
        const bool shrunk = usable && d->shrink(out);
        // A frame without a time follows the one before by a frame.
        double time = d->lastTime < 0 ? 0 : d->lastTime + (d->frameRate > 0 ? 1 / d->frameRate : 0.04);
        if (const int64_t timestamp = d->frame->best_effort_timestamp; timestamp != AV_NOPTS_VALUE)
            time = timestamp * av_q2d(d->stream->time_base) - d->origin;
        ffmpeg().av_frame_unref(d->frame.get());
        if (!usable)
            continue;
        if (!shrunk)
            return Status::Failed;
        out.time = time;
        d->lastTime = time;
        return Status::Frame;
    }
}

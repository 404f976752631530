#include "media/AudioDecoder.h"

#include "decoding/FfmpegDecoding.h"


#include <algorithm>
#include <cmath>

using namespace FfmpegDecoding;

namespace {

struct ResamplerDeleter {
    void operator()(SwrContext *context) const { ffmpeg().swr_free(&context); }
};

} // namespace

struct AudioDecoder::Private
{
    Format format;
    Codec codec;
    Frame frame{ffmpeg().av_frame_alloc()};
    Packet packet{ffmpeg().av_packet_alloc()};
    std::unique_ptr<SwrContext, ResamplerDeleter> resampler;
    AVStream *stream = nullptr;
    AVChannelLayout outputLayout{};
    int sampleRate = 0;
    int channelCount = 0;
    double duration = 0;
    double origin = 0; // the file's start time: time 0 for the range

    // In samples per channel from the origin.
    int64_t rangeStart = 0;
    int64_t rangeEnd = INT64_MAX;
    int64_t nextPosition = 0; // where the samples given so far end
    // Timestamps are rounded to their time base (a millisecond in Matroska): one closer
    // than this to where the samples before it end continues them.
    int64_t timestampTolerance = 1;
    // False until the first frame after opening or seeking places the reading in time.
    bool placed = false;
    // The decoded frame not yet given, after the silence before it, and where it begins.
    bool frameHeld = false;
    int64_t framePosition = 0;

    bool draining = false;
    QString error;

    // Input format the resampler was built for; rebuilt when a frame differs.
    int resamplerFormat = -1;
    int resamplerRate = 0;
    AVChannelLayout resamplerLayout{};

    ~Private()
    {
        ffmpeg().av_channel_layout_uninit(&outputLayout);
        ffmpeg().av_channel_layout_uninit(&resamplerLayout);
    }

    bool seekTo(double seconds);
    bool prepareResampler();
    void placeFrame();
    void appendSilence(std::vector<int16_t> &out);
    bool appendFrame(std::vector<int16_t> &out);
    void releaseFrame();
};

AudioDecoder::AudioDecoder(std::unique_ptr<Private> d)
    : d(std::move(d))
{
}

AudioDecoder::~AudioDecoder() = default;

std::unique_ptr<AudioDecoder> AudioDecoder::open(const QString &path, int audioTrack)
{
    if (!FfmpegLibrary::open())
        return nullptr;
    auto d = std::make_unique<Private>();
    if (openFile(path, d->format) < 0)
        return nullptr;
    AVFormatContext *format = d->format.get();

    int audioStreams = 0;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        AVStream *stream = format->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && ++audioStreams == audioTrack)
            d->stream = stream;
        else
            stream->discard = AVDISCARD_ALL;
    }
    if (!d->stream)
        return nullptr;

    const AVCodecParameters *parameters = d->stream->codecpar;
    const AVCodec *codec = ffmpeg().avcodec_find_decoder(parameters->codec_id);
    if (!codec)
        return nullptr;
    d->codec.reset(ffmpeg().avcodec_alloc_context3(codec));
    if (!d->codec || ffmpeg().avcodec_parameters_to_context(d->codec.get(), parameters) < 0)
        return nullptr;
    d->codec->pkt_timebase = d->stream->time_base;
    if (ffmpeg().avcodec_open2(d->codec.get(), codec, nullptr) < 0)
        return nullptr;

    d->sampleRate = d->codec->sample_rate > 0 ? d->codec->sample_rate : parameters->sample_rate;
    d->channelCount = d->codec->ch_layout.nb_channels > 0 ? d->codec->ch_layout.nb_channels
                                                          : parameters->ch_layout.nb_channels;
    // Without both there is no envelope to compute.
    if (d->sampleRate <= 0 || d->channelCount <= 0)
        return nullptr;
    if (d->codec->ch_layout.nb_channels == d->channelCount)
        ffmpeg().av_channel_layout_copy(&d->outputLayout, &d->codec->ch_layout);
    else
        ffmpeg().av_channel_layout_default(&d->outputLayout, d->channelCount);

    if (format->start_time != AV_NOPTS_VALUE)
        d->origin = double(format->start_time) / AV_TIME_BASE;
    d->timestampTolerance = std::max<int64_t>(1, int64_t(std::ceil(av_q2d(d->stream->time_base) * d->sampleRate)));
    if (d->stream->duration != AV_NOPTS_VALUE && d->stream->duration > 0)
        d->duration = d->stream->duration * av_q2d(d->stream->time_base);
    else if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        d->duration = double(format->duration) / AV_TIME_BASE;

    return std::unique_ptr<AudioDecoder>(new AudioDecoder(std::move(d)));
}

int AudioDecoder::sampleRate() const
{
    return d->sampleRate;
}

int AudioDecoder::channelCount() const
{
    return d->channelCount;
}

double AudioDecoder::duration() const
{
    return d->duration;
}

QString AudioDecoder::errorString() const
{
    return d->error;
}

bool AudioDecoder::setRange(double start, double end)
{
    const double first = std::round(start);
    // The end is not rounded: the last part of the stream belongs to the waveform too.
    double last = std::max(first, end);
    if (d->duration > 0)
        last = std::min(last, d->duration);
    d->rangeStart = int64_t(first) * d->sampleRate;
    d->rangeEnd = std::max(d->rangeStart, int64_t(std::llround(last * d->sampleRate)));
    d->nextPosition = 0;
    d->placed = false;
    d->releaseFrame();
    if (first <= 0)
        return true;

    return d->seekTo(first);
}

void AudioDecoder::narrowRange(int64_t first, int64_t end)
{
    d->rangeEnd = std::min(d->rangeEnd, end);
    if (first <= d->rangeStart)
        return;
    d->rangeStart = std::min(first, d->rangeEnd);
    // Compressed audio overlaps each frame with the one before: decoding starts early
    // enough that the first kept sample equals one of a reading from the start. When the
    // seek fails, reading goes on from where it is and drops what lies before the range.
    constexpr double Preroll = 0.5;
    const double seconds = double(d->rangeStart) / d->sampleRate - Preroll;
    if (seconds > 0)
        d->seekTo(seconds);
}

bool AudioDecoder::Private::seekTo(double seconds)
{
    // Seeking lands on a packet at or before the time; appendFrame trims the excess.
    if (!FfmpegDecoding::seek(format.get(), codec.get(), stream, seconds + origin))
        return false;
    draining = false;
    releaseFrame();
    nextPosition = std::llround(seconds * sampleRate);
    placed = false;
    return true;
}

bool AudioDecoder::Private::prepareResampler()
{
    if (frame->format == AV_SAMPLE_FMT_S16 && frame->sample_rate == sampleRate
        && frame->ch_layout.nb_channels == channelCount) {
        resampler.reset();
        return true;
    }
    if (resampler && frame->format == resamplerFormat && frame->sample_rate == resamplerRate
        && ffmpeg().av_channel_layout_compare(&frame->ch_layout, &resamplerLayout) == 0)
        return true;

    SwrContext *context = nullptr;
    if (ffmpeg().swr_alloc_set_opts2(&context, &outputLayout, AV_SAMPLE_FMT_S16, sampleRate, &frame->ch_layout,
                            AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr)
        < 0)
        return false;
    resampler.reset(context);
    const int result = ffmpeg().swr_init(context);
    if (result < 0) {
        error = errorText(result);
        resampler.reset();
        return false;
    }
    resamplerFormat = frame->format;
    resamplerRate = frame->sample_rate;
    ffmpeg().av_channel_layout_uninit(&resamplerLayout);
    ffmpeg().av_channel_layout_copy(&resamplerLayout, &frame->ch_layout);
    return true;
}

// Places the frame just received where its timestamp says: a reading from the start and
// one after a seek must put every sample at the same time. A jump in the timestamps (a
// film joined from pieces whose sound is shorter than their pictures) is a gap, filled
// with silence, or an overlap, whose repeated time is dropped, as a player would do.
void AudioDecoder::Private::placeFrame()
{
    frameHeld = true;
    framePosition = nextPosition;
    const int64_t timestamp = frame->best_effort_timestamp;
    if (timestamp != AV_NOPTS_VALUE) {
        const int64_t stamped = std::llround((timestamp * av_q2d(stream->time_base) - origin) * sampleRate);
        if (!placed || std::abs(stamped - nextPosition) > timestampTolerance)
            framePosition = stamped;
    }
    // The first frame may begin before the range (a seek lands early, an encoder's priming)
    // or after it (sound that starts after the pictures): then silence leads up to it.
    if (!placed)
        nextPosition = std::min(nextPosition, framePosition);
    placed = true;
}

// Appends the silence of a gap before the held frame that lies inside the range, a second
// at most at a time: a damaged file's timestamps may jump hours ahead.
void AudioDecoder::Private::appendSilence(std::vector<int16_t> &out)
{
    nextPosition = std::max(nextPosition, std::min(rangeStart, framePosition));
    const int64_t end = std::min({framePosition, rangeEnd, nextPosition + int64_t(sampleRate)});
    if (end <= nextPosition)
        return;
    out.insert(out.end(), size_t(end - nextPosition) * channelCount, int16_t(0));
    nextPosition = end;
}

void AudioDecoder::Private::releaseFrame()
{
    if (frameHeld)
        ffmpeg().av_frame_unref(frame.get());
    frameHeld = false;
}

// Appends the part of the held frame that lies inside the range and after the samples
// given before it.
bool AudioDecoder::Private::appendFrame(std::vector<int16_t> &out)
{
    const int64_t position = framePosition;
    const int64_t count = frame->nb_samples;
    const int64_t skip = std::clamp<int64_t>(std::max(rangeStart, nextPosition) - position, 0, count);
    nextPosition = std::max(nextPosition, position + count);

    const int64_t keep = std::clamp<int64_t>(rangeEnd - position, 0, count) - skip;
    if (keep <= 0)
        return true;
    if (!prepareResampler())
        return false;

    const size_t base = out.size();
    if (!resampler) {
        const auto *samples = reinterpret_cast<const int16_t *>(frame->extended_data[0]);
        out.insert(out.end(), samples + skip * channelCount, samples + (skip + keep) * channelCount);
        return true;
    }
    out.resize(base + size_t(count + 32) * channelCount);
    auto *target = reinterpret_cast<uint8_t *>(out.data() + base);
    const int converted = ffmpeg().swr_convert(resampler.get(), &target, int(count + 32),
                                      const_cast<const uint8_t **>(frame->extended_data), int(count));
    if (converted < 0) {
        out.resize(base);
        error = errorText(converted);
        return false;
    }
    const int64_t available = std::min<int64_t>(converted, skip + keep);
    out.resize(base + size_t(std::max<int64_t>(available, 0)) * channelCount);
    if (skip > 0)
        out.erase(out.begin() + base, out.begin() + base + std::min<size_t>(skip * channelCount, out.size() - base));
    return true;
}

AudioDecoder::Status AudioDecoder::read(std::vector<int16_t> &out)
{
    out.clear();
    for (;;) {
        if (d->nextPosition >= d->rangeEnd)
            return Status::End;
        if (!d->frameHeld) {
            const int result = receiveFrame(d->format.get(), d->codec.get(), d->stream->index, d->packet.get(),
                                            d->frame.get(), d->draining);
            if (result == AVERROR_EOF)
                return Status::End;
            if (result < 0) {
                d->error = errorText(result);
                return Status::Failed;
            }
            d->placeFrame();
        }
        if (d->nextPosition < d->framePosition) {
            d->appendSilence(out);
            if (!out.empty())
                return Status::Data;
            if (d->nextPosition < d->framePosition)
                continue; // the range ends before the frame
        }
        const bool appended = d->appendFrame(out);
        d->releaseFrame();
        if (!appended) {
            out.clear();
            return Status::Failed;
        }
        if (!out.empty())
            return Status::Data;
    }
}

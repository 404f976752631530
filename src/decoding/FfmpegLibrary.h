#pragma once

#include "system/SharedLibrary.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/pixdesc.h>
#include <libswresample/swresample.h>
}

#define CUEWRIGHT_FFMPEG_FUNCTIONS(F)                                                                         \
    F(av_channel_layout_compare)                                                                              \
    F(av_channel_layout_copy)                                                                                 \
    F(av_channel_layout_default)                                                                              \
    F(av_channel_layout_uninit)                                                                               \
    F(av_dict_free)                                                                                           \
    F(av_dict_get)                                                                                            \
    F(av_dict_set)                                                                                            \
    F(av_frame_alloc)                                                                                         \
    F(av_frame_free)                                                                                          \
    F(av_frame_unref)                                                                                         \
    F(av_log_set_level)                                                                                       \
    F(av_guess_frame_rate)                                                                                    \
    F(av_packet_alloc)                                                                                        \
    F(av_packet_free)                                                                                         \
    F(av_packet_unref)                                                                                        \
    F(av_pix_fmt_desc_get)                                                                                    \
    F(av_read_frame)                                                                                          \
    F(av_rescale_q)                                                                                           \
    F(av_seek_frame)                                                                                          \
    F(av_strerror)                                                                                            \
    F(av_version_info)                                                                                        \
    F(avcodec_alloc_context3)                                                                                 \
    F(avcodec_find_decoder)                                                                                   \
    F(avcodec_flush_buffers)                                                                                  \
    F(avcodec_free_context)                                                                                   \
    F(avcodec_open2)                                                                                          \
    F(avcodec_parameters_to_context)                                                                          \
    F(avcodec_receive_frame)                                                                                  \
    F(avcodec_send_packet)                                                                                    \
    F(avformat_close_input)                                                                                   \
    F(avformat_find_stream_info)                                                                              \
    F(avformat_open_input)                                                                                    \
    F(swr_alloc_set_opts2)                                                                                    \
    F(swr_convert)                                                                                            \
    F(swr_free)                                                                                               \
    F(swr_init)

// The functions of FFmpeg's libraries, which are opened the first time a film's sound or
// pictures are read, not at start.
class FfmpegLibrary
{
    Q_DECLARE_TR_FUNCTIONS(FfmpegLibrary)

public:
    // Opens the libraries once; the error says why they cannot be used.
    static Expected<const FfmpegLibrary *, QString> open();

#define CUEWRIGHT_FFMPEG_FUNCTION(name) decltype(&::name) name = nullptr;
    CUEWRIGHT_FFMPEG_FUNCTIONS(CUEWRIGHT_FFMPEG_FUNCTION)
#undef CUEWRIGHT_FFMPEG_FUNCTION
};

// The functions of the opened FFmpeg libraries.
inline const FfmpegLibrary &ffmpeg()
{
    return SharedLibrary::required(FfmpegLibrary::open());
}

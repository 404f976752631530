#include "decoding/FfmpegLibrary.h"

Expected<const FfmpegLibrary *, QString> FfmpegLibrary::open()
{
    // Each file name carries the major version of the headers built against.
    static SharedLibrary library{{"avformat", LIBAVFORMAT_VERSION_MAJOR},
                                 {"avcodec", LIBAVCODEC_VERSION_MAJOR},
                                 {"avutil", LIBAVUTIL_VERSION_MAJOR},
                                 {"swresample", LIBSWRESAMPLE_VERSION_MAJOR}};
    static const FfmpegLibrary functions = [] {
        FfmpegLibrary found;
#define CUEWRIGHT_FFMPEG_FUNCTION(name) library.resolve(found.name, #name);
        CUEWRIGHT_FFMPEG_FUNCTIONS(CUEWRIGHT_FFMPEG_FUNCTION)
#undef CUEWRIGHT_FFMPEG_FUNCTION
        return found;
    }();
    if (!library.isLoaded())
        return tr("FFmpeg's libraries could not be loaded.\n%1").arg(library.errorString());
    return &functions;
}

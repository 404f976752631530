#include "player/MpvLibrary.h"

Expected<const MpvLibrary *, QString> MpvLibrary::open()
{
    // libmpv's file name carries the major version of its client API.
    static SharedLibrary library{{"mpv", MPV_CLIENT_API_VERSION >> 16}};
    static const MpvLibrary functions = [] {
        MpvLibrary found;
#define CUEWRIGHT_MPV_FUNCTION(name) library.resolve(found.name, #name);
        CUEWRIGHT_MPV_FUNCTIONS(CUEWRIGHT_MPV_FUNCTION)
#undef CUEWRIGHT_MPV_FUNCTION
        return found;
    }();
    if (!library.isLoaded())
        return tr("The video player's library, libmpv, could not be loaded.\n%1").arg(library.errorString());
    return &functions;
}

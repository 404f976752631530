#pragma once

#include "system/SharedLibrary.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>

#include <mpv/client.h>
#include <mpv/render.h>

#define CUEWRIGHT_MPV_FUNCTIONS(F)                                                                            \
    F(mpv_client_api_version)                                                                                 \
    F(mpv_command_async)                                                                                      \
    F(mpv_create)                                                                                             \
    F(mpv_error_string)                                                                                       \
    F(mpv_free)                                                                                               \
    F(mpv_get_property)                                                                                       \
    F(mpv_get_property_string)                                                                                \
    F(mpv_initialize)                                                                                         \
    F(mpv_observe_property)                                                                                   \
    F(mpv_set_option_string)                                                                                  \
    F(mpv_set_property)                                                                                       \
    F(mpv_set_wakeup_callback)                                                                                \
    F(mpv_terminate_destroy)                                                                                  \
    F(mpv_wait_event)                                                                                         \
    F(mpv_render_context_create)                                                                              \
    F(mpv_render_context_free)                                                                                \
    F(mpv_render_context_render)                                                                              \
    F(mpv_render_context_set_update_callback)                                                                 \
    F(mpv_render_context_update)

// The functions of libmpv, which is opened the first time a video is played, not at start.
class MpvLibrary
{
    Q_DECLARE_TR_FUNCTIONS(MpvLibrary)

public:
    // Opens libmpv once; the error says why it cannot be used.
    static Expected<const MpvLibrary *, QString> open();

#define CUEWRIGHT_MPV_FUNCTION(name) decltype(&::name) name = nullptr;
    CUEWRIGHT_MPV_FUNCTIONS(CUEWRIGHT_MPV_FUNCTION)
#undef CUEWRIGHT_MPV_FUNCTION
};

// The functions of the opened libmpv.
inline const MpvLibrary &libmpv()
{
    return SharedLibrary::required(MpvLibrary::open());
}

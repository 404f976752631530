#pragma once

#include "system/SharedLibrary.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>

#include <pocketsphinx.h>

#define CUEWRIGHT_POCKETSPHINX_FUNCTIONS(F)                                                                   \
    F(cmd_ln_init)                                                                                            \
    F(cmd_ln_free_r)                                                                                          \
    F(ps_args)                                                                                                \
    F(ps_init)                                                                                                \
    F(ps_free)                                                                                                \
    F(ps_add_word)                                                                                            \
    F(ps_lookup_word)                                                                                         \
    F(ps_set_jsgf_string)                                                                                     \
    F(ps_set_search)                                                                                          \
    F(ps_start_utt)                                                                                           \
    F(ps_process_raw)                                                                                         \
    F(ps_end_utt)                                                                                             \
    F(ps_seg_iter)                                                                                            \
    F(ps_seg_next)                                                                                            \
    F(ps_seg_word)                                                                                            \
    F(ps_seg_frames)                                                                                          \
    F(ps_seg_prob)                                                                                            \
    F(ps_seg_free)

// The functions of Debian's speech recogniser, opened the first time words are aligned:
// most starts never need its libraries or its model.
class PocketsphinxLibrary
{
    Q_DECLARE_TR_FUNCTIONS(PocketsphinxLibrary)

public:
    // Opens the libraries once; the error says why they cannot be used.
    static Expected<const PocketsphinxLibrary *, QString> open();

#define CUEWRIGHT_POCKETSPHINX_FUNCTION(name) decltype(&::name) name = nullptr;
    CUEWRIGHT_POCKETSPHINX_FUNCTIONS(CUEWRIGHT_POCKETSPHINX_FUNCTION)
#undef CUEWRIGHT_POCKETSPHINX_FUNCTION
};

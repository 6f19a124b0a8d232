#pragma once

#include "core/runtimelibrary.h"

#include <fluidsynth.h>

namespace velmora {

// Every FluidSynth function the program calls. Their types come from FluidSynth's own header,
// so a signature that does not match the library's fails to compile.
#define VELMORA_FLUID_FUNCTIONS(X)                                                                 \
    X(new_fluid_settings)                                                                          \
    X(delete_fluid_settings)                                                                       \
    X(fluid_settings_setstr)                                                                       \
    X(fluid_settings_setnum)                                                                       \
    X(fluid_settings_setint)                                                                       \
    X(fluid_settings_getint)                                                                       \
    X(fluid_set_log_function)                                                                      \
    X(new_fluid_synth)                                                                             \
    X(delete_fluid_synth)                                                                          \
    X(fluid_synth_sfload)                                                                          \
    X(fluid_synth_noteon)                                                                          \
    X(fluid_synth_noteoff)                                                                         \
    X(fluid_synth_cc)                                                                              \
    X(fluid_synth_program_change)                                                                  \
    X(fluid_synth_key_pressure)                                                                    \
    X(fluid_synth_channel_pressure)                                                                \
    X(fluid_synth_pitch_bend)                                                                      \
    X(fluid_synth_write_float)                                                                     \
    X(fluid_synth_get_active_voice_count)                                                          \
    X(new_fluid_audio_driver)                                                                      \
    X(delete_fluid_audio_driver)                                                                   \
    X(new_fluid_file_renderer)                                                                     \
    X(delete_fluid_file_renderer)                                                                  \
    X(fluid_file_renderer_process_block)                                                           \
    X(new_fluid_sequencer2)                                                                        \
    X(delete_fluid_sequencer)                                                                      \
    X(fluid_sequencer_register_fluidsynth)                                                         \
    X(fluid_sequencer_get_tick)                                                                    \
    X(fluid_sequencer_send_at)                                                                     \
    X(fluid_sequencer_remove_events)                                                               \
    X(new_fluid_event)                                                                             \
    X(delete_fluid_event)                                                                          \
    X(fluid_event_set_source)                                                                      \
    X(fluid_event_set_dest)                                                                        \
    X(fluid_event_noteon)                                                                          \
    X(fluid_event_noteoff)                                                                         \
    X(fluid_event_control_change)                                                                  \
    X(fluid_event_program_change)                                                                  \
    X(fluid_sequencer_register_client)                                                             \
    X(fluid_event_timer)                                                                           \
    X(fluid_event_get_type)

/// FluidSynth, opened at run time: the library and the forty-odd it brings (audio servers,
/// codecs, GLib) are needed only once the synthesiser is built on its loading thread.
class FluidLibrary : public RuntimeLibrary
{
public:
    /// The file name the program's own library is opened by.
    static constexpr const char *kFileName = "libfluidsynth.so.3";

    /// Opens fileName (as dlopen takes it) and resolves every function; when the library or any
    /// function is missing, nothing is kept and errorString() says what was missing.
    explicit FluidLibrary(const char *fileName);

    /// The program's FluidSynth, opened on the first call from whichever thread makes it, and
    /// kept open for the rest of the run (audio threads may outlive any one owner).
    static const FluidLibrary &instance();

    // The functions, under their own names; null unless isLoaded().
    VELMORA_FLUID_FUNCTIONS(VELMORA_RUNTIME_MEMBER)
};

} // namespace velmora

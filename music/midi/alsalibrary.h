#pragma once

#include "core/runtimelibrary.h"

#include <alsa/asoundlib.h>
#include <memory>

namespace velmora {

// Every alsa-lib function the program calls. Their types come from alsa-lib's own header, so a
// signature that does not match the library's fails to compile. The header's macros that call
// the library (the *_alloca ones, snd_seq_start_queue) are not used: they would call it linked.
#define VELMORA_ALSA_FUNCTIONS(X)                                                                  \
    X(snd_strerror)                                                                                \
    X(snd_lib_error_set_handler)                                                                   \
    X(snd_seq_open)                                                                                \
    X(snd_seq_close)                                                                               \
    X(snd_seq_client_id)                                                                           \
    X(snd_seq_set_client_name)                                                                     \
    X(snd_seq_create_simple_port)                                                                  \
    X(snd_seq_alloc_named_queue)                                                                   \
    X(snd_seq_control_queue)                                                                       \
    X(snd_seq_free_queue)                                                                          \
    X(snd_seq_drain_output)                                                                        \
    X(snd_seq_event_output_direct)                                                                 \
    X(snd_seq_connect_to)                                                                          \
    X(snd_seq_client_info_sizeof)                                                                  \
    X(snd_seq_client_info_set_client)                                                              \
    X(snd_seq_client_info_get_client)                                                              \
    X(snd_seq_query_next_client)                                                                   \
    X(snd_seq_port_info_sizeof)                                                                    \
    X(snd_seq_port_info_set_client)                                                                \
    X(snd_seq_port_info_set_port)                                                                  \
    X(snd_seq_port_info_get_port)                                                                  \
    X(snd_seq_port_info_get_capability)                                                            \
    X(snd_seq_port_info_get_type)                                                                  \
    X(snd_seq_query_next_port)                                                                     \
    X(snd_seq_query_subscribe_sizeof)                                                              \
    X(snd_seq_query_subscribe_set_root)                                                            \
    X(snd_seq_query_subscribe_set_type)                                                            \
    X(snd_seq_query_subscribe_set_index)                                                           \
    X(snd_seq_query_port_subscribers)                                                              \
    X(snd_seq_queue_status_sizeof)                                                                 \
    X(snd_seq_get_queue_status)                                                                    \
    X(snd_seq_queue_status_get_real_time)                                                          \
    X(snd_seq_remove_events_sizeof)                                                                \
    X(snd_seq_remove_events_set_queue)                                                             \
    X(snd_seq_remove_events_set_condition)                                                         \
    X(snd_seq_remove_events)

/// alsa-lib, opened when the sequencer port or the synthesiser's audio driver first needs it.
class AlsaLibrary : public RuntimeLibrary
{
public:
    static constexpr const char *kFileName = "libasound.so.2";

    /// Opens fileName and resolves every function, or keeps none and says what was missing.
    explicit AlsaLibrary(const char *fileName);

    /// The program's alsa-lib, opened on the first call and kept for the rest of the run.
    static const AlsaLibrary &instance();

    // The functions, under their own names; null unless isLoaded().
    VELMORA_ALSA_FUNCTIONS(VELMORA_RUNTIME_MEMBER)
};

/// One of alsa-lib's opaque records, zeroed, of the size the opened library gives (the header's
/// alloca macros would ask the linked library).
template <class Record> class AlsaRecord
{
public:
    explicit AlsaRecord(size_t (*sizeOf)())
        : m_bytes(new std::byte[sizeOf()]())
    {}
    Record *get() const { return reinterpret_cast<Record *>(m_bytes.get()); }

private:
    std::unique_ptr<std::byte[]> m_bytes;
};

} // namespace velmora

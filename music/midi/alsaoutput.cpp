#include "music/midi/alsaoutput.h"

#include "music/midi/alsalibrary.h"

#include <algorithm>

namespace velmora {

namespace {

// alsa-lib prints its own errors to the terminal; the caller gets them from
// errorString() instead.
void silentAlsaError(const char *, int, const char *, int, const char *, ...)
{}

} // namespace

void silenceAlsaErrors()
{
    const AlsaLibrary &alsa = AlsaLibrary::instance();
    if (alsa.isLoaded())
        alsa.snd_lib_error_set_handler(silentAlsaError);
}

AlsaOutput::~AlsaOutput()
{
    close();
}

bool AlsaOutput::open()
{
    close();
    m_error.clear();
    const AlsaLibrary &alsa = AlsaLibrary::instance();
    if (!alsa.isLoaded()) {
        m_error = QStringLiteral("the ALSA sequencer is not available: %1").arg(alsa.errorString());
        return false;
    }
    silenceAlsaErrors();
    const int rc = alsa.snd_seq_open(&m_seq, "default", SND_SEQ_OPEN_OUTPUT, 0);
    if (rc < 0) {
        m_seq = nullptr;
        m_error = QStringLiteral("the ALSA sequencer is not available: %1")
                      .arg(QString::fromLocal8Bit(alsa.snd_strerror(rc)));
        return false;
    }
    alsa.snd_seq_set_client_name(m_seq, "Velmora");
    m_port = alsa.snd_seq_create_simple_port(
        m_seq, "Velmora music", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (m_port < 0) {
        m_error = QStringLiteral("no ALSA sequencer port could be created: %1")
                      .arg(QString::fromLocal8Bit(alsa.snd_strerror(m_port)));
        alsa.snd_seq_close(m_seq);
        m_seq = nullptr;
        return false;
    }
    // A queue of the port's own plays stamped events on the sequencer's real-time clock;
    // without one, everything goes at once.
    m_queue = alsa.snd_seq_alloc_named_queue(m_seq, "Velmora music");
    if (m_queue >= 0 &&
        alsa.snd_seq_control_queue(m_seq, m_queue, SND_SEQ_EVENT_START, 0, nullptr) >= 0) {
        alsa.snd_seq_drain_output(m_seq);
    } else if (m_queue >= 0) {
        alsa.snd_seq_free_queue(m_seq, m_queue);
        m_queue = -1;
    }
    m_clockMap.reset();
    connectToSynth();
    return true;
}

void AlsaOutput::connectToSynth()
{
    const AlsaLibrary &alsa = AlsaLibrary::instance();
    const int self = alsa.snd_seq_client_id(m_seq);
    const AlsaRecord<snd_seq_client_info_t> clientRecord(alsa.snd_seq_client_info_sizeof);
    const AlsaRecord<snd_seq_port_info_t> portRecord(alsa.snd_seq_port_info_sizeof);
    snd_seq_client_info_t *client = clientRecord.get();
    snd_seq_port_info_t *port = portRecord.get();
    alsa.snd_seq_client_info_set_client(client, -1);
    while (alsa.snd_seq_query_next_client(m_seq, client) >= 0) {
        const int id = alsa.snd_seq_client_info_get_client(client);
        if (id == self || id == SND_SEQ_CLIENT_SYSTEM)
            continue;
        alsa.snd_seq_port_info_set_client(port, id);
        alsa.snd_seq_port_info_set_port(port, -1);
        while (alsa.snd_seq_query_next_port(m_seq, port) >= 0) {
            const unsigned caps = alsa.snd_seq_port_info_get_capability(port);
            const unsigned type = alsa.snd_seq_port_info_get_type(port);
            const unsigned writable = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
            const bool synth = (type & (SND_SEQ_PORT_TYPE_SYNTHESIZER | SND_SEQ_PORT_TYPE_SYNTH |
                                        SND_SEQ_PORT_TYPE_MIDI_GM)) != 0;
            if ((caps & writable) != writable || !synth)
                continue;
            const int portId = alsa.snd_seq_port_info_get_port(port);
            if (alsa.snd_seq_connect_to(m_seq, m_port, id, portId) >= 0) {
                m_connectedTo = QStringLiteral("%1:%2").arg(id).arg(portId);
                return;
            }
        }
    }
}

QString AlsaOutput::inaudibleReason() const
{
    if (!m_seq)
        return {};
    const AlsaLibrary &alsa = AlsaLibrary::instance();
    const AlsaRecord<snd_seq_query_subscribe_t> record(alsa.snd_seq_query_subscribe_sizeof);
    snd_seq_query_subscribe_t *query = record.get();
    snd_seq_addr_t self;
    self.client = static_cast<unsigned char>(alsa.snd_seq_client_id(m_seq));
    self.port = static_cast<unsigned char>(m_port);
    alsa.snd_seq_query_subscribe_set_root(query, &self);
    alsa.snd_seq_query_subscribe_set_type(query, SND_SEQ_QUERY_SUBS_READ);
    alsa.snd_seq_query_subscribe_set_index(query, 0);
    if (alsa.snd_seq_query_port_subscribers(m_seq, query) >= 0)
        return {};
    return QStringLiteral("No sound: the ALSA port \"Velmora music\" is connected to nothing; "
                          "connect it to a synthesiser with aconnect, or choose the built-in "
                          "synthesiser under File > Sound output.");
}

QString AlsaOutput::address() const
{
    if (!m_seq)
        return {};
    const AlsaLibrary &alsa = AlsaLibrary::instance();
    return QStringLiteral("%1:%2").arg(alsa.snd_seq_client_id(m_seq)).arg(m_port);
}

bool AlsaOutput::fill(quint32 packed, snd_seq_event *ev) const
{
    const auto [status, channel, data1, data2] = unpackShortMessage(packed);
    snd_seq_ev_clear(ev);
    snd_seq_ev_set_source(ev, m_port);
    snd_seq_ev_set_subs(ev);
    switch (status) {
    case kNoteOn:
        snd_seq_ev_set_noteon(ev, channel, data1, data2);
        return true;
    case kNoteOff:
        snd_seq_ev_set_noteoff(ev, channel, data1, data2);
        return true;
    case kControlChange:
        snd_seq_ev_set_controller(ev, channel, data1, data2);
        return true;
    case kProgramChange:
        snd_seq_ev_set_pgmchange(ev, channel, data1);
        return true;
    default:
        return false;
    }
}

void AlsaOutput::send(quint32 packed)
{
    if (!m_seq)
        return;
    snd_seq_event_t ev;
    if (!fill(packed, &ev))
        return;
    snd_seq_ev_set_direct(&ev);
    AlsaLibrary::instance().snd_seq_event_output_direct(m_seq, &ev);
}

void AlsaOutput::sendAt(quint32 packed, std::chrono::nanoseconds due, const MusicClock &clock)
{
    if (!m_seq)
        return;
    const AlsaLibrary &alsa = AlsaLibrary::instance();
    const AlsaRecord<snd_seq_queue_status_t> record(alsa.snd_seq_queue_status_sizeof);
    snd_seq_queue_status_t *status = record.get();
    if (m_queue < 0 || alsa.snd_seq_get_queue_status(m_seq, m_queue, status) < 0) {
        send(packed);
        return;
    }
    snd_seq_event_t ev;
    if (!fill(packed, &ev))
        return;
    const snd_seq_real_time_t *queueTime = alsa.snd_seq_queue_status_get_real_time(status);
    const std::chrono::nanoseconds queueNow =
        std::chrono::seconds(queueTime->tv_sec) + std::chrono::nanoseconds(queueTime->tv_nsec);
    m_clockMap.observe(clock(), queueNow);
    // The queue keeps the events of one time in the order they came, so a release sent before a
    // strike of its key goes first. One due already goes on the queue's present.
    const std::chrono::nanoseconds at = std::max(m_clockMap.toOutput(due), queueNow);
    snd_seq_real_time_t when;
    when.tv_sec = static_cast<unsigned int>(at.count() / 1'000'000'000);
    when.tv_nsec = static_cast<unsigned int>(at.count() % 1'000'000'000);
    snd_seq_ev_schedule_real(&ev, m_queue, 0, &when);
    alsa.snd_seq_event_output_direct(m_seq, &ev);
}

void AlsaOutput::dropScheduled()
{
    if (!m_seq || m_queue < 0)
        return;
    const AlsaLibrary &alsa = AlsaLibrary::instance();
    const AlsaRecord<snd_seq_remove_events_t> record(alsa.snd_seq_remove_events_sizeof);
    snd_seq_remove_events_t *remove = record.get();
    alsa.snd_seq_remove_events_set_queue(remove, m_queue);
    alsa.snd_seq_remove_events_set_condition(remove, SND_SEQ_REMOVE_OUTPUT);
    alsa.snd_seq_remove_events(m_seq, remove);
}

void AlsaOutput::close()
{
    if (!m_seq)
        return;
    const AlsaLibrary &alsa = AlsaLibrary::instance();
    dropScheduled();
    send(packShortMessage(kControlChange, 123, 0)); // all notes off
    alsa.snd_seq_drain_output(m_seq);
    if (m_queue >= 0) {
        alsa.snd_seq_free_queue(m_seq, m_queue);
        m_queue = -1;
    }
    alsa.snd_seq_close(m_seq);
    m_seq = nullptr;
    m_port = -1;
    m_connectedTo.clear();
}

} // namespace velmora

#pragma once

#include "music/core/clockmap.h"
#include "music/core/midimodule.h"

struct _snd_seq;
struct snd_seq_event;

namespace velmora {

/// Keeps alsa-lib from printing its errors on the terminal; callers report
/// failures themselves.
void silenceAlsaErrors();

/// An ALSA sequencer port named after the program that other programs and
/// external synthesisers can subscribe to. On opening it also connects itself
/// to the first synthesiser port it finds, so music plays with no routing.
class AlsaOutput : public MidiOutput
{
public:
    AlsaOutput() = default;
    ~AlsaOutput() override;
    AlsaOutput(const AlsaOutput &) = delete;
    AlsaOutput &operator=(const AlsaOutput &) = delete;

    /// False with a reason in errorString() when the sequencer is missing.
    bool open() override;
    void send(quint32 packed) override;
    /// Through a sequencer queue of the port's own, stamped with the real time it is due.
    void sendAt(quint32 packed, std::chrono::nanoseconds due, const MusicClock &clock) override;
    void dropScheduled() override;
    /// Switches off every note of the channel first, so an external
    /// synthesiser is not left with a hanging chord.
    void close() override;
    bool isOpen() const override { return m_seq != nullptr; }
    QString kind() const override { return QStringLiteral("alsa"); }
    QString errorString() const override { return m_error; }
    /// Nobody hears the port while no other client reads from it.
    QString inaudibleReason() const override;

    /// "client:port" of this output's port, empty when closed.
    QString address() const;
    /// "client:port" of the synthesiser it connected to, empty if none.
    QString connectedTo() const { return m_connectedTo; }

private:
    void connectToSynth();
    /// Fills the event for a packed message, addressed to the port's subscribers; false for a
    /// message it does not carry.
    bool fill(quint32 packed, snd_seq_event *ev) const;

    _snd_seq *m_seq = nullptr;
    int m_port = -1;
    int m_queue = -1;
    ClockMap m_clockMap;
    QString m_error;
    QString m_connectedTo;
};

} // namespace velmora

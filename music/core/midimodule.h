#pragma once

#include "music/core/midistate.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace velmora {

class MidiRecorder;

/// The music clock: a steadily rising time. The program uses the system's steady clock; tests
/// give their own.
using MusicClock = std::function<std::chrono::nanoseconds()>;
std::chrono::nanoseconds steadyNow();

/// Status bytes of the channel messages the music sends.
inline constexpr int kNoteOff = 0x80;
inline constexpr int kNoteOn = 0x90;
inline constexpr int kControlChange = 0xB0;
inline constexpr int kProgramChange = 0xC0;

/// A MIDI 1.0 short message packed into 32 bits, low byte first: status,
/// first data byte, second data byte, zero. The arithmetic is the classic
/// data1 * 256 + status + data2 * 65536 + channel.
constexpr quint32 packShortMessage(int status, int data1, int data2, int channel = 0)
{
    return static_cast<quint32>(data1 * 256 + status + data2 * 65536 + channel);
}

/// A packed channel message taken apart: status without its channel, channel, data bytes.
struct ShortMessage
{
    int status;
    int channel;
    int data1;
    int data2;
};

constexpr ShortMessage unpackShortMessage(quint32 packed)
{
    return {static_cast<int>(packed & 0xF0u), static_cast<int>(packed & 0x0Fu),
            static_cast<int>((packed >> 8) & 0x7Fu), static_cast<int>((packed >> 16) & 0x7Fu)};
}

/// True when every byte of a packed value is legal for a channel message:
/// a status byte with its top bit set, data bytes 0..127 and a zero top byte.
constexpr bool isValidShortMessage(quint32 packed)
{
    const quint32 status = packed & 0xFFu;
    const quint32 data1 = (packed >> 8) & 0xFFu;
    const quint32 data2 = (packed >> 16) & 0xFFu;
    return status >= 0x80u && status < 0xF0u && data1 < 0x80u && data2 < 0x80u &&
           (packed >> 24) == 0u;
}

/// Something that accepts packed short messages: the built-in synthesiser, a
/// sequencer port, or a recorder in tests.
class MidiOutput
{
public:
    virtual ~MidiOutput() = default;

    /// Makes the output ready. False when it cannot work at all; the reason is
    /// in errorString(). An output that works without sound (no audio device)
    /// still returns true.
    virtual bool open() = 0;
    /// Sends one packed message at once; never blocks for long.
    virtual void send(quint32 packed) = 0;
    /// Sends one packed message to sound at due, a time of the music clock. Messages of one
    /// stamp keep the order they were sent in. An output that cannot schedule sends it at once.
    /// An output that maps the music clock onto its own reads its own clock first and clock
    /// after, so a thread switch between the two can only make its clock look behind.
    virtual void sendAt(quint32 packed, std::chrono::nanoseconds due, const MusicClock &clock)
    {
        Q_UNUSED(due);
        Q_UNUSED(clock);
        send(packed);
    }
    /// The music clock the stamps are given in, for an output that reads it on a thread of its
    /// own; it outlives the output. Given before open().
    virtual void setMusicClock(const MusicClock *clock) { Q_UNUSED(clock); }
    /// Forgets what is scheduled and has not sounded yet.
    virtual void dropScheduled() {}
    virtual void close() = 0;

    virtual bool isOpen() const = 0;
    /// The factory name of this kind of output ("synth", "alsa", "record").
    virtual QString kind() const = 0;
    /// Why open() failed, or a note on how it runs (for example "no audio
    /// device: silent"); empty when all is well.
    virtual QString errorString() const { return {}; }
    /// One line for the user when nobody can hear this output now (no audio
    /// device, a port connected to nothing), saying what to do; empty when
    /// someone can, or when the output cannot tell.
    virtual QString inaudibleReason() const { return {}; }
};

/// The program's one MIDI device: opened at start-up, given every message of
/// the music, closed at shutdown. It refuses a message whose bytes are not
/// legal MIDI, so a stray value can never corrupt the stream. It remembers
/// what the device was told (instrument, sounding keys), so that an output
/// put in its place mid-piece plays on from the same state.
class MidiModule
{
public:
    MidiModule() = default;
    explicit MidiModule(std::unique_ptr<MidiOutput> output);
    ~MidiModule();
    MidiModule(const MidiModule &) = delete;
    MidiModule &operator=(const MidiModule &) = delete;

    /// Opens the current output (closing any open one first) and brings it to
    /// the remembered state: controllers, program and every sounding key.
    /// Without an output, or when it fails, later messages are silently lost.
    bool open();
    /// Releases every sounding key of the current output (all notes off), and
    /// drops what it still has scheduled, closes it and opens another in its
    /// place, which takes over the state at once.
    bool replaceOutput(std::unique_ptr<MidiOutput> output);
    /// Sends a message to sound at once.
    void sendShortMessage(quint32 packed);
    /// Sends a message due at a time of the music clock (a beat's place plus the look-ahead);
    /// the output plays it then on its own clock, however late this call comes. Stamps never go
    /// back: one earlier than the last is taken as the last, so later messages never sound
    /// before earlier ones (a stop's release after the chord it ends).
    void sendShortMessageAt(quint32 packed, std::chrono::nanoseconds due);
    /// Closes the output as it is; a chord still sounding is not released.
    void close();

    bool isOpen() const;
    MidiOutput *output() const { return m_output.get(); }
    /// What the device was told, whether or not an output was open to hear it.
    const MidiState &state() const { return m_state; }
    /// The output's own reason when nobody can hear it, or one for no output.
    QString inaudibleReason() const;
    /// Messages refused because a byte was out of range.
    int rejectedCount() const { return m_rejected; }

    /// From now on every message also goes to recorder, with the time it sounds (its stamp, or
    /// the clock's reading for one sent at once); null: no recording.
    /// It keeps working while the output is switched or closed.
    void setRecorder(MidiRecorder *recorder) { m_recorder = recorder; }
    MidiRecorder *recorder() const { return m_recorder; }
    /// Another music clock (tests); an output rendering in real time reads it on its own thread,
    /// so it is set while none is open.
    void setClock(MusicClock clock) { m_clock = std::move(clock); }
    const MusicClock &clock() const { return m_clock; }
    /// The tempo in force; a recording marks its changes.
    void setTempo(double beatsPerMinute);
    double tempo() const { return m_tempo; }
    /// The program and the bank select values last sent on channel 1; 0 before any.
    int program() const { return std::max(0, m_state.program()); }
    int bankCoarse() const { return std::max(0, m_state.controller(0)); }
    int bankFine() const { return std::max(0, m_state.controller(32)); }

private:
    /// Checks, remembers and records a message; false when it is refused.
    bool accept(quint32 packed, std::chrono::nanoseconds time);

    std::unique_ptr<MidiOutput> m_output;
    MidiState m_state;
    int m_rejected = 0;
    MidiRecorder *m_recorder = nullptr;
    MusicClock m_clock = steadyNow;
    double m_tempo = 40.0;
    std::optional<std::chrono::nanoseconds> m_lastDue;
};

} // namespace velmora

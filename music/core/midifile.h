#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <chrono>
#include <optional>
#include <vector>

namespace velmora {

/// Ticks per quarter note in the files the program writes; a beat is a quarter note.
inline constexpr int kMidiFileTicksPerQuarter = 480;

/// What a recording holds: packed short messages with their times, the tempi in force, and the
/// instrument that sounded when it began. Times count from the start of the recording.
struct MidiRecording
{
    struct Message
    {
        quint32 packed;
        std::chrono::nanoseconds time;
    };
    struct Tempo
    {
        std::chrono::nanoseconds time;
        double beatsPerMinute;
    };

    /// Program (0..127) and bank (coarse, fine) in force at the start.
    int program = 0;
    int bankCoarse = 0;
    int bankFine = 0;
    /// Tempo changes after the first entry, which holds from the start; in time order.
    std::vector<Tempo> tempi{{std::chrono::nanoseconds(0), 120.0}};
    /// Channel messages in the order they were sent.
    std::vector<Message> messages;
    /// Where the recording ends; notes still sounding are released there.
    std::chrono::nanoseconds end{0};
};

/// A Standard MIDI File of a recording: format 0, one track, 480 ticks per quarter note, a tempo
/// event at the start and wherever the tempo changes, bank select and program change at the
/// start, and an end-of-track event. Each message lands on the tick nearest to its time as a
/// reader reckons time from the tempo events. The notes are balanced: a note-off for a key that
/// is not sounding is dropped, a key struck again while it sounds is first released, a note that
/// would last no tick at all is left out, and every note still sounding at the end is released
/// there (one struck on the last tick lasts one tick). No running status is used.
QByteArray standardMidiFile(const MidiRecording &recording);

/// The channel messages of a Standard MIDI File in the order they play, with their times, and
/// how long the file plays up to its last event.
struct MidiFileContents
{
    std::vector<MidiRecording::Message> messages;
    std::chrono::nanoseconds length{0};
};

/// Reads a Standard MIDI File: format 0 or 1 (whose tracks play together), running status,
/// tempo events in any track, ticks per quarter note or SMPTE frames; nullopt when the bytes are
/// not such a file.
std::optional<MidiFileContents> readMidiFile(const QByteArray &bytes);

/// How long a Standard MIDI File plays (format 0 or 1, tempo events in any track, ticks per
/// quarter or SMPTE frames), up to its last event; nullopt when the bytes are not such a file.
std::optional<std::chrono::nanoseconds> midiFileLength(const QByteArray &bytes);

/// Microseconds per quarter note of a tempo, as a tempo event stores it (1..0xFFFFFF).
quint32 microsecondsPerQuarter(double beatsPerMinute);

/// Writes bytes to path through a temporary file that replaces the target only when complete,
/// so a failed write leaves no partial file. On failure returns the reason.
std::optional<QString> writeFileAtomically(const QString &path, const QByteArray &bytes);

/// Whether a file could be written at path now (the folder exists and takes new files); the
/// reason when not. Nothing is left behind.
std::optional<QString> checkWritable(const QString &path);

} // namespace velmora

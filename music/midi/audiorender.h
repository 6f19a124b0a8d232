#pragma once

#include <QString>

#include <chrono>
#include <functional>

namespace velmora {

/// The audio file types a MIDI file renders to, by the target's extension.
enum class AudioFileType
{
    Unknown,
    Wav,
    Flac,
    Ogg
};
AudioFileType audioFileTypeOf(const QString &path);

/// What an offline render did.
struct RenderResult
{
    bool ok = false;
    bool cancelled = false;
    /// Why it failed, for the user.
    QString error;
    /// Length of the audio written, the release tail included.
    std::chrono::nanoseconds audioLength{0};
    /// The MIDI file's own length, up to its last event.
    std::chrono::nanoseconds midiLength{0};
    /// Wall-clock time the render took.
    std::chrono::nanoseconds wallTime{0};
};

/// Told the share done (0..1) now and then; returns false to cancel.
using RenderProgress = std::function<bool(double done)>;

/// Renders a Standard MIDI File offline, as fast as the machine allows, through the built-in
/// synthesiser (FluidSynth's file renderer, libsndfile) to a WAV, FLAC or Ogg Vorbis file chosen
/// by the target's extension. Each message goes in at the first 64-frame block that starts at
/// or after its time, so every note starts within one block of its place. The audio runs on past
/// the file's last event until every voice has died away, with a moment more for the reverb. It
/// goes to a temporary file beside the target that takes the target's place only when complete, so
/// a failed or cancelled render leaves no partial file and an older target untouched. soundFont
/// empty: the one the live synthesiser would use.
RenderResult renderMidiToAudio(const QString &midiPath, const QString &audioPath,
                               const RenderProgress &progress = {}, QString soundFont = {});

} // namespace velmora

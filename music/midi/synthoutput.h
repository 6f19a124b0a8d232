#pragma once

#include "music/core/midimodule.h"
#include "music/core/midistate.h"

#include <QMutex>
#include <QStringList>

#include <atomic>
#include <functional>
#include <thread>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_audio_driver_t;
struct _fluid_file_renderer_t;

namespace velmora {

/// The built-in General MIDI synthesiser. It plays through the first audio
/// system that answers (PipeWire, PulseAudio, ALSA); with none it still takes
/// every message and stays silent, so the program works on a machine without
/// sound. It can also render into a WAV file or into memory instead of a
/// sound device.
///
/// Building the synthesiser and reading its SoundFont take a few hundred
/// milliseconds, so for the sound device they happen on a thread of their
/// own and open() returns at once. Until the synthesiser is ready it keeps
/// the state the messages describe (instrument, sounding keys) and then
/// plays it: a chord asked for early sounds as soon as it can.
class SynthOutput : public MidiOutput
{
public:
    enum class Sink
    {
        AudioDevice,
        /// Rendered on demand into a WAV file (render()).
        WavFile,
        /// Rendered on demand into memory (render()).
        Memory,
        /// Played in real time into a WAV file, paced like a sound device by a
        /// thread of the library's own: what a listener would hear, to measure.
        RealTimeWavFile
    };

    /// soundFont empty: the first General MIDI SoundFont found in the usual
    /// folders (see soundFontCandidates()).
    explicit SynthOutput(Sink sink = Sink::AudioDevice, QString wavPath = {},
                         QString soundFont = {});
    ~SynthOutput() override;
    SynthOutput(const SynthOutput &) = delete;
    SynthOutput &operator=(const SynthOutput &) = delete;

    /// Returns at once when loading in the background; false only when a
    /// synthesiser built here and now could not be created.
    bool open() override;
    void send(quint32 packed) override;
    /// Waits for a load in progress to end, then lets everything go.
    void close() override;
    bool isOpen() const override { return m_open; }
    QString kind() const override { return QStringLiteral("synth"); }
    /// This and the other questions about how it runs wait for a load in
    /// progress to end.
    QString errorString() const override;
    /// Whether the sound goes nowhere (no audio device) or nothing can sound
    /// (no SoundFont).
    QString inaudibleReason() const override;

    /// Whether open() leaves building and loading to a thread of its own. On
    /// by default for the sound device; the file and memory sinks load at once
    /// so that what they render is complete from the first millisecond.
    void setLoadInBackground(bool background) { m_background = background; }
    /// Runs on the loading thread before anything is built (tests hold the
    /// load back with it).
    void setBeforeLoad(std::function<void()> hook) { m_beforeLoad = std::move(hook); }
    /// True once the synthesiser plays what it is sent (or failed for good).
    bool isReady() const { return m_ready.load(std::memory_order_acquire); }
    /// Blocks until the load that open() started has ended.
    void waitUntilReady() const;

    /// The audio driver in use ("pulseaudio", "alsa", ...), empty when silent.
    QString audioDriver() const;
    QString soundFont() const { return m_soundFontPath; }

    /// File and memory sinks: advance the synthesiser by ms of sound. The
    /// memory sink returns the highest absolute sample level reached (0..1).
    float render(int ms);

    static constexpr int kSampleRate = 44100;

    /// SoundFont files to try, best first: the program folder, then the
    /// shared folders of the system and the user.
    static QStringList soundFontCandidates();
    /// The first existing candidate, or empty.
    static QString findSoundFont();

private:
    /// Builds the synthesiser, loads the SoundFont, starts the sink and plays
    /// what was asked for meanwhile. False when the synthesiser failed.
    bool build();
    void dispatch(quint32 packed);

    Sink m_sink;
    QString m_wavPath;
    QString m_soundFontPath;
    bool m_background;
    bool m_open = false;
    std::function<void()> m_beforeLoad;
    mutable std::thread m_loader;
    std::atomic<bool> m_ready{false};
    // Guards the fields the loading thread writes and the state kept until
    // it is done.
    QMutex m_mutex;
    MidiState m_pending;
    QString m_error;
    bool m_noSoundFont = false;
    QString m_driverName;
    _fluid_hashtable_t *m_settings = nullptr;
    _fluid_synth_t *m_synth = nullptr;
    _fluid_audio_driver_t *m_driver = nullptr;
    _fluid_file_renderer_t *m_renderer = nullptr;
};

} // namespace velmora

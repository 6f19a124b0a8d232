#pragma once

#include "music/core/midimodule.h"

#include <QStringList>

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

    bool open() override;
    void send(quint32 packed) override;
    void close() override;
    bool isOpen() const override { return m_synth != nullptr; }
    QString kind() const override { return QStringLiteral("synth"); }
    QString errorString() const override { return m_error; }

    /// The audio driver in use ("pulseaudio", "alsa", ...), empty when silent.
    QString audioDriver() const { return m_driverName; }
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
    Sink m_sink;
    QString m_wavPath;
    QString m_soundFontPath;
    QString m_error;
    QString m_driverName;
    _fluid_hashtable_t *m_settings = nullptr;
    _fluid_synth_t *m_synth = nullptr;
    _fluid_audio_driver_t *m_driver = nullptr;
    _fluid_file_renderer_t *m_renderer = nullptr;
};

} // namespace velmora

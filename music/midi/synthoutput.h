#pragma once

#include "music/core/clockmap.h"
#include "music/core/midimodule.h"
#include "music/core/midistate.h"

#include <QMutex>
#include <QStringList>

#include <array>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_audio_driver_t;
struct _fluid_file_renderer_t;
struct _fluid_sequencer_t;
struct _fluid_event_t;

namespace velmora {

class FluidLibrary;

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
///
/// Stamped messages are scheduled on the synthesiser's own sample clock, so
/// they sound on their stamps however late they were sent. The file and
/// memory sinks move that clock as they render.
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
    /// Through FluidSynth's sequencer, at the stamp's place on the sample clock. At once when
    /// its time has come already, while loading (kept as state), and when nothing renders, as
    /// nothing would take the events out of the queue: with no sound device, and while the
    /// sample clock has stood still for half a second of the music clock (a sound device that
    /// stopped asking for audio, a file or memory sink not rendered), when what was queued goes
    /// and the synthesiser is brought to the state it was sent.
    void sendAt(quint32 packed, std::chrono::nanoseconds due, const MusicClock &clock) override;
    /// The last stamp scheduled and the 64-frame block of the sample clock its strikes went to
    /// (counted from the synthesiser's first frame), for measuring against the audio.
    std::optional<std::pair<std::chrono::nanoseconds, qint64>> lastPlacement() const
    {
        if (!m_lastStamp)
            return std::nullopt;
        return std::make_pair(*m_lastStamp, m_lastBlock);
    }
    /// The clock the rendering thread reads the sample clock against, twenty times a second.
    void setMusicClock(const MusicClock *clock) override
    {
        m_stepClock.store(clock, std::memory_order_release);
    }
    void dropScheduled() override;
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
    /// Holds the next background load back until releaseLoad(): on a machine of few cores the
    /// window's first paint comes sooner without the library and the SoundFont being read at the
    /// same time. Anything that waits for the load releases it first; closing an output whose
    /// load was never released skips the load.
    void holdLoad() { m_holdNextLoad = true; }
    void releaseLoad() const;
    /// Runs on the loading thread before anything is built (tests hold the
    /// load back with it).
    void setBeforeLoad(std::function<void()> hook) { m_beforeLoad = std::move(hook); }
    /// The FluidSynth to build with instead of the program's own (tests give it one that could
    /// not be opened).
    void setLibrary(const FluidLibrary *library) { m_library = library; }
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
    /// Puts a message on the sequencer's queue for the sample clock's millisecond at; false
    /// when the sequencer does not take it.
    bool schedule(quint32 packed, qint64 at);

    Sink m_sink;
    QString m_wavPath;
    QString m_soundFontPath;
    bool m_background;
    bool m_open = false;
    std::function<void()> m_beforeLoad;
    mutable std::thread m_loader;
    bool m_holdNextLoad = false;
    // The gate a held load waits at, and whether the load was dropped there.
    mutable std::mutex m_gateMutex;
    mutable std::condition_variable m_gate;
    mutable bool m_released = true;
    bool m_dropped = false;
    std::atomic<bool> m_ready{false};
    // Guards the fields the loading thread writes and the state kept until
    // it is done.
    QMutex m_mutex;
    MidiState m_pending;
    QString m_error;
    bool m_noSoundFont = false;
    // FluidSynth itself could not be opened.
    bool m_unavailable = false;
    const FluidLibrary *m_library = nullptr;
    // The library the synthesiser was built with; set before anything of it exists.
    const FluidLibrary *m_fluid = nullptr;
    QString m_driverName;
    _fluid_hashtable_t *m_settings = nullptr;
    _fluid_synth_t *m_synth = nullptr;
    _fluid_audio_driver_t *m_driver = nullptr;
    _fluid_file_renderer_t *m_renderer = nullptr;
    _fluid_sequencer_t *m_sequencer = nullptr;
    short m_synthDestination = -1;

    // Readings of the sample clock the sequencer takes as a block starts, for sinks that render
    // in real time: one taken on the caller's thread lags the clock by anything up to a block.
    // Written on the rendering thread: the music clock's time and the sample clock's lead on it.
    static void stepReached(unsigned int time, _fluid_event_t *event, _fluid_sequencer_t *seq,
                            void *data);
    static void requestStep(const FluidLibrary &fluid, _fluid_sequencer_t *seq, short client,
                            unsigned int at);
    // Twenty readings a second: the clock's map is as good as the best of many, from the start.
    static constexpr unsigned int kStepEveryMs = 50;
    short m_stepClient = -1;
    // The last readings, a ring the rendering thread writes and sendAt() reads.
    static constexpr quint32 kStepRing = 32;
    std::array<std::atomic<qint64>, kStepRing> m_stepMusic{};
    std::array<std::atomic<qint64>, kStepRing> m_stepLead{};
    std::atomic<quint32> m_steps{0};
    std::atomic<const MusicClock *> m_stepClock{nullptr};
    quint32 m_stepsObserved = 0;

    // Used by sendAt() on the caller's thread only.
    ClockMap m_clockMap;
    // The last stamp and the 64-frame block of the sample clock it falls in: one stamp, one
    // place.
    std::optional<std::chrono::nanoseconds> m_lastStamp;
    qint64 m_lastBlock = 0;
    // Per channel and key, the blocks of the last note-on and note-off: a release and a strike
    // of one key in one block go in the order they were sent, which the queue does not keep.
    struct KeyBlocks
    {
        qint64 on = -1;
        qint64 off = -1;
    };
    std::array<std::array<KeyBlocks, 128>, 16> m_keyBlocks{};
    // The sample clock's last reading and the music clock's when it last moved.
    std::optional<unsigned int> m_lastTick;
    std::chrono::nanoseconds m_tickMovedAt{0};
    // True while the sample clock stands still and messages go at once.
    bool m_stalled = false;
    // What the synthesiser was sent, to bring it back to it when its queue had to go.
    MidiState m_sent;
};

} // namespace velmora

#include "music/midi/synthoutput.h"

#include "music/midi/alsaoutput.h"
#include "music/midi/fluidlibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace velmora {

namespace {

// The library reports through a global log hook; its messages go into the
// output's error text instead of the terminal.
QMutex logMutex;
QString lastLogMessage;

void quietLog(int level, const char *message, void *)
{
    if (level > FLUID_WARN)
        return;
    QMutexLocker lock(&logMutex);
    lastLogMessage = QString::fromLocal8Bit(message);
}

// Set on every build: cheap, and right for whichever library the synthesiser is built with.
void installQuietLog(const FluidLibrary &fluid)
{
    QMutexLocker lock(&logMutex);
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid.fluid_set_log_function(level, quietLog, nullptr);
}

QString takeLogMessage()
{
    QMutexLocker lock(&logMutex);
    return std::exchange(lastLogMessage, QString());
}

} // namespace

SynthOutput::SynthOutput(Sink sink, QString wavPath, QString soundFont)
    : m_sink(sink)
    , m_wavPath(std::move(wavPath))
    , m_soundFontPath(std::move(soundFont))
    , m_background(sink == Sink::AudioDevice)
{}

SynthOutput::~SynthOutput()
{
    close();
}

QStringList SynthOutput::soundFontCandidates()
{
    QStringList folders;
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath();
    for (const QString &data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        folders << data + QStringLiteral("/sounds/sf2") << data + QStringLiteral("/soundfonts");
    }
    folders << QStringLiteral("/usr/share/sounds/sf2") << QStringLiteral("/usr/share/soundfonts")
            << QStringLiteral("/usr/local/share/soundfonts");
    folders.removeDuplicates();

    // The fuller General MIDI sets first, then the small one, then any other.
    const QStringList preferred{QStringLiteral("FluidR3_GM.sf2"), QStringLiteral("default-GM.sf2"),
                                QStringLiteral("TimGM6mb.sf2")};
    QStringList files;
    for (const QString &name : preferred)
        for (const QString &folder : folders)
            files << folder + QLatin1Char('/') + name;
    // The suffixes are compared here: name filters would compile a pattern on every start.
    for (const QString &folder : folders) {
        for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
            if (name.endsWith(QLatin1String(".sf2"), Qt::CaseInsensitive) ||
                name.endsWith(QLatin1String(".sf3"), Qt::CaseInsensitive))
                files << folder + QLatin1Char('/') + name;
        }
    }
    files.removeDuplicates();
    return files;
}

QString SynthOutput::findSoundFont()
{
    for (const QString &file : soundFontCandidates()) {
        if (QFileInfo(file).isFile())
            return file;
    }
    return {};
}

bool SynthOutput::open()
{
    close();
    m_error.clear();
    m_unavailable = false;
    m_noSoundFont = false;
    m_driverName.clear();
    m_pending = MidiState();
    m_sent = MidiState();
    m_ready.store(false, std::memory_order_release);
    if (m_soundFontPath.isEmpty())
        m_soundFontPath = findSoundFont();
    m_open = true;
    if (m_background) {
        {
            std::lock_guard lock(m_gateMutex);
            m_released = !std::exchange(m_holdNextLoad, false);
            m_dropped = false;
        }
        m_loader = std::thread([this] {
            std::unique_lock lock(m_gateMutex);
            m_gate.wait(lock, [this] { return m_released; });
            if (m_dropped) {
                m_ready.store(true, std::memory_order_release);
                return;
            }
            lock.unlock();
            build();
        });
        return true;
    }
    m_open = build();
    return m_open;
}

namespace {

// The synthesiser with its instruments, before any sound goes out.
struct Instruments
{
    fluid_settings_t *settings = nullptr;
    fluid_synth_t *synth = nullptr;
    QString error;
    bool noSoundFont = false;
};

Instruments readInstruments(const FluidLibrary &fluid, SynthOutput::Sink sink,
                            const QString &wavPath, const QString &soundFont)
{
    Instruments in;
    in.settings = fluid.new_fluid_settings();
    fluid.fluid_settings_setnum(in.settings, "synth.sample-rate", SynthOutput::kSampleRate);
    fluid.fluid_settings_setnum(in.settings, "synth.gain", 0.5);
    if (sink == SynthOutput::Sink::WavFile || sink == SynthOutput::Sink::RealTimeWavFile) {
        fluid.fluid_settings_setstr(in.settings, "audio.file.name",
                                    wavPath.toLocal8Bit().constData());
        fluid.fluid_settings_setstr(in.settings, "audio.file.type", "wav");
    }
    in.synth = fluid.new_fluid_synth(in.settings);
    if (!in.synth) {
        in.error = QStringLiteral("the synthesiser could not be created: %1").arg(takeLogMessage());
        fluid.delete_fluid_settings(in.settings);
        in.settings = nullptr;
        return in;
    }
    if (soundFont.isEmpty() ||
        fluid.fluid_synth_sfload(in.synth, QFile::encodeName(soundFont).constData(), 1) ==
            FLUID_FAILED) {
        // Without instruments it still accepts messages; it just has no voice.
        in.noSoundFont = true;
        in.error = QStringLiteral("no General MIDI SoundFont found: silent");
    }
    return in;
}

} // namespace

bool SynthOutput::build()
{
    if (m_beforeLoad)
        m_beforeLoad();
    // The library is opened here, off the caller's thread, when the first synthesiser is built.
    const FluidLibrary *fluidLibrary = nullptr;
    Instruments in;
    auto read = [&] {
        fluidLibrary = m_library ? m_library : &FluidLibrary::instance();
        if (!fluidLibrary->isLoaded())
            return;
        installQuietLog(*fluidLibrary);
        in = readInstruments(*fluidLibrary, m_sink, m_wavPath, m_soundFontPath);
    };
    if (m_background) {
        // The library and the instruments are read at a low priority, so that on a busy machine
        // the window starting meanwhile keeps the processor. The sound starts back on this
        // thread, at the usual priority, which the audio thread inherits.
        std::thread reader([&] {
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
            read();
        });
        reader.join();
    } else {
        read();
    }
    const FluidLibrary &fluid = *fluidLibrary;
    if (!fluid.isLoaded()) {
        QMutexLocker lock(&m_mutex);
        m_unavailable = true;
        m_error =
            QStringLiteral("the built-in synthesiser is unavailable: %1").arg(fluid.errorString());
        m_ready.store(true, std::memory_order_release);
        return false;
    }
    m_fluid = &fluid;
    if (!in.synth) {
        QMutexLocker lock(&m_mutex);
        m_error = in.error;
        m_ready.store(true, std::memory_order_release);
        return false;
    }

    // Published under the lock: the other thread reads none of these before m_ready says so.
    QString error = in.error;
    QString driverName;
    fluid_audio_driver_t *driver = nullptr;
    fluid_file_renderer_t *renderer = nullptr;
    // The sequencer runs on the samples the synthesiser renders; it is tied to the synthesiser
    // before any sink starts rendering.
    fluid_sequencer_t *sequencer = fluid.new_fluid_sequencer2(0);
    fluid_seq_id_t destination = -1;
    if (sequencer)
        destination = fluid.fluid_sequencer_register_fluidsynth(sequencer, in.synth);
    if (m_sink == Sink::AudioDevice) {
        silenceAlsaErrors();
        for (const char *name : {"pipewire", "pulseaudio", "alsa"}) {
            if (fluid.fluid_settings_setstr(in.settings, "audio.driver", name) != FLUID_OK)
                continue;
            driver = fluid.new_fluid_audio_driver(in.settings, in.synth);
            if (driver) {
                driverName = QString::fromLatin1(name);
                break;
            }
        }
        if (!driver && error.isEmpty())
            error = QStringLiteral("no audio device: silent");
    } else if (m_sink == Sink::RealTimeWavFile) {
        fluid.fluid_settings_setstr(in.settings, "audio.driver", "file");
        driver = fluid.new_fluid_audio_driver(in.settings, in.synth);
        if (driver)
            driverName = QStringLiteral("file");
        else
            error = QStringLiteral("the file %1 could not be written").arg(m_wavPath);
    } else if (m_sink == Sink::WavFile) {
        renderer = fluid.new_fluid_file_renderer(in.synth);
        if (!renderer)
            error = QStringLiteral("the file %1 could not be written").arg(m_wavPath);
    }
    if (sequencer && (destination < 0 || (m_sink == Sink::AudioDevice && !driver))) {
        // Nothing renders without a sound device: its queue would only grow.
        fluid.delete_fluid_sequencer(sequencer);
        sequencer = nullptr;
    }
    takeLogMessage();

    short stepClient = -1;
    if (sequencer)
        stepClient = fluid.fluid_sequencer_register_client(sequencer, "velmora-clock",
                                                           &SynthOutput::stepReached, this);

    QMutexLocker lock(&m_mutex);
    m_sequencer = sequencer;
    m_synthDestination = sequencer ? destination : -1;
    m_stepClient = stepClient;
    m_steps.store(0);
    m_stepsObserved = 0;
    if (stepClient >= 0)
        requestStep(fluid, sequencer, stepClient, 0);
    m_clockMap.reset();
    m_lastStamp.reset();
    m_lastBlock = 0;
    m_keyBlocks = {};
    m_lastTick.reset();
    m_stalled = false;
    m_settings = in.settings;
    m_synth = in.synth;
    m_driver = driver;
    m_renderer = renderer;
    m_error = error;
    m_noSoundFont = in.noSoundFont;
    m_driverName = driverName;
    for (const quint32 packed : m_pending.restoreMessages())
        dispatch(packed);
    m_pending = MidiState();
    m_ready.store(true, std::memory_order_release);
    return true;
}

void SynthOutput::releaseLoad() const
{
    {
        std::lock_guard lock(m_gateMutex);
        m_released = true;
    }
    m_gate.notify_all();
}

void SynthOutput::waitUntilReady() const
{
    releaseLoad();
    if (m_loader.joinable())
        m_loader.join();
}

void SynthOutput::send(quint32 packed)
{
    if (!m_open)
        return;
    m_sent.apply(packed);
    if (!isReady()) {
        QMutexLocker lock(&m_mutex);
        // Checked again under the lock: the loader may have finished meanwhile.
        if (!isReady()) {
            m_pending.apply(packed);
            return;
        }
    }
    dispatch(packed);
}

void SynthOutput::dispatch(quint32 packed)
{
    if (!m_synth)
        return;
    const auto [status, channel, data1, data2] = unpackShortMessage(packed);
    switch (status) {
    case kNoteOn:
        m_fluid->fluid_synth_noteon(m_synth, channel, data1, data2);
        break;
    case kNoteOff:
        m_fluid->fluid_synth_noteoff(m_synth, channel, data1);
        break;
    case kControlChange:
        m_fluid->fluid_synth_cc(m_synth, channel, data1, data2);
        break;
    case kProgramChange:
        m_fluid->fluid_synth_program_change(m_synth, channel, data1);
        break;
    default:
        break;
    }
}

QString SynthOutput::errorString() const
{
    waitUntilReady();
    return m_error;
}

QString SynthOutput::audioDriver() const
{
    waitUntilReady();
    return m_driverName;
}

QString SynthOutput::inaudibleReason() const
{
    if (!m_open)
        return {};
    waitUntilReady();
    if (m_unavailable)
        return QStringLiteral("No sound: the built-in synthesiser's library is not installed; "
                              "install the package libfluidsynth3, or choose the ALSA sequencer "
                              "port under File > Sound output.");
    if (!m_synth)
        return QStringLiteral("No sound: the built-in synthesiser could not start; choose the "
                              "ALSA sequencer port under File > Sound output.");
    if (m_noSoundFont)
        return QStringLiteral("No sound: the built-in synthesiser has no General MIDI SoundFont; "
                              "install the package timgm6mb-soundfont or fluid-soundfont-gm.");
    if (m_sink == Sink::AudioDevice && !m_driver)
        return QStringLiteral("No sound: the built-in synthesiser found no audio device; start "
                              "PipeWire or PulseAudio, or choose another output under File > "
                              "Sound output.");
    return {};
}

float SynthOutput::render(int ms)
{
    // Before the synthesiser is ready there is nothing to render yet.
    if (!isReady() || !m_synth || ms <= 0)
        return 0.0f;
    const int frames = static_cast<int>(static_cast<qint64>(ms) * kSampleRate / 1000);
    if (m_sink == Sink::WavFile) {
        if (!m_renderer)
            return 0.0f;
        int period = 64;
        m_fluid->fluid_settings_getint(m_settings, "audio.period-size", &period);
        for (int done = 0; done < frames; done += period)
            m_fluid->fluid_file_renderer_process_block(m_renderer);
        return 0.0f;
    }
    if (m_sink != Sink::Memory)
        return 0.0f;
    std::vector<float> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
    m_fluid->fluid_synth_write_float(m_synth, frames, left.data(), 0, 1, right.data(), 0, 1);
    float peak = 0.0f;
    for (size_t i = 0; i < left.size(); ++i)
        peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    return peak;
}

void SynthOutput::close()
{
    // A load still held back is dropped; one in progress cannot be interrupted and ends within a
    // moment.
    {
        std::lock_guard lock(m_gateMutex);
        if (!m_released) {
            m_released = true;
            m_dropped = true;
        }
    }
    waitUntilReady();
    m_open = false;
    m_ready.store(false, std::memory_order_release);
    if (m_driver) {
        m_fluid->delete_fluid_audio_driver(m_driver);
        m_driver = nullptr;
    }
    if (m_renderer) {
        m_fluid->delete_fluid_file_renderer(m_renderer);
        m_renderer = nullptr;
    }
    // Nothing renders any more: what is still scheduled goes with the sequencer.
    if (m_sequencer) {
        m_fluid->delete_fluid_sequencer(m_sequencer);
        m_sequencer = nullptr;
        m_synthDestination = -1;
        m_stepClient = -1;
    }
    if (m_synth) {
        m_fluid->delete_fluid_synth(m_synth);
        m_synth = nullptr;
    }
    if (m_settings) {
        m_fluid->delete_fluid_settings(m_settings);
        m_settings = nullptr;
    }
    m_driverName.clear();
}

} // namespace velmora

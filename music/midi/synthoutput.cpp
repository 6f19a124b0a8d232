#include "music/midi/synthoutput.h"

#include "music/midi/alsaoutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

#include <cmath>
#include <fluidsynth.h>
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

void installQuietLog()
{
    static const bool installed = [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, quietLog, nullptr);
        return true;
    }();
    Q_UNUSED(installed);
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
    for (const QString &folder : folders) {
        const QStringList others = QDir(folder).entryList(
            {QStringLiteral("*.sf2"), QStringLiteral("*.sf3")}, QDir::Files, QDir::Name);
        for (const QString &name : others)
            files << folder + QLatin1Char('/') + name;
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
    installQuietLog();
    m_error.clear();
    m_driverName.clear();

    m_settings = new_fluid_settings();
    fluid_settings_setnum(m_settings, "synth.sample-rate", kSampleRate);
    fluid_settings_setnum(m_settings, "synth.gain", 0.5);
    if (m_sink == Sink::WavFile || m_sink == Sink::RealTimeWavFile) {
        fluid_settings_setstr(m_settings, "audio.file.name", m_wavPath.toLocal8Bit().constData());
        fluid_settings_setstr(m_settings, "audio.file.type", "wav");
    }
    m_synth = new_fluid_synth(m_settings);
    if (!m_synth) {
        m_error = QStringLiteral("the synthesiser could not be created: %1").arg(takeLogMessage());
        delete_fluid_settings(m_settings);
        m_settings = nullptr;
        return false;
    }

    if (m_soundFontPath.isEmpty())
        m_soundFontPath = findSoundFont();
    if (m_soundFontPath.isEmpty() ||
        fluid_synth_sfload(m_synth, QFile::encodeName(m_soundFontPath).constData(), 1) ==
            FLUID_FAILED) {
        // Without instruments it still accepts messages; it just has no voice.
        m_error = QStringLiteral("no General MIDI SoundFont found: silent");
    }

    if (m_sink == Sink::AudioDevice) {
        silenceAlsaErrors();
        for (const char *driver : {"pipewire", "pulseaudio", "alsa"}) {
            if (fluid_settings_setstr(m_settings, "audio.driver", driver) != FLUID_OK)
                continue;
            m_driver = new_fluid_audio_driver(m_settings, m_synth);
            if (m_driver) {
                m_driverName = QString::fromLatin1(driver);
                break;
            }
        }
        if (!m_driver && m_error.isEmpty())
            m_error = QStringLiteral("no audio device: silent");
    } else if (m_sink == Sink::RealTimeWavFile) {
        fluid_settings_setstr(m_settings, "audio.driver", "file");
        m_driver = new_fluid_audio_driver(m_settings, m_synth);
        if (m_driver)
            m_driverName = QStringLiteral("file");
        else
            m_error = QStringLiteral("the file %1 could not be written").arg(m_wavPath);
    } else if (m_sink == Sink::WavFile) {
        m_renderer = new_fluid_file_renderer(m_synth);
        if (!m_renderer)
            m_error = QStringLiteral("the file %1 could not be written").arg(m_wavPath);
    }
    takeLogMessage();
    return true;
}

void SynthOutput::send(quint32 packed)
{
    if (!m_synth)
        return;
    const int status = static_cast<int>(packed & 0xF0u);
    const int channel = static_cast<int>(packed & 0x0Fu);
    const int data1 = static_cast<int>((packed >> 8) & 0x7Fu);
    const int data2 = static_cast<int>((packed >> 16) & 0x7Fu);
    switch (status) {
    case kNoteOn:
        fluid_synth_noteon(m_synth, channel, data1, data2);
        break;
    case kNoteOff:
        fluid_synth_noteoff(m_synth, channel, data1);
        break;
    case kControlChange:
        fluid_synth_cc(m_synth, channel, data1, data2);
        break;
    case kProgramChange:
        fluid_synth_program_change(m_synth, channel, data1);
        break;
    default:
        break;
    }
}

float SynthOutput::render(int ms)
{
    if (!m_synth || ms <= 0)
        return 0.0f;
    const int frames = static_cast<int>(static_cast<qint64>(ms) * kSampleRate / 1000);
    if (m_sink == Sink::WavFile) {
        if (!m_renderer)
            return 0.0f;
        int period = 64;
        fluid_settings_getint(m_settings, "audio.period-size", &period);
        for (int done = 0; done < frames; done += period)
            fluid_file_renderer_process_block(m_renderer);
        return 0.0f;
    }
    if (m_sink != Sink::Memory)
        return 0.0f;
    std::vector<float> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
    fluid_synth_write_float(m_synth, frames, left.data(), 0, 1, right.data(), 0, 1);
    float peak = 0.0f;
    for (size_t i = 0; i < left.size(); ++i)
        peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    return peak;
}

void SynthOutput::close()
{
    if (m_driver) {
        delete_fluid_audio_driver(m_driver);
        m_driver = nullptr;
    }
    if (m_renderer) {
        delete_fluid_file_renderer(m_renderer);
        m_renderer = nullptr;
    }
    if (m_synth) {
        delete_fluid_synth(m_synth);
        m_synth = nullptr;
    }
    if (m_settings) {
        delete_fluid_settings(m_settings);
        m_settings = nullptr;
    }
    m_driverName.clear();
}

} // namespace velmora

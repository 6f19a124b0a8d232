#include "music/midi/audiorender.h"

#include "music/core/midifile.h"
#include "music/midi/fluidlibrary.h"
#include "music/midi/synthoutput.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <optional>

namespace velmora {

namespace {

using std::chrono::nanoseconds;

constexpr int kRate = SynthOutput::kSampleRate;

// Render past the last event while voices still sound, but never longer than this: a voice that
// never ends must not keep the render going.
constexpr qint64 kMaxTailFrames = qint64(kRate) * 20;
// After the last voice, the reverb still rings a little.
constexpr qint64 kReverbFrames = kRate / 2;

// Everything FluidSynth needs for one render, released in the right order on every path.
struct Engine
{
    const FluidLibrary &fl;
    fluid_settings_t *settings = fl.new_fluid_settings();
    fluid_synth_t *synth = nullptr;
    fluid_file_renderer_t *renderer = nullptr;

    explicit Engine(const FluidLibrary &library)
        : fl(library)
    {}
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;
    ~Engine()
    {
        if (renderer)
            fl.delete_fluid_file_renderer(renderer);
        if (synth)
            fl.delete_fluid_synth(synth);
        fl.delete_fluid_settings(settings);
    }
};

const char *sndfileType(AudioFileType type)
{
    switch (type) {
    case AudioFileType::Flac:
        return "flac";
    case AudioFileType::Ogg:
        return "oga";
    case AudioFileType::Wav:
    case AudioFileType::Unknown:
        break;
    }
    return "wav";
}

// One channel message to the synthesiser, as a MIDI file holds it.
void play(const FluidLibrary &fl, fluid_synth_t *synth, quint32 packed)
{
    const auto [status, channel, data1, data2] = unpackShortMessage(packed);
    switch (status) {
    case 0x80:
        fl.fluid_synth_noteoff(synth, channel, data1);
        break;
    case 0x90:
        if (data2 == 0)
            fl.fluid_synth_noteoff(synth, channel, data1);
        else
            fl.fluid_synth_noteon(synth, channel, data1, data2);
        break;
    case 0xA0:
        fl.fluid_synth_key_pressure(synth, channel, data1, data2);
        break;
    case 0xB0:
        fl.fluid_synth_cc(synth, channel, data1, data2);
        break;
    case 0xC0:
        fl.fluid_synth_program_change(synth, channel, data1);
        break;
    case 0xD0:
        fl.fluid_synth_channel_pressure(synth, channel, data1);
        break;
    case 0xE0:
        fl.fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7));
        break;
    default:
        break;
    }
}

RenderResult failure(QString why)
{
    RenderResult r;
    r.error = std::move(why);
    return r;
}

} // namespace

AudioFileType audioFileTypeOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("wav"))
        return AudioFileType::Wav;
    if (suffix == QLatin1String("flac"))
        return AudioFileType::Flac;
    if (suffix == QLatin1String("ogg") || suffix == QLatin1String("oga"))
        return AudioFileType::Ogg;
    return AudioFileType::Unknown;
}

RenderResult renderMidiToAudio(const QString &midiPath, const QString &audioPath,
                               const RenderProgress &progress, QString soundFont)
{
    QElapsedTimer wall;
    wall.start();
    const AudioFileType type = audioFileTypeOf(audioPath);
    if (type == AudioFileType::Unknown)
        return failure(QStringLiteral("Choose an audio file ending in .wav, .flac or .ogg."));

    QFile in(midiPath);
    if (!in.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("%1 cannot be read: %2").arg(midiPath, in.errorString()));
    const QByteArray midi = in.readAll();
    const std::optional<MidiFileContents> contents = readMidiFile(midi);
    if (!contents)
        return failure(QStringLiteral("%1 is not a Standard MIDI File.").arg(midiPath));

    const FluidLibrary &fluid = FluidLibrary::instance();
    if (!fluid.isLoaded())
        return failure(QStringLiteral("The built-in synthesiser is unavailable (%1); install the "
                                      "package libfluidsynth3 to render.")
                           .arg(fluid.errorString()));
    if (soundFont.isEmpty())
        soundFont = SynthOutput::findSoundFont();
    if (soundFont.isEmpty())
        return failure(QStringLiteral("No General MIDI SoundFont is installed to play it with."));
    if (const auto why = checkWritable(audioPath))
        return failure(QStringLiteral("%1 cannot be written: %2").arg(audioPath, *why));

    // The audio goes to a hidden file beside the target first.
    const QFileInfo target(audioPath);
    QString partPath;
    {
        QTemporaryFile part(target.dir().filePath(
            QStringLiteral(".%1.XXXXXX.%2").arg(target.completeBaseName(), target.suffix())));
        part.setAutoRemove(false);
        if (!part.open())
            return failure(
                QStringLiteral("%1 cannot be written: %2").arg(audioPath, part.errorString()));
        partPath = part.fileName();
    }
    auto discard = [&](RenderResult r) {
        QFile::remove(partPath);
        return r;
    };

    RenderResult result;
    {
        Engine e(fluid);
        fluid.fluid_settings_setnum(e.settings, "synth.sample-rate", kRate);
        // The live synthesiser's level, so a render sounds as the page did.
        fluid.fluid_settings_setnum(e.settings, "synth.gain", 0.5);
        fluid.fluid_settings_setint(e.settings, "synth.lock-memory", 0);
        fluid.fluid_settings_setstr(e.settings, "audio.file.name",
                                    QFile::encodeName(partPath).constData());
        fluid.fluid_settings_setstr(e.settings, "audio.file.type", sndfileType(type));
        fluid.fluid_settings_setstr(e.settings, "audio.file.format", "s16");
        e.synth = fluid.new_fluid_synth(e.settings);
        if (!e.synth)
            return discard(failure(QStringLiteral("The synthesiser could not be started.")));
        if (fluid.fluid_synth_sfload(e.synth, QFile::encodeName(soundFont).constData(), 1) ==
            FLUID_FAILED)
            return discard(
                failure(QStringLiteral("The SoundFont %1 could not be loaded.").arg(soundFont)));
        e.renderer = fluid.new_fluid_file_renderer(e.synth);
        if (!e.renderer)
            return discard(failure(QStringLiteral("%1 cannot be written.").arg(audioPath)));

        int period = 64;
        fluid.fluid_settings_getint(e.settings, "audio.period-size", &period);
        const qint64 midiFrames = contents->length.count() * kRate / 1'000'000'000;
        // The share done counts the tail as one second more.
        const double expected = double(midiFrames + kRate);
        qint64 frames = 0;
        int blocks = 0;
        size_t next = 0;
        const auto &messages = contents->messages;
        // Every message due by the start of a block goes in before it is rendered, so each
        // sounds at the first block boundary at or after its time.
        auto block = [&]() -> bool {
            const double now = double(frames) * 1e9 / kRate;
            for (; next < messages.size() && double(messages[next].time.count()) <= now; ++next)
                play(e.fl, e.synth, messages[next].packed);
            if (fluid.fluid_file_renderer_process_block(e.renderer) != FLUID_OK)
                return false;
            frames += period;
            return true;
        };
        auto goOn = [&] {
            if (!progress || ++blocks % 256 != 0)
                return true;
            return progress(std::min(1.0, double(frames) / expected));
        };
        while (next < messages.size() || frames < midiFrames) {
            if (!block())
                return discard(failure(QStringLiteral("Writing %1 failed.").arg(audioPath)));
            if (!goOn()) {
                result.cancelled = true;
                return discard(result);
            }
        }
        auto tailBlock = [&]() -> std::optional<RenderResult> {
            if (!block())
                return failure(QStringLiteral("Writing %1 failed.").arg(audioPath));
            if (!goOn()) {
                RenderResult cancelled;
                cancelled.cancelled = true;
                return cancelled;
            }
            return std::nullopt;
        };
        for (qint64 tail = 0;
             e.fl.fluid_synth_get_active_voice_count(e.synth) > 0 && tail < kMaxTailFrames;
             tail += period) {
            if (auto stop = tailBlock())
                return discard(*stop);
        }
        for (qint64 reverb = 0; reverb < kReverbFrames; reverb += period) {
            if (auto stop = tailBlock())
                return discard(*stop);
        }
        result.audioLength = nanoseconds(frames * 1'000'000'000 / kRate);
        result.midiLength = contents->length;
    }
    // The renderer is closed: the file is complete.
    if (QFileInfo::exists(audioPath) && !QFile::remove(audioPath))
        return discard(failure(QStringLiteral("%1 could not be replaced.").arg(audioPath)));
    if (!QFile::rename(partPath, audioPath))
        return discard(failure(QStringLiteral("%1 could not be written.").arg(audioPath)));
    result.ok = true;
    result.wallTime = nanoseconds(wall.nsecsElapsed());
    if (progress)
        progress(1.0);
    return result;
}

} // namespace velmora
